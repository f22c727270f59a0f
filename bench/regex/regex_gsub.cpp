// A sed-like filter for the benchmark comparison: regex_gsub PATTERN REPLACEMENT reads
// standard input, replaces every match in UTF-8 mode and writes standard output; with
// --make-text BYTES it writes the benchmark text instead. The whole input is one text, so
// line breaks are ordinary characters to the pattern.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include <sys/stat.h>

#include "BenchText.h"
#include "regex/DfaRegExp.h"

using namespace tallyon;

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc == 3 && std::string(argv[1]) == "--make-text") {
        const std::string text = MakeBenchText(std::strtoull(argv[2], nullptr, 10));
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        return 0;
    }
    if (argc != 3) {
        std::cerr << "usage: regex_gsub PATTERN REPLACEMENT < in > out\n"
                     "       regex_gsub --make-text BYTES > out\n";
        return 2;
    }
    std::string text;
    struct stat info;
    if (fstat(0, &info) == 0 && S_ISREG(info.st_mode)) {
        text.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) {
        text.append(buffer, got);
    }
    try {
        TPatternString engine(TTextEncoding::teUtf8);
        engine.SetRegExp(argv[1]);
        engine.GSub(argv[2], text);
    } catch (const EPatternError& e) {
        std::cerr << "regex_gsub: " << e.what() << " (position " << e.Position() << ")\n";
        return 1;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
