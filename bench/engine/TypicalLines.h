// The corpus the engine benchmarks share: typical engineering expressions of 20 to 60
// characters, one per line of data/typical.txt.
#pragma once

#include <fstream>
#include <string>
#include <vector>

inline std::vector<std::string> TypicalLines() {
    std::vector<std::string> lines;
    std::ifstream file(TALLYON_BENCH_DATA "/typical.txt");
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}
