// tallyon-calc as a user runs it: real files in a temporary folder, standard input and output,
// exit status and the form of its messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "document/TempFolder.h"

using namespace tallyon;

namespace {

using TFiles = std::vector<std::pair<std::string, std::string>>;

struct TRunCase {
    const char* Name;
    std::vector<std::string> Args;
    TFiles Before;      // files created in the folder before the run
    std::string Stdin;  // standard input
    int Status;
    std::string Stdout;
    std::string Stderr;  // exact text, or a prefix when it ends with "*"
    TFiles After;        // files expected in the folder after the run
};

// Shown after the test's name: the case's name rather than its bytes.
void PrintTo(const TRunCase& c, std::ostream* out) {
    *out << c.Name;
}

// Quotes one argument for the shell.
std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct TRunResult {
    int Status = -1;
    std::string Stdout;
    std::string Stderr;
};

TRunResult RunCalc(const TTempFolder& folder, const std::vector<std::string>& args,
                   const std::string& input) {
    folder.Write(".stdin", input);
    std::string command =
        "cd " + ShellQuote(folder.Path().string()) + " && " + ShellQuote(TALLYON_CALC_PROGRAM);
    for (const std::string& arg : args)
        command += " " + ShellQuote(arg);
    command += " < .stdin > .stdout 2> .stderr";
    const int raw = std::system(command.c_str());
    TRunResult result;
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Stdout = TTempFolder::Read(folder / ".stdout");
    result.Stderr = TTempFolder::Read(folder / ".stderr");
    return result;
}

const TRunCase kRunCases[] = {
    {"FileCalculatedToStandardOutput",
     {"doc.tyq"},
     {{"doc.tyq", "1+2\r\n2*3"}},
     "",
     0,
     "1+2 ==> 3 \r\n2*3 ==> 6 \r\n",
     "",
     {{"doc.tyq", "1+2\r\n2*3"}}},
    {"StandardInputWithoutFile",
     {},
     {},
     "a:=2\na*3 ==> 9 \n",
     0,
     "a:=2 ==> 2 \r\na*3 ==> 6 \r\n\r\n",
     "",
     {}},
    {"DashIsStandardInput", {"-"}, {}, "7", 0, "7 ==> 7 \r\n", "", {}},
    {"ErrorArrowIsNoFailure", {}, {}, "1/0\n", 0, "1/0 >>> *", "", {}},
    {"RaisedErrorStopsWithFileAndLine",
     {"doc.tyq", "--variables", "vars.tyq"},
     {{"doc.tyq", "1+1\r\nv+1\r\n3"}, {"vars.tyq", "V=abc\r\n"}},
     "",
     1,
     "1+1 ==> 2 \r\nv+1\r\n3",
     "doc.tyq:2: *",
     {}},
    {"RaisedErrorOnStandardInputNamesIt", {}, {}, "1E999\n", 1, "1E999\r\n", "<stdin>:1: *", {}},
    {"InPlaceRewritesFileOnly",
     {"-i", "doc.tyq"},
     {{"doc.tyq", "2^10 ==> 0 \n"}},
     "",
     0,
     "",
     "",
     {{"doc.tyq", "2^10 ==> 1024 \r\n\r\n"}}},
    {"InPlaceAfterRaisedErrorWritesDocumentAsItStands",
     {"--in-place", "doc.tyq"},
     {{"doc.tyq", "1\r\n1E999\r\n2 ==> 5 "}},
     "",
     1,
     "",
     "doc.tyq:2: *",
     {{"doc.tyq", "1 ==> 1 \r\n1E999\r\n2 ==> 5 "}}},
    {"MissingFileChangesNothing",
     {"-i", "missing.tyq"},
     {},
     "",
     2,
     "",
     "tallyon-calc: Cannot read \"missing.tyq\": *",
     {}},
    {"FolderIsNotADocument",
     {"."},
     {},
     "",
     2,
     "",
     "tallyon-calc: Cannot read \".\": it is a folder\n",
     {}},
    {"MissingVariablesFileStopsBeforeCalculating",
     {"-i", "doc.tyq", "--variables", "none.tyq"},
     {{"doc.tyq", "1"}},
     "",
     2,
     "",
     "tallyon-calc: Cannot read \"none.tyq\": *",
     {{"doc.tyq", "1"}}},
    {"UnwritableVariablesFileIsAFileError",
     {"--save-variables", "."},
     {},
     "1",
     2,
     "1 ==> 1 \r\n",
     "tallyon-calc: Cannot write *",
     {}},
    {"VariablesLoadedAndSaved",
     {"--variables", "in.tyq", "--save-variables", "out.tyq"},
     {{"in.tyq", "r=4.7K\r\n"}},
     "x:=r*2\n",
     0,
     "x:=r*2 ==> 9400 \r\n\r\n",
     "",
     {{"out.tyq", "r=4.7K\r\nX=9400\r\nANS=9400\r\n_ANS=9400\r\n"}}},
    {"PatternSelectsUserFormat", {"--pattern", "0.00"}, {}, "1/3", 0, "1/3 ==> 0.33 \r\n", "", {}},
    {"UserFormatWithoutPatternUsesReadyPattern",
     {"--format", "user"},
     {},
     "1234.5",
     0,
     "1234.5 ==> 1,234.500 \r\n",
     "",
     {}},
    {"FormatWithEqualsSign",
     {"--format=fixed", "--digits=2", "--precision=4"},
     {},
     "2/3",
     0,
     "2/3 ==> 0.67 \r\n",
     "",
     {}},
    {"ShiftJisDocumentWrittenAsUtf8",
     {"doc.tyq"},
     {{"doc.tyq", "2*2 ; \x8C\x76\x8E\x5A"}},
     "",
     0,
     "2*2 ; \xE8\xA8\x88\xE7\xAE\x97 ==> 4 \r\n",
     "",
     {}},
    {"UnknownOptionIsUsageError",
     {"--frobnicate"},
     {},
     "",
     2,
     "",
     "tallyon-calc: unknown option *",
     {}},
    {"UnknownFormatIsUsageError",
     {"--format", "roman"},
     {},
     "",
     2,
     "",
     "tallyon-calc: unknown format *",
     {}},
    {"PrecisionOutOfRangeIsUsageError",
     {"--precision", "19"},
     {},
     "",
     2,
     "",
     "tallyon-calc: --precision *",
     {}},
    {"InPlaceNeedsFile", {"-i"}, {}, "1", 2, "", "tallyon-calc: --in-place needs a FILE\n", {}},
    {"TwoDocumentsAreUsageError", {"a", "b"}, {}, "", 2, "", "tallyon-calc: only one *", {}},
    {"HelpPrintsUsage", {"--help"}, {}, "", 0, "Usage: tallyon-calc *", "", {}},
};

// Compares exactly, or as a prefix when the expectation ends with "*".
void ExpectText(const std::string& actual, const std::string& expected, const char* what) {
    if (expected.ends_with('*')) {
        EXPECT_TRUE(actual.starts_with(expected.substr(0, expected.size() - 1)))
            << what << ": " << actual;
    } else {
        EXPECT_EQ(actual, expected) << what;
    }
}

class TallyonCalcTest : public testing::TestWithParam<TRunCase> {};

TEST_P(TallyonCalcTest, RunsAsDocumented) {
    const TRunCase& c = GetParam();
    TTempFolder folder;
    for (const auto& [name, content] : c.Before)
        folder.Write(name, content);
    const TRunResult result = RunCalc(folder, c.Args, c.Stdin);
    EXPECT_EQ(result.Status, c.Status) << result.Stderr;
    ExpectText(result.Stdout, c.Stdout, "standard output");
    ExpectText(result.Stderr, c.Stderr, "standard error");
    if (c.Status != 0) {
        EXPECT_EQ(std::count(result.Stderr.begin(), result.Stderr.end(), '\n'), 1);
    }
    for (const auto& [name, content] : c.After)
        EXPECT_EQ(TTempFolder::Read(folder / name), content) << name;
}

INSTANTIATE_TEST_SUITE_P(Runs, TallyonCalcTest, testing::ValuesIn(kRunCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TallyonCalcFileTest, InPlaceKeepsSymbolicLinkAndPermissions) {
    TTempFolder folder;
    const auto target = folder.Write("real.tyq", "1+1");
    std::filesystem::permissions(
        target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("real.tyq", folder / "link.tyq");
    const TRunResult result = RunCalc(folder, {"-i", "link.tyq"}, "");
    EXPECT_EQ(result.Status, 0) << result.Stderr;
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(folder / "link.tyq")));
    EXPECT_EQ(TTempFolder::Read(target), "1+1 ==> 2 \r\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(TallyonCalcFileTest, OutputReopensToTheSameDocument) {
    // Calculating a calculated document again gives it back unchanged once it has settled.
    TTempFolder folder;
    folder.Write("doc.tyq", "r:=10K\nc:=100n\nfc:=1/(2*_PI*r*c) ; corner\nx:=5 $\n");
    ASSERT_EQ(RunCalc(folder, {"-i", "doc.tyq"}, "").Status, 0);
    ASSERT_EQ(RunCalc(folder, {"-i", "doc.tyq"}, "").Status, 0);
    const std::string settled = TTempFolder::Read(folder / "doc.tyq");
    ASSERT_EQ(RunCalc(folder, {"-i", "doc.tyq"}, "").Status, 0);
    EXPECT_EQ(TTempFolder::Read(folder / "doc.tyq"), settled);
}

TEST(TallyonCalcFileTest, SampleDocumentsCalculateWithoutErrors) {
    TTempFolder folder;
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TALLYON_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".tyq") continue;
        ++samples;
        const TRunResult result = RunCalc(folder, {entry.path().string()}, "");
        EXPECT_EQ(result.Status, 0) << entry.path() << ": " << result.Stderr;
        EXPECT_EQ(result.Stdout.find(" >>> "), std::string::npos) << entry.path();
        EXPECT_NE(result.Stdout.find(" ==> "), std::string::npos) << entry.path();
    }
    EXPECT_GE(samples, 2);
}

}  // namespace
