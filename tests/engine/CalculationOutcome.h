// What a calculation leaves behind that a host can see, for comparing the quick path of the
// calculation with the stages alone (the quick-path test and its fuzzer share it).
#pragma once

#include <cstdint>
#include <cstring>
#include <exception>
#include <ostream>
#include <string>
#include <vector>

#include "engine/TinyParseEngine.h"

namespace tallyon {

struct TOutcome {
    std::string raised;  // the message of a raised error, empty when none
    std::uint64_t valueBits = 0;
    TErrorCode errorCode = TErrorCode::None;
    std::string resultText;
    std::vector<std::string> variables;
    std::vector<std::string> notices;  // one "NAME=value@index" per assignment notice
    bool operator==(const TOutcome&) const = default;
};

inline void PrintTo(const TOutcome& o, std::ostream* out) {
    *out << "raised '" << o.raised << "' value " << o.valueBits << " code "
         << static_cast<int>(o.errorCode) << " text '" << o.resultText << "' vars";
    for (const std::string& line : o.variables)
        *out << " " << line;
    for (const std::string& notice : o.notices)
        *out << " notice " << notice;
}

// Scalars, an array, a value that does not read, one beyond the double range, a frequency
// and a user function.
inline TVariableList StartingVariables() {
    TVariableList variables;
    variables.Set("X", "2.5");
    variables.Set("Y1", "-4");
    variables.Set("ANS", "7");
    variables.Set("A", "1,2,3");
    variables.Set("BAD", "abc");
    variables.Set("HUGE", "1E400");
    variables.Set("_F", "50");
    variables.Set("F(X)", "X*2");
    return variables;
}

// Calculates `expression` on `parser` (whose quick-path switch the caller has set) over a
// copy of `initial`.
inline TOutcome CalculateOutcome(TTinyParser& parser, const TVariableList& initial,
                                 const std::string& expression) {
    TVariableList variables = initial;
    TOutcome outcome;
    parser.SetVariables(&variables);
    parser.SetOnSubstitute([&](TTinyParser&, std::string& name, std::string& value, int index) {
        outcome.notices.push_back(name + "=" + value + "@" + std::to_string(index));
    });
    parser.SetExpression(expression);
    double value = 0;
    try {
        value = parser.ResultValue();
        outcome.resultText = parser.ResultText();
    } catch (const std::exception& e) {
        outcome.raised = e.what();
    }
    std::memcpy(&outcome.valueBits, &value, sizeof value);
    outcome.errorCode = parser.ErrorCode();
    outcome.variables = variables.Lines();
    parser.SetOnSubstitute(nullptr);
    parser.SetVariables(nullptr);
    return outcome;
}

}  // namespace tallyon
