// tallyon-calc: calculates a Tallyon document from the command line.
//
// The document is read (UTF-8 or Shift-JIS, any line breaks), calculated line by line from
// the top exactly as the window's "Calculate again" does, over the same document core, and
// written as Save writes it. Exit status: 0 calculated, 1 a line raised an error (the run
// stops there, as in the window), 2 a file could not be read or written or the command line
// is wrong.
#include <cstddef>
#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
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

// Takes the document's lines in order and writes them joined by CR LF, as Save writes them:
// to standard output in blocks of a bounded size as they come, or kept whole for a file
// that is replaced at the end.
class TLineWriter {
public:
    explicit TLineWriter(bool toStandardOutput) : toStandardOutput_(toStandardOutput) {
        if (toStandardOutput_) text_.reserve(kBlock);
    }

    void Add(std::string_view line) {
        if (!first_) text_ += "\r\n";
        first_ = false;
        text_ += line;
        if (toStandardOutput_ && text_.size() >= kBlock) Flush();
    }

    // The whole text, for a file.
    const std::string& Text() const { return text_; }

    // Writes what is left to standard output; raises when any write failed.
    void Finish() {
        Flush();
        if (!written_ || std::fflush(stdout) != 0)
            throw ETextFileError("Cannot write standard output");
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 16;

    void Flush() {
        written_ = written_ && std::fwrite(text_.data(), 1, text_.size(), stdout) == text_.size();
        text_.clear();
    }

    bool toStandardOutput_;
    bool first_ = true;
    bool written_ = true;
    std::string text_;
};

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
    // The calculation runs once from the top: each line is written once the calculation has
    // moved past it.
    TLineWriter writer(!options->InPlace);
    document.HandOnPassedLines([&writer](std::string_view line) { writer.Add(line); });
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
        document.HandOnRest();
        if (!options->InPlace) {
            writer.Finish();
        } else if (WriteDocumentText(options->DocumentPath, writer.Text(), encoding) != encoding) {
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
