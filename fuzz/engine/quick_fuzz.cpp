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
#include <string>
#include <string_view>

#include "engine/CalculationOutcome.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

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
    static const TVariableList initial = StartingVariables();
    std::size_t begin = 0;
    for (int line = 0; line < 4 && begin <= input.size(); ++line) {
        std::size_t end = input.find('\n', begin);
        if (end == std::string_view::npos) end = input.size();
        const std::string expression(input.substr(begin, end - begin));
        const TOutcome fast = CalculateOutcome(quick, initial, expression);
        const TOutcome slow = CalculateOutcome(staged, initial, expression);
        if (!DrawsRandomNumbers(expression) && !(fast == slow)) std::abort();
        begin = end + 1;
    }
    return 0;
}
