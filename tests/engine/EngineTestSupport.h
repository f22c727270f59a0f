// Helpers shared by the engine's tests: readable error codes in failure messages, short names
// for them in case tables, and test names made from a row's behaviour sentence.
#pragma once

#include <cctype>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/TinyParseEngine.h"

namespace tallyon {

// Lets GoogleTest print an error code by its meaning instead of its bytes.
inline void PrintTo(TErrorCode code, std::ostream* out) {
    switch (code) {
        case TErrorCode::None:
            *out << "None";
            return;
        case TErrorCode::OperationFailed:
            *out << "OperationFailed";
            return;
        case TErrorCode::MissingOperand:
            *out << "MissingOperand";
            return;
    }
    *out << "TErrorCode(" << static_cast<int>(code) << ")";
}

namespace test {

inline constexpr TErrorCode kOk = TErrorCode::None;
inline constexpr TErrorCode kFailed = TErrorCode::OperationFailed;
inline constexpr TErrorCode kMissing = TErrorCode::MissingOperand;

// A test name from a behaviour sentence: each word capitalised, everything but letters and
// digits dropped ("a missing operand: 3*" -> "AMissingOperand3").
inline std::string CaseName(std::string_view behaviour) {
    std::string name;
    bool wordStart = true;
    for (const char c : behaviour) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) == 0 || byte >= 0x80) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(byte)) : c;
        wordStart = false;
    }
    return name;
}

// The name generator of INSTANTIATE_TEST_SUITE_P for rows that carry a `behaviour`.
inline constexpr auto BehaviourName = [](const auto& info) {
    return CaseName(info.param.behaviour);
};

}  // namespace test
}  // namespace tallyon
