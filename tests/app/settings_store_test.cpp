// Loading and saving the settings record against hand-written settings files: the group-wise
// rules, the strict reading of integers and Booleans, the placement check, and a round trip
// of every value.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "settings/store/SettingsStore.h"

namespace tallyon {
namespace {

// The value of the field `name` of `record` as text (Booleans as 0 and 1, colours as
// hexadecimal).
std::string FieldText(const TSettingsRecord& record, std::string_view name) {
    const TSettingField* field = FindSettingField(name);
    if (!field) return "(no such field)";
    return std::visit(
        [&](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                return record.*member;
            else if constexpr (std::is_same_v<T, TColour>)
                return QString::number(record.*member, 16).toStdString();
            else
                return std::to_string(int(record.*member));
        },
        field->Member);
}

class SettingsFile : public testing::Test {
protected:
    // Loads the settings file whose text is `ini` into the record. Each call writes a new file:
    // QSettings keeps what it read of a file until the file's time or size changes.
    TLoadedWindows load(const char* ini, QSize screen = {1024, 768}) {
        path = folder.filePath(QString("Tallyon%1.conf").arg(++files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(ini);
        file.close();
        QSettings store(path, QSettings::IniFormat);
        return ReadSettingsStore(store, record, screen);
    }

    QTemporaryDir folder;
    QString path = folder.filePath("Tallyon.conf");
    int files = 0;
    TSettingsRecord record;
};

// One hand-written file and the fields it must load as (by value name).
struct LoadCase {
    const char* behaviour;
    const char* ini;
    std::map<std::string, std::string> expected;
};
void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const LoadCase kLoadCases[] = {
    {"empty_store_keeps_initial_values_and_asks_before_discarding",
     "",
     {{"OptNumFormat", "0"}, {"OptPrecision", "18"}, {"OptNumFormatStr", ""},
      {"OptNumFormatArray", "0"}, {"OptReturn", "1"}, {"OptCtrlReturn", "3"},
      {"Language", "0"}, {"TipHint", "1"}, {"FontName", "ＭＳ ゴシック"}, {"FontSize", "9"},
      {"OptRecallLastFile", "1"}, {"OptColorBack", "80000005"}, {"OptQueryDiscard", "1"},
      {"OptSemiTransparent", "0"}, {"OptAutomaticallyCopyState", "0"}}},
    {"numbers_group_reads_every_value",
     "[General]\nOptNumFormat=2\nOptPrecision=12\nOptDigits=3\nOptNumFormatStr=0.00\n"
     "OptNumFormatClipboard=1\nOptNumFormatArray=3\nOptReturn=2\nOptShiftReturn=3\n"
     "OptCtrlReturn=1\nLanguage=1\nTipHint=0\n",
     {{"OptNumFormat", "2"}, {"OptPrecision", "12"}, {"OptDigits", "3"},
      {"OptNumFormatStr", "0.00"}, {"OptNumFormatClipboard", "1"}, {"OptNumFormatArray", "3"},
      {"OptReturn", "2"}, {"OptShiftReturn", "3"}, {"OptCtrlReturn", "1"}, {"Language", "1"},
      {"TipHint", "0"}}},
    {"numbers_group_is_skipped_without_its_lead",
     "[General]\nOptPrecision=12\nLanguage=1\n",
     {{"OptPrecision", "18"}, {"Language", "0"}}},
    {"missing_precision_ends_the_group_after_the_format",
     "[General]\nOptNumFormat=3\nOptDigits=4\nOptReturn=2\nLanguage=1\n",
     {{"OptNumFormat", "3"}, {"OptPrecision", "18"}, {"OptDigits", "0"}, {"OptReturn", "1"},
      {"Language", "0"}}},
    {"zero_precision_and_key_map_take_their_initial_values",
     "[General]\nOptNumFormat=0\nOptPrecision=0\nOptDigits=0\nOptReturn=0\nOptShiftReturn=0\n"
     "OptCtrlReturn=0\nLanguage=2\nTipHint=1\n",
     {{"OptPrecision", "18"}, {"OptReturn", "1"}, {"OptShiftReturn", "2"},
      {"OptCtrlReturn", "3"}, {"Language", "2"}}},
    {"zeros_stay_when_a_read_of_the_group_failed",
     "[General]\nOptNumFormat=1\nOptPrecision=0\nOptDigits=x\n",
     {{"OptNumFormat", "1"}, {"OptPrecision", "0"}}},
    {"empty_or_absent_pattern_reads_as_the_default_pattern_and_absent_formats_take_0_and_1",
     "[General]\nOptNumFormat=4\nOptPrecision=9\nOptDigits=2\nOptNumFormatStr=\n"
     "OptReturn=1\nOptShiftReturn=2\nOptCtrlReturn=3\nLanguage=1\nTipHint=1\n",
     {{"OptNumFormatStr", "#,##0.000;-#,##0.000;0.000"}, {"OptNumFormatClipboard", "0"},
      {"OptNumFormatArray", "1"}, {"Language", "1"}}},
    {"boolean_written_as_a_word_is_wrongly_typed",
     "[General]\nOptNumFormat=1\nOptPrecision=9\nOptDigits=2\nOptReturn=1\nOptShiftReturn=2\n"
     "OptCtrlReturn=3\nLanguage=1\nTipHint=false\n",
     {{"Language", "1"}, {"TipHint", "1"}}},
    {"any_non_zero_integer_is_a_true_boolean",
     "[General]\nOptRecallLastFile=0\nOptRecallLastVariables=0\nOptQueryDiscard=-7\n"
     "OptStayOnTop=2\nOptSemiTransparent=0\nOptSimpleMode=1\nOptAutomaticallyCopyState=1\n",
     {{"OptRecallLastFile", "0"}, {"OptQueryDiscard", "1"}, {"OptStayOnTop", "1"},
      {"OptSemiTransparent", "0"}, {"OptSimpleMode", "1"}, {"OptAutomaticallyCopyState", "1"}}},
    {"font_without_size_takes_charset_and_name_only",
     "[General]\nFontCharset=0\nFontName=DejaVu Sans Mono\nFontBold=1\n",
     {{"FontCharset", "0"}, {"FontName", "DejaVu Sans Mono"}, {"FontSize", "9"},
      {"FontBold", "0"}}},
    {"font_group_is_skipped_without_its_name",
     "[General]\nFontCharset=0\nFontSize=20\n",
     {{"FontCharset", "128"}, {"FontSize", "9"}}},
    {"font_style_stops_at_an_unreadable_value",
     "[General]\nFontCharset=1\nFontName=Mono\nFontSize=12\nFontBold=1\nFontItalic=yes\n"
     "FontUnderline=1\n",
     {{"FontSize", "12"}, {"FontBold", "1"}, {"FontItalic", "0"}, {"FontUnderline", "0"}}},
    {"recall_group_ends_without_the_recall_switches",
     "[General]\nRecallFileName=a.tyq\nOptColorBack=255\nOptQueryDiscard=0\n",
     {{"RecallFileName", ""}, {"OptColorBack", "80000005"}, {"OptQueryDiscard", "1"}}},
    {"absent_recall_names_read_empty_and_colours_are_signed_integers",
     "[General]\nOptRecallLastFile=1\nOptRecallLastVariables=0\nOptColorBack=-2147483643\n"
     "OptColorExpression=16711680\nOptColorArrow=255\nOptColorAnswer=32768\n",
     {{"RecallFileName", ""}, {"OptRecallLastVariables", "0"}, {"OptColorBack", "80000005"},
      {"OptColorExpression", "ff0000"}, {"OptColorAnswer", "8000"}}},
    {"deleted_query_discard_takes_on_off_on_off",
     "[General]\nOptRecallLastFile=1\nOptRecallLastVariables=1\nOptStayOnTop=1\n"
     "OptSimpleMode=1\nOptAutomaticallyCopyState=1\n",
     {{"OptQueryDiscard", "1"}, {"OptStayOnTop", "0"}, {"OptSemiTransparent", "1"},
      {"OptSimpleMode", "0"}, {"OptAutomaticallyCopyState", "1"}}},
    {"colours_without_their_lead_keep_the_defaults_and_the_group_goes_on",
     "[General]\nOptRecallLastFile=1\nOptRecallLastVariables=1\nOptColorExpression=255\n"
     "OptQueryDiscard=0\nOptStayOnTop=1\nOptSemiTransparent=0\nOptSimpleMode=1\n",
     {{"OptColorExpression", "80000008"}, {"OptQueryDiscard", "0"}, {"OptStayOnTop", "1"},
      {"OptSimpleMode", "1"}}},
    {"unreadable_colour_ends_the_group_and_keeps_the_colours_before_it",
     "[General]\nOptRecallLastFile=1\nOptRecallLastVariables=1\nRecallFileName=doc.tyq\n"
     "OptColorBack=1\nOptColorExpression=2\nOptColorArrow=red\nOptColorAnswer=4\n"
     "OptQueryDiscard=0\nOptAutomaticallyCopyState=1\n",
     {{"RecallFileName", "doc.tyq"}, {"OptColorBack", "1"}, {"OptColorExpression", "2"},
      {"OptColorArrow", "ff"}, {"OptColorAnswer", "8000"}, {"OptQueryDiscard", "1"},
      {"OptAutomaticallyCopyState", "0"}}},
    {"a_text_that_reads_as_a_list_is_wrongly_typed",
     "[General]\nOptRecallLastFile=1\nOptRecallLastVariables=1\nRecallFileName=a, b\n"
     "OptAutomaticallyCopyState=1\n",
     {{"RecallFileName", ""}, {"OptAutomaticallyCopyState", "0"}}},
};

class LoadRules : public SettingsFile, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadRules, LoadAsTheGroupRulesSay) {
    load(GetParam().ini);
    for (const auto& [name, value] : GetParam().expected)
        EXPECT_EQ(FieldText(record, name), value) << name;
}

INSTANTIATE_TEST_SUITE_P(Table, LoadRules, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// Integers are decimal 32-bit values with an optional sign and nothing else.
TEST_F(SettingsFile, IntegersAreReadStrictly) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"42", 42},          {"-42", -42},          {"+7", 7},
        {"2147483647", 2147483647}, {"2147483648", std::nullopt}, {" 5", std::nullopt},
        {"5 ", std::nullopt}, {"0x10", std::nullopt}, {"1e3", std::nullopt},
        {"", std::nullopt},  {"-", std::nullopt},   {"true", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        load(("[General]\nValue=\"" + std::string(text) + "\"\n").c_str());
        QSettings store(path, QSettings::IniFormat);
        EXPECT_EQ(ReadStoredInteger(store, "Value"), expected) << '"' << text << '"';
    }
    QSettings store(path, QSettings::IniFormat);
    EXPECT_EQ(ReadStoredInteger(store, "Absent"), std::nullopt);
    EXPECT_EQ(ReadStoredText(store, "Absent"), QString());
}

struct PlacementCase {
    const char* behaviour;
    const char* ini;
    std::optional<TPlacement> mainWnd;
    std::optional<bool> variablesVisible;
    std::optional<TPlacement> variables;
};
void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const PlacementCase kPlacements[] = {
    {"whole_window_on_the_screen_is_used",
     "[MainWnd]\nLeft=0\nWidth=160\nTop=10\nHeight=758\n", TPlacement{0, 160, 10, 758}, {}, {}},
    {"width_159_is_ignored", "[MainWnd]\nLeft=0\nWidth=159\nTop=0\nHeight=300\n", {}, {}, {}},
    {"one_pixel_beyond_the_screen_is_ignored",
     "[MainWnd]\nLeft=25\nWidth=1000\nTop=0\nHeight=300\n", {}, {}, {}},
    {"negative_top_is_ignored", "[MainWnd]\nLeft=0\nWidth=200\nTop=-1\nHeight=300\n", {}, {}, {}},
    {"missing_height_ends_the_group", "[MainWnd]\nLeft=0\nWidth=200\nTop=0\n", {}, {}, {}},
    {"variables_window_shown_and_placed",
     "[Variables]\nLeft=10\nWidth=200\nTop=20\nHeight=300\nVisible=1\n", {}, true,
     TPlacement{10, 200, 20, 300}},
    {"variables_visibility_applies_even_when_the_placement_does_not_fit",
     "[Variables]\nLeft=10\nWidth=100\nTop=20\nHeight=300\nVisible=0\n", {}, false, {}},
    {"variables_without_visible_are_neither_shown_nor_placed",
     "[Variables]\nLeft=10\nWidth=200\nTop=20\nHeight=300\n", {}, {}, {}},
};

class Placements : public SettingsFile, public testing::WithParamInterface<PlacementCase> {};

TEST_P(Placements, PassTheCheckOrAreIgnored) {
    const TLoadedWindows loaded = load(GetParam().ini);
    EXPECT_EQ(loaded.MainWnd, GetParam().mainWnd);
    EXPECT_EQ(loaded.VariablesVisible, GetParam().variablesVisible);
    EXPECT_EQ(loaded.Variables, GetParam().variables);
}

INSTANTIATE_TEST_SUITE_P(Table, Placements, testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// Every value that is saved loads back as it was, Japanese text and system colours included,
// and the file keeps Booleans as integers under the names and groups of the design.
TEST_F(SettingsFile, EveryValueRoundTrips) {
    // Every field away from its initial value: integers up by 3, Booleans flipped, texts
    // with Japanese and a comma, colours swapped between system and RGB colours.
    TSettingsRecord saved;
    for (const TSettingField& field : kSettingFields)
        std::visit(
            [&](auto member) {
                auto& value = saved.*member;
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    value = std::string(field.Name) + " 計算, メモ.tyq";
                else if constexpr (std::is_same_v<T, TColour>)
                    value = value & kSystemColourFlag ? 0x00123456u : clWindowText;
                else if constexpr (std::is_same_v<T, bool>)
                    value = !value;
                else
                    value += 3;
            },
            field.Member);
    const TWindowsToSave windows{{5, 300, 6, 200}, {700, 200, 10, 400}, true};
    {
        QSettings store(path, QSettings::IniFormat);
        ASSERT_TRUE(WriteSettingsStore(store, saved, windows));
    }
    QSettings store(path, QSettings::IniFormat);
    const TLoadedWindows loaded = ReadSettingsStore(store, record, {1024, 768});
    for (const TSettingField& field : kSettingFields)
        EXPECT_EQ(FieldText(record, field.Name), FieldText(saved, field.Name)) << field.Name;
    EXPECT_EQ(loaded.MainWnd, windows.MainWnd);
    EXPECT_EQ(loaded.Variables, windows.Variables);
    EXPECT_EQ(loaded.VariablesVisible, true);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* line : {"[General]", "OptQueryDiscard=0", "TipHint=0", "OptStayOnTop=1", "[MainWnd]",
                             "Width=300", "[Variables]", "Visible=1", "OptColorBack=1193046",
                             "OptColorAnswer=-2147483640"})
        EXPECT_TRUE(text.contains(line)) << line;
}

TEST(FirstStartLanguage, JapaneseLocalesChooseJapaneseEveryOtherEnglish) {
    EXPECT_EQ(FirstStartLanguage(QLocale(QLocale::Japanese, QLocale::Japan)), 2);
    EXPECT_EQ(FirstStartLanguage(QLocale(QLocale::English, QLocale::UnitedStates)), 1);
    EXPECT_EQ(FirstStartLanguage(QLocale(QLocale::Chinese, QLocale::China)), 1);
    EXPECT_EQ(FirstStartLanguage(QLocale::c()), 1);
}

}  // namespace
}  // namespace tallyon
