// Calculation documents over real files: the CR LF line format, long lines and old
// Shift-JIS documents.
#include "document/DocumentFile.h"

#include <gtest/gtest.h>

#include "textfile/TempFolder.h"

using namespace tallyon;

namespace {

namespace fs = std::filesystem;
using TLines = std::vector<std::string>;

TEST(DocumentFileTest, SavedDocumentReopensAsTheSameLines) {
    TTempFolder folder;
    const TLines lines{"1+2 ==> 3 ", "  x:=5 $", "", "\xCF\x80 ; pi", "a >>> 0 ", "", ""};
    const fs::path path = folder / "doc.tyq";
    WriteDocumentFile(path, lines);
    EXPECT_EQ(TTempFolder::Read(path),
              "1+2 ==> 3 \r\n  x:=5 $\r\n\r\n\xCF\x80 ; pi\r\na >>> 0 \r\n\r\n");
    EXPECT_EQ(ReadDocumentFile(path), lines);
}

TEST(DocumentFileTest, LongLineIsKeptWhole) {
    TTempFolder folder;
    const std::string line = "1+" + std::string(10000, '1') + " ==> 1 ";
    const fs::path path = folder / "long.tyq";
    WriteDocumentFile(path, {line, "2"});
    EXPECT_EQ(ReadDocumentFile(path), (TLines{line, "2"}));
}

TEST(DocumentFileTest, ShiftJisFileOpens) {
    TTempFolder folder;
    const fs::path path = folder.Write("old.tyq", "1+1 ; \x8C\x76\x8E\x5A\r\n2\r\n");
    EXPECT_EQ(ReadDocumentFile(path), (TLines{"1+1 ; \xE8\xA8\x88\xE7\xAE\x97", "2", ""}));
}

}  // namespace
