// Generated calculation lines for the benchmarks: typical engineering expressions (decimal
// numbers without suffixes, + - * / ^, brackets, SIN, LN, EXP, SQRT), each written in the
// syntax of three calculators so that they can be timed on the same work.
//
// The generator is deterministic: the same seed gives the same lines on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tallyon {

struct TBenchLine {
    std::string Tallyon;  // as typed into a Tallyon document
    std::string Calc;     // for "calc -f"
    std::string Bc;       // for "bc -l"
};

// `count` lines. With `assignments`, every other line assigns its value to one of a hundred
// variables (v0 to v99) and the lines in between reuse variables assigned before; the calc
// and bc forms of an assignment print its value as Tallyon's answer does. Reusing lines
// use only the function-free shapes, so every value stays finite and real.
std::vector<TBenchLine> GenerateBenchLines(int count, bool assignments, std::uint32_t seed = 1);

}  // namespace tallyon
