// tallyon-bench-lines: writes the benchmark document in three syntaxes.
//
//   tallyon-bench-lines COUNT plain|assign TALLYON_FILE CALC_FILE BC_FILE
//
// The Tallyon document has CR LF line breaks as saved documents do; the calc and bc files
// have LF.
#include <fstream>
#include <iostream>
#include <string>

#include "BenchLines.h"

using namespace tallyon;

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr
            << "usage: tallyon-bench-lines COUNT plain|assign TALLYON_FILE CALC_FILE BC_FILE\n";
        return 2;
    }
    const int count = std::stoi(argv[1]);
    const bool assignments = std::string(argv[2]) == "assign";
    std::ofstream tallyon(argv[3], std::ios::binary);
    std::ofstream calc(argv[4], std::ios::binary);
    std::ofstream bc(argv[5], std::ios::binary);
    for (const TBenchLine& line : GenerateBenchLines(count, assignments)) {
        tallyon << line.Tallyon << "\r\n";
        calc << line.Calc << "\n";
        bc << line.Bc << "\n";
    }
    bc << "quit\n";
    return tallyon && calc && bc ? 0 : 1;
}
