// The benchmark line generator: a small linear congruential generator picks one of a fixed
// set of expression shapes and fills it with decimal numbers.
#include "BenchLines.h"

#include <algorithm>
#include <array>
#include <functional>

namespace tallyon {

namespace {

constexpr int kVariableCount = 100;

class TRandom {
public:
    explicit TRandom(std::uint32_t seed) : State_(seed) {}
    std::uint32_t Next(std::uint32_t bound) {
        State_ = State_ * 1664525u + 1013904223u;
        return (State_ >> 8) % bound;
    }

private:
    std::uint32_t State_;
};

// A decimal number from 0.01 to 99.99 as text, the same in all three syntaxes.
std::string Number(TRandom& random) {
    const std::uint32_t hundredths = 1 + random.Next(9999);
    std::string text = std::to_string(hundredths / 100) + ".";
    const std::uint32_t fraction = hundredths % 100;
    if (fraction < 10) text += '0';
    return text + std::to_string(fraction);
}

// The function names of one syntax.
struct TSyntax {
    const char* Sin;
    const char* Ln;
    const char* Exp;
    const char* Sqrt;
};

constexpr TSyntax kTallyon{"SIN", "LN", "EXP", "SQRT"};
constexpr TSyntax kCalc{"sin", "ln", "exp", "sqrt"};
constexpr TSyntax kBc{"s", "l", "e", "sqrt"};

using TShape = std::function<std::string(const TSyntax&, const std::array<std::string, 4>&)>;

// The expression shapes; x holds four operands.
const std::array<TShape, 8>& Shapes() {
    static const std::array<TShape, 8> shapes{{
        [](const TSyntax&, const auto& x) { return x[0] + "*" + x[1] + "+" + x[2]; },
        [](const TSyntax&, const auto& x) {
            return "(" + x[0] + "+" + x[1] + ")/(" + x[2] + "+" + x[3] + ")";
        },
        [](const TSyntax&, const auto& x) { return x[0] + "^2-" + x[1] + "*" + x[2]; },
        [](const TSyntax& s, const auto& x) {
            return std::string(s.Sin) + "(" + x[0] + ")*" + x[1] + "+" + x[2];
        },
        [](const TSyntax& s, const auto& x) {
            return std::string(s.Ln) + "(" + x[0] + ")+" + s.Sqrt + "(" + x[1] + ")";
        },
        [](const TSyntax& s, const auto& x) {
            return std::string(s.Exp) + "(" + x[0] + "/10)*(" + x[1] + "-" + x[2] + ")";
        },
        [](const TSyntax&, const auto& x) {
            return "(" + x[0] + "-" + x[1] + ")^3/(" + x[2] + "+" + x[3] + ")";
        },
        [](const TSyntax& s, const auto& x) {
            return std::string(s.Sqrt) + "(" + x[0] + "*" + x[1] + ")/(" + x[2] + "+1)";
        },
    }};
    return shapes;
}

std::string VariableName(int index) {
    std::string name(1, 'v');
    name.append(std::to_string(index));
    return name;
}

// The shapes without functions, whose operands may be any finite value.
constexpr std::array<std::size_t, 4> kArithmeticShapes{0, 1, 2, 6};

}  // namespace

std::vector<TBenchLine> GenerateBenchLines(int count, bool assignments, std::uint32_t seed) {
    TRandom random(seed);
    std::vector<TBenchLine> lines;
    lines.reserve(count);
    int assigned = 0;  // variables assigned so far (at most kVariableCount distinct)
    for (int i = 0; i < count; ++i) {
        std::array<std::string, 4> x;
        for (std::string& operand : x)
            operand = Number(random);
        std::size_t shapeIndex = random.Next(Shapes().size());
        if (assignments && i % 2 == 1 && assigned > 0) {
            // Reuse: two earlier variables in one of the arithmetic shapes, which keep every
            // value finite and real in all three calculators.
            shapeIndex = kArithmeticShapes[random.Next(kArithmeticShapes.size())];
            x[0] = VariableName(random.Next(std::min(assigned, kVariableCount)));
            x[2] = VariableName(random.Next(std::min(assigned, kVariableCount)));
        }
        const TShape& shape = Shapes()[shapeIndex];
        TBenchLine line{shape(kTallyon, x), shape(kCalc, x), shape(kBc, x)};
        if (assignments && i % 2 == 0) {
            const std::string name = VariableName(assigned % kVariableCount);
            ++assigned;
            line.Tallyon = name + ":=" + line.Tallyon;
            line.Calc = name + " = " + line.Calc + "; " + name;
            line.Bc = "(" + name + " = " + line.Bc + ")";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tallyon
