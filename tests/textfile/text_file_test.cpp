// Text files over real files in a temporary folder: line breaks, encodings, refused reads and
// the atomic writer's failures.
#include "textfile/TextFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <optional>

#include "textfile/TempFolder.h"

using namespace tallyon;

namespace {

namespace fs = std::filesystem;
using TLines = std::vector<std::string>;

struct TSplitCase {
    const char* Name;
    std::string_view Text;
    TLines Lines;
};

const TSplitCase kSplitCases[] = {
    {"CrLf", "a\r\nb", {"a", "b"}},
    {"LoneLf", "a\nb\n", {"a", "b", ""}},
    {"LoneCr", "a\rb", {"a", "b"}},
    {"EmptyLineBetweenCrLfs", "a\r\n\r\nb", {"a", "", "b"}},
    {"CrThenCrLfIsTwoBreaks", "a\r\r\n", {"a", "", ""}},
    {"LfThenCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
    {"MixedBreaks", "1\r\n2\n3\r4", {"1", "2", "3", "4"}},
    {"EmptyTextIsOneEmptyLine", "", {""}},
    {"TabsAndBlanksStay", " \tx \r\n", {" \tx ", ""}},
    {"CrAtTheEnd", "x\r", {"x", ""}},
    {"OnlyCrs", "a\rb\rc\r", {"a", "b", "c", ""}},
    {"CrsBeforeAFarFeed", "a\rb\r\r\nc\nd", {"a", "b", "", "c", "d"}},
};

class SplitTextLinesTest : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitTextLinesTest, SplitsAtEveryKindOfBreak) {
    EXPECT_EQ(SplitTextLines(GetParam().Text), GetParam().Lines);
}

// Every short text of letters and breaks splits as a byte-at-a-time reading does.
TEST(SplitTextLinesTest, AgreesWithAByteAtATimeReading) {
    const auto reference = [](std::string_view text) {
        std::vector<std::string> lines(1);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                lines.emplace_back();
            } else {
                lines.back() += text[i];
            }
        }
        return lines;
    };
    const char alphabet[] = {'a', '\r', '\n'};
    for (int length = 0; length <= 7; ++length) {
        int count = 1;
        for (int k = 0; k < length; ++k)
            count *= 3;
        for (int code = 0; code < count; ++code) {
            std::string text;
            for (int k = 0, rest = code; k < length; ++k, rest /= 3)
                text += alphabet[rest % 3];
            ASSERT_EQ(SplitTextLines(text), reference(text)) << testing::PrintToString(text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitTextLinesTest, testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.Name); });

constexpr FileEncoding kUtf8 = FileEncoding::Utf8;
constexpr FileEncoding kShiftJis = FileEncoding::ShiftJis;

struct TDecodeCase {
    const char* Name;
    std::string_view Bytes;
    std::string_view Text;
    FileEncoding Encoding;
};

const TDecodeCase kDecodeCases[] = {
    {"Ascii", "1+2 ==> 3 ", "1+2 ==> 3 ", kUtf8},
    {"Utf8Kept", "\xE8\xA8\x88\xE7\xAE\x97", "\xE8\xA8\x88\xE7\xAE\x97", kUtf8},
    {"ByteOrderMarkSkipped",
     "\xEF\xBB\xBF"
     "1",
     "1", kUtf8},
    {"ShiftJisConverted", "\x8C\x76\x8E\x5A ; x", "\xE8\xA8\x88\xE7\xAE\x97 ; x", kShiftJis},
    // The second byte of this Shift-JIS character is a backslash in ASCII.
    {"ShiftJisTrailByteBackslash", "\x95\x5C", "\xE8\xA1\xA8", kShiftJis},
    {"HalfWidthKatakana", "\xB6\xC5", "\xEF\xBD\xB6\xEF\xBE\x85", kShiftJis},
    {"BrokenBytesBecomeReplacementCharacters", "1\x81", "1\xEF\xBF\xBD", kShiftJis},
    {"Utf8OverlongFormIsReadAsShiftJis", "\xC0\xAF", "\xEF\xBE\x80\xEF\xBD\xAF", kShiftJis},
};

class DecodeTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(DecodeTest, ReadsUtf8OrShiftJis) {
    const TDecodedText decoded = DecodeText(GetParam().Bytes);
    EXPECT_EQ(decoded.Text, GetParam().Text);
    EXPECT_EQ(decoded.Encoding, GetParam().Encoding);
    // Handing over the bytes' storage decodes the same way (a mark or Shift-JIS included).
    const TDecodedText taken = DecodeText(std::string(GetParam().Bytes));
    EXPECT_EQ(taken.Text, GetParam().Text);
    EXPECT_EQ(taken.Encoding, GetParam().Encoding);
}

INSTANTIATE_TEST_SUITE_P(Encodings, DecodeTest, testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Shift-JIS writing: every character with a code there is written with it, so a Shift-JIS
// file comes back byte for byte; text that Shift-JIS cannot hold, or could hold only as a
// different character or as bytes that would read back as UTF-8, is refused.
struct TEncodeCase {
    const char* Name;
    std::string_view Text;
    std::optional<std::string_view> Bytes;
};

const TEncodeCase kEncodeCases[] = {
    {"Ascii", "1+2 ==> 3 \r\n", "1+2 ==> 3 \r\n"},
    {"Kanji", "\xE8\xA8\x88\xE7\xAE\x97", "\x8C\x76\x8E\x5A"},
    {"TrailByteBackslash", "\xE8\xA1\xA8", "\x95\x5C"},
    {"HalfWidthKatakana", "\xEF\xBD\xB6\xEF\xBE\x85", "\xB6\xC5"},
    {"Greek", "\xCF\x80", "\x83\xCE"},
    {"NecCircledDigit", "\xE2\x91\xA0", "\x87\x40"},
    {"Emoji", "1 \xF0\x9F\x98\x80", std::nullopt},
    {"LatinAccent", "caf\xC3\xA9", std::nullopt},
    {"Hangul", "\xED\x95\x9C", std::nullopt},
    {"ReplacementCharacter", "1\xEF\xBF\xBD", std::nullopt},
    // In Shift-JIS these two half-width katakana are C2 B1, which reads back as UTF-8 "±".
    {"BytesThatWouldReadAsUtf8", "\xEF\xBE\x82\xEF\xBD\xB1", std::nullopt},
    {"InvalidUtf8", "\xFF", std::nullopt},
};

class EncodeTest : public testing::TestWithParam<TEncodeCase> {};

TEST_P(EncodeTest, WritesShiftJisOrRefuses) {
    const std::optional<std::string> bytes = EncodeText(GetParam().Text, kShiftJis);
    ASSERT_EQ(bytes.has_value(), GetParam().Bytes.has_value());
    if (bytes) {
        EXPECT_EQ(*bytes, *GetParam().Bytes);
        EXPECT_EQ(DecodeText(*bytes).Text, GetParam().Text);
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodeTest, testing::ValuesIn(kEncodeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TextFileTest, ShiftJisFileWrittenBackIsByteIdentical) {
    TTempFolder folder;
    // Kanji, kana, a trail byte that is a backslash, half-width katakana, NEC and IBM
    // extensions, CR LF and a lone LF.
    const std::string bytes =
        "x := 2 ; \x92\xB7\x82\xB3 \x95\x5C\r\n\xB6\xC5 \x87\x40 \xFA\x40\n5*5 ==> 25 ";
    const fs::path path = folder.Write("old.tyq", bytes);
    const TDecodedText read = ReadEncodedTextFile(path);
    ASSERT_EQ(read.Encoding, kShiftJis);
    EXPECT_EQ(WriteTextFile(path, read.Text, read.Encoding), kShiftJis);
    EXPECT_EQ(TTempFolder::Read(path), bytes);
}

TEST(TextFileTest, TextShiftJisCannotHoldIsWrittenInUtf8) {
    TTempFolder folder;
    const fs::path path = folder / "doc.tyq";
    const std::string text = "\xE8\xA8\x88 \xF0\x9F\x98\x80";
    EXPECT_EQ(WriteTextFile(path, text, kShiftJis), kUtf8);
    EXPECT_EQ(TTempFolder::Read(path), text);
}

TEST(TextFileTest, ReadErrorsNameTheFileAndTheReason) {
    TTempFolder folder;
    fs::create_directory(folder / "sub");
    const struct {
        fs::path Path;
        std::string Reason;
    } cases[] = {
        {folder / "missing.tyq", "No such file or directory"},
        {folder / "sub", "it is a folder"},
    };
    for (const auto& c : cases) {
        try {
            ReadTextFile(c.Path);
            ADD_FAILURE() << c.Path << " was read";
        } catch (const ETextFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.Path.string()), std::string::npos) << message;
            EXPECT_NE(message.find(c.Reason), std::string::npos) << message;
        }
    }
}

TEST(TextFileTest, FileWithoutReadPermissionIsRefused) {
    TTempFolder folder;
    const fs::path path = folder.Write("secret.tyq", "1");
    fs::permissions(path, fs::perms::none);
    EXPECT_EQ(RunUnprivileged([&] {
                  try {
                      ReadTextFile(path);
                      return false;
                  } catch (const ETextFileError& e) {
                      return std::string(e.what()).find("Permission denied") != std::string::npos;
                  }
              }),
              0);
}

TEST(AtomicWriteTest, ReplacesContentAndLeavesNoTemporaryFile) {
    TTempFolder folder;
    const fs::path path = folder.Write("doc.tyq", "old content that is longer");
    WriteFileAtomically(path, "new");
    EXPECT_EQ(TTempFolder::Read(path), "new");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(AtomicWriteTest, KeepsPermissions) {
    TTempFolder folder;
    const fs::path path = folder.Write("doc.tyq", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicWriteTest, WritesThroughSymbolicLinkToItsTarget) {
    TTempFolder folder;
    fs::create_directory(folder / "real");
    const fs::path target = folder.Write("real/doc.tyq", "old");
    const fs::path link = folder / "link.tyq";
    fs::create_symlink(fs::path("real") / "doc.tyq", link);
    WriteFileAtomically(link, "new");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(TTempFolder::Read(target), "new");
}

TEST(AtomicWriteTest, CreatesNewFile) {
    TTempFolder folder;
    WriteFileAtomically(folder / "new.tyq", "1\r\n");
    EXPECT_EQ(TTempFolder::Read(folder / "new.tyq"), "1\r\n");
}

TEST(AtomicWriteTest, TargetThatIsAFolderIsRefusedAndKept) {
    TTempFolder folder;
    fs::create_directory(folder / "doc.tyq");
    folder.Write("doc.tyq/inside", "x");
    EXPECT_THROW(WriteFileAtomically(folder / "doc.tyq", "new"), ETextFileError);
    EXPECT_TRUE(fs::is_directory(folder / "doc.tyq"));
    EXPECT_EQ(TTempFolder::Read(folder / "doc.tyq" / "inside"), "x");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(AtomicWriteTest, SpecialFileIsNotReplaced) {
    TTempFolder folder;
    const fs::path pipe = folder / "pipe.tyq";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_THROW(WriteFileAtomically(pipe, "new"), ETextFileError);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(AtomicWriteTest, MissingFolderIsRefused) {
    TTempFolder folder;
    EXPECT_THROW(WriteFileAtomically(folder / "nowhere" / "doc.tyq", "new"), ETextFileError);
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

TEST(AtomicWriteTest, ReadOnlyFolderLeavesOldFileWhole) {
    TTempFolder folder;
    const fs::path path = folder.Write("doc.tyq", "old");
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(RunUnprivileged([&] {
                  try {
                      WriteFileAtomically(path, "new");
                      return false;
                  } catch (const ETextFileError&) {
                      return true;
                  }
              }),
              0);
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(TTempFolder::Read(path), "old");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(AtomicWriteTest, FailureMidWriteLeavesOldFileWhole) {
    // A file size limit makes the write fail part way, as a full disk would, also for a
    // privileged user.
    TTempFolder folder;
    const fs::path path = folder.Write("doc.tyq", "old");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteFileAtomically(path, std::string(4096, 'x')), ETextFileError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(TTempFolder::Read(path), "old");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

}  // namespace
