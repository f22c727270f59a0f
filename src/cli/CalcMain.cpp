// tallyon-calc: calculates a Tallyon document from the command line.
//
// The document is read (UTF-8 or Shift-JIS, any line breaks), calculated line by line from
// the top exactly as the window's "Calculate again" does, over the same document core, and
// written as Save writes it. Exit status: 0 calculated, 1 a line raised an error (the run
// stops there, as in the window), 2 a file could not be read or written or the command line
// is wrong.
#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "CalcOptions.h"
#include "document/CalcDocument.h"
#include "document/DocumentFile.h"
#include "document/MemoryLineDocument.h"
#include "engine/VariableList.h"
#include "variables/VariablesFile.h"

using namespace tallyon;

namespace {

constexpr int kExitCalculated = 0;
constexpr int kExitLineFailed = 1;
constexpr int kExitFileOrUsage = 2;

int Fail(const std::string& message) {
    std::cerr << "tallyon-calc: " << message << "\n";
    return kExitFileOrUsage;
}

// Reads all of standard input as a document's text.
std::string ReadStandardInput() {
    std::string bytes{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    if (std::cin.bad()) throw ETextFileError("Cannot read standard input");
    return DecodeText(bytes).Text;
}

// Writes the document's lines joined by CR LF, as Save writes them, in blocks of a bounded
// size instead of joining a copy of the whole text first.
void WriteStandardOutput(const TMemoryLineDocument& document) {
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::string block;
    block.reserve(kBlock);
    bool written = true;
    auto flush = [&] {
        written = written && std::fwrite(block.data(), 1, block.size(), stdout) == block.size();
        block.clear();
    };
    for (int i = 0; i < document.TextLineCount(); ++i) {
        if (i > 0) block += "\r\n";
        block += document.TextLine(i);
        if (block.size() >= kBlock) flush();
    }
    flush();
    if (!written || std::fflush(stdout) != 0) throw ETextFileError("Cannot write standard output");
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseCalcOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) return Fail(error);
    if (options->Help) {
        std::cout << CalcUsage();
        return kExitCalculated;
    }
    if (options->Version) {
        std::cout << "tallyon-calc " << TALLYON_VERSION << "\n";
        return kExitCalculated;
    }

    TVariableList variables;
    std::string text;
    FileEncoding encoding = FileEncoding::Utf8;  // an in-place rewrite keeps the file's encoding
    try {
        if (!options->VariablesPath.empty())
            LoadVariables(variables, ReadVariablesFile(options->VariablesPath));
        text = options->FromStandardInput() ? ReadStandardInput()
                                            : ReadDocumentText(options->DocumentPath, encoding);
    } catch (const ETextFileError& e) {
        return Fail(e.what());
    }

    TMemoryLineDocument document = TMemoryLineDocument::FromText(std::move(text));
    TCalcDocument calc(document, variables, options->Settings);
    int status = kExitCalculated;
    try {
        calc.CalculateAgain();
    } catch (const std::exception& e) {
        const std::string name = options->FromStandardInput() ? "<stdin>" : options->DocumentPath;
        std::cerr << name << ":" << document.CaretLine() + 1 << ": " << e.what() << "\n";
        status = kExitLineFailed;
    }

    try {
        if (!options->InPlace) {
            WriteStandardOutput(document);
        } else if (WriteDocumentText(options->DocumentPath, document.Text(), encoding) !=
                   encoding) {
            std::cerr << options->DocumentPath
                      << ": saved in UTF-8: Shift-JIS cannot represent every character\n";
        }
        if (!options->SaveVariablesPath.empty())
            WriteVariablesFile(options->SaveVariablesPath, variables);
    } catch (const ETextFileError& e) {
        return Fail(e.what());
    }
    return status;
}
