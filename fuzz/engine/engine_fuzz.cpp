// Fuzzes the engine with arbitrary bytes.
//
// The input is split at line breaks into expressions that run in sequence on one component,
// so assignments and definitions made by one line feed the later ones. The variables list
// starts with scalars, arrays, a frequency, a value that does not read, and user functions
// that call each other, some of them recursively. A number text that does not read may be
// raised to the caller (as the host expects); anything else that escapes, any crash, leak,
// undefined behaviour or slow input is a finding.
//
// The call bounds are lowered far below the production ones: a runaway definition then
// fails after a few calls instead of thousands, so inputs that reach a bound cost
// about as much as any other and the fuzzer spends its time on new code, not on repeating
// one recursion. The seed corpus holds an input for each bound (depth, work, list search).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

void FillVariables(TVariableList& variables) {
    variables.Set("X", "3");
    variables.Set("K", "4.7K");
    variables.Set("NEG", "-2.5");
    variables.Set("A", "1,2,3");
    variables.Set("Q", "\"1 2\",5,\"x\"\"y\"");
    variables.Set("_F", "1K");
    variables.Set("ANS", "42");
    variables.Set("F(X)", "X*2");
    variables.Set("G(A,B)", "A-B+F(B)");
    variables.Set("AREA(R)", "PI*R^2");
    variables.Set("E(I)", "A[I]");
    variables.Set("REC(X)", "REC(X-1)+1");
    variables.Set("FACT(N)", "IF(N,N*FACT(N-1),1)");
    variables.Set("PING(X)", "PONG(X)+1");
    variables.Set("PONG(X)", "PING(X)*2");
    variables.Set("TWO(X)", "F(X)+F(X)");
    variables.Set("SET(X)", "Y:=X");
}

// Deep enough for every seed definition to run a few levels, small enough to be reached
// after a handful of calls; the budget allows about 8 calls of the shortest bodies. Each
// bound has a seed that reaches it alone (bound-depth, bound-work).
constexpr int kFuzzCallDepth = 5;
constexpr long kFuzzCallBudget = 8 * TTinyParser::kCallCost;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Every input starts from a copy of the same list, which costs less than filling it.
    static const TVariableList initial = [] {
        TVariableList list;
        FillVariables(list);
        return list;
    }();
    TVariableList variables = initial;
    // One component for the whole run: building its operator table costs more than most
    // inputs. A calculation starts from the expression and the list alone (only the random
    // generator carries over), so inputs stay independent.
    static TTinyParser& parser = []() -> TTinyParser& {
        static TTinyParser component;
        component.SetCallBounds(kFuzzCallDepth, kFuzzCallBudget);
        component.SetOnSubstitute([](TTinyParser&, std::string& name, std::string&, int idx) {
            if (name == "_CLIP" && idx == 3) throw std::runtime_error("handler refuses");
        });
        return component;
    }();
    parser.SetVariables(&variables);

    // Eight lines are enough for definitions, calls and assignments to meet; more only make
    // each input slower.
    size_t begin = 0;
    for (int line = 0; line < 8 && begin <= input.size(); ++line) {
        size_t end = input.find('\n', begin);
        if (end == std::string_view::npos) end = input.size();
        parser.SetExpression(std::string(input.substr(begin, end - begin)));
        try {
            const double value = parser.ResultValue();
            if (!std::isfinite(value)) std::abort();
            const TErrorCode code = parser.ErrorCode();
            if (code != TErrorCode::None && code != TErrorCode::OperationFailed &&
                code != TErrorCode::MissingOperand) {
                std::abort();
            }
        } catch (const EConvertError&) {
            // A number text that does not read: the host reports it.
        } catch (const EMathError&) {
            // A numeric token or a variable beyond the double range.
        }
        begin = end + 1;
    }
    parser.SetVariables(nullptr);
    return 0;
}
