// The corpus the engine benchmarks share: typical engineering expressions of 20 to 60
// characters, one per line of data/typical.txt, and the variables they read.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "engine/VariableList.h"

namespace tallyon {

inline std::vector<std::string> TypicalLines() {
    std::vector<std::string> lines;
    std::ifstream file(TALLYON_BENCH_DATA "/typical.txt");
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

// The variables and user functions the typical lines read.
inline void FillTypicalVariables(TVariableList& variables) {
    variables.Set("R1", "2.2K");
    variables.Set("C1", "100N");
    variables.Set("X", "4");
    variables.Set("Y", "2");
    variables.Set("VCC", "5");
    variables.Set("TAU", "0.22");
    variables.Set("ARR", "1,2.5,4,8,16");
    variables.Set("F(X)", "X*2+1");
    variables.Set("G(A,B)", "A^2-B");
    variables.Set("HYP(A,B)", "SQRT(A^2+B^2)");
}

}  // namespace tallyon
