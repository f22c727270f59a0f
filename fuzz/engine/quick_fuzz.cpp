// Fuzzes the quick path of the calculation against the stages. Each line of the input is
// calculated twice from the same variables: once by a component that takes the quick path
// for plain arithmetic, and once by one that always runs the stages (scan, define or bind,
// reduce). Both must leave the same things behind for a host to see: the value to the bit,
// the error code, the result text, the variables, the assignment notices and the message of
// a raised error. Lines that draw random numbers are calculated but not compared, since
// each draw moves the sequence on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

struct TOutcome {
    std::string raised;
    std::uint64_t valueBits = 0;
    TErrorCode errorCode = TErrorCode::None;
    std::string resultText;
    std::vector<std::string> variables;
    std::vector<std::string> notices;
    bool operator==(const TOutcome&) const = default;
};

TVariableList StartingVariables() {
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

TOutcome Calculate(TTinyParser& parser, const std::string& expression) {
    static const TVariableList initial = StartingVariables();
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

bool DrawsRandomNumbers(std::string_view line) {
    std::string folded(line);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded.find("RND") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // One component per path for the whole run, with the call bounds lowered as in the
    // engine harness so that runaway definitions stop after a few calls.
    static TTinyParser quick, staged;
    static const bool bounded = [] {
        quick.SetCallBounds(5, 8 * TTinyParser::kCallCost);
        staged.SetCallBounds(5, 8 * TTinyParser::kCallCost);
        staged.SetQuickPath(false);
        return true;
    }();
    (void)bounded;
    std::size_t begin = 0;
    for (int line = 0; line < 4 && begin <= input.size(); ++line) {
        std::size_t end = input.find('\n', begin);
        if (end == std::string_view::npos) end = input.size();
        const std::string expression(input.substr(begin, end - begin));
        const TOutcome fast = Calculate(quick, expression);
        const TOutcome slow = Calculate(staged, expression);
        if (!DrawsRandomNumbers(expression) && !(fast == slow)) std::abort();
        begin = end + 1;
    }
    return 0;
}
