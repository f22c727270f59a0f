// The options dialog and the Options command, driven through their real widgets offscreen:
// the number sample and its enabling rules, filling from the settings record and storing
// back (out-of-range and non-integer values included), the colour lists, the font page, the
// language of the dialog and the order in which a confirmation applies its groups.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <functional>

#include "QtTestApplication.h"
#include "document/editor/Colours.h"
#include "settings/ColourNames.h"
#include "settings/FontChooser.h"
#include "settings/OptionControls.h"
#include "settings/OptionSamples.h"
#include "settings/Options.h"
#include "settings/OptionsCommand.h"
#include "settings/OptionsJ.h"

namespace tallyon {
namespace {

// ---- samples ---------------------------------------------------------------------------

struct SampleCase {
    const char* name;
    int format, precision, digits;
    const char* pattern;
    std::vector<std::string> expected;
};

const SampleCase kSamples[] = {
    {"GeneralAtFullPrecisionShowsEighteenDigitsOfPi",
     0,
     18,
     0,
     "",
     {"_PI := 3.14159265358979324", "123456 = 123456", "0.0012 = 0.0012",
      "-987654.321 = -987654.321"}},
    {"UserDefinitionUsesThePatternNotThePrecision",
     4,
     2,
     0,
     "#,##0.000;-#,##0.000;0.000",
     {"_PI := 3.142", "123456 = 123,456.000", "0.0012 = 0.001", "-987654.321 = -987,654.321"}},
    {"NegativeSectionOfThePatternWritesBrackets",
     4,
     18,
     0,
     "0;(0);0",
     {"_PI := 3", "123456 = 123456", "0.0012 = 0", "-987654.321 = (987654)"}},
    {"ARefusedPatternEndsTheSampleBeforeItsFirstLine", 4, 18, 0, nullptr, {}},
    {"NoFormatChosenWritesTheLabelsOnly",
     -1,
     18,
     0,
     "",
     {"_PI := ", "123456 = ", "0.0012 = ", "-987654.321 = "}},
};

void PrintTo(const SampleCase& c, std::ostream* os) {
    *os << c.name;
}

class NumberSample : public testing::TestWithParam<SampleCase> {};

TEST_P(NumberSample, Lines) {
    const SampleCase& c = GetParam();
    const std::string pattern = c.pattern ? c.pattern : std::string(300, '0');
    EXPECT_EQ(NumberSampleLines(c.format, c.precision, c.digits, pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Options, NumberSample, testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OptionSamples, AnswerLineIsTwoPiInGeneralText) {
    EXPECT_EQ(SampleAnswerLine(), "2*PI ==> 6.28318530717959");
}

// ---- the dialog ------------------------------------------------------------------------

// Records, for each apply call, its name and the record as it stood at that moment.
class FakeHost final : public OptionsHost {
public:
    TSettingsRecord record;
    std::vector<std::string> calls;
    std::vector<TSettingsRecord> seen;

    QWidget* promptParent() override { return nullptr; }
    TSettingsRecord& settingsRecord() override { return record; }
    bool ShowModal(TFrmOptions& dialog) override { return dialog.exec() == QDialog::Accepted; }
    void ApplyLanguage() override { note("ApplyLanguage"); }
    void ApplyEditorFont() override { note("ApplyEditorFont"); }
    void ApplyWindowStyle() override { note("ApplyWindowStyle"); }
    void ApplyTipHint() override { note("ApplyTipHint"); }
    void ApplyDocumentColours() override { note("ApplyDocumentColours"); }
    void UpdateTitleAndStatus() override { note("UpdateTitleAndStatus"); }
    void ColourAllAnswers() override { note("ColourAllAnswers"); }

    const TSettingsRecord& at(const std::string& call) const {
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i] == call) return seen[i];
        throw std::out_of_range(call);
    }

private:
    void note(const char* name) {
        calls.push_back(name);
        seen.push_back(record);
    }
};

class OptionsDialogTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        host.record.Language = 1;
        host.record.OptNumFormatStr = std::string(kDefaultNumFormatStr);
    }

    // A dialog filled from the host's record.
    std::unique_ptr<TFrmOptions> open() {
        auto d = MakeOptionsDialog(host.record.Language, nullptr);
        FillOptionsDialog(*d, host.record);
        return d;
    }
    // Fills a dialog from the record, lets `edit` change it, and confirms it.
    void confirm(const std::function<void(TFrmOptions&)>& edit = {}) {
        auto d = open();
        if (edit) edit(*d);
        ConfirmOptionsDialog(*d, host);
    }

    FakeHost host;
};

TEST_F(OptionsDialogTest, OpensWithTheSampleOfTheStoredFormat) {
    auto d = open();
    EXPECT_EQ(d->NumberSample(), (QStringList{"_PI := 3.14159265358979324", "123456 = 123456",
                                              "0.0012 = 0.0012", "-987654.321 = -987654.321"}));
    EXPECT_TRUE(d->EditPrecision->isEnabled());
    EXPECT_TRUE(d->EditDigits->isEnabled());
    EXPECT_FALSE(d->CboUserDefinitionFormat->isEnabled());
    EXPECT_EQ(d->size(), QSize(359, 288));
    EXPECT_EQ(d->PageControl1->count(), 7);
    EXPECT_EQ(d->PageControl1->currentIndex(), 0);
}

TEST_F(OptionsDialogTest, UserDefinitionSwapsTheEnabledFieldsAndFormatsByThePattern) {
    auto d = open();
    d->RGrpNumFormat->Item(4)->click();
    EXPECT_FALSE(d->EditPrecision->isEnabled());
    EXPECT_FALSE(d->UpDown1->isEnabled());
    EXPECT_FALSE(d->EditDigits->isEnabled());
    EXPECT_TRUE(d->CboUserDefinitionFormat->isEnabled());
    EXPECT_EQ(d->NumberSample().value(1), "123456 = 123,456.000");
    // Choosing another offered pattern rebuilds the sample on the way.
    d->CboUserDefinitionFormat->setCurrentIndex(1);
    EXPECT_EQ(d->NumberSample().value(1), "123456 = 123,456");
}

TEST_F(OptionsDialogTest, FieldThatIsNotAnIntegerFreezesTheSampleButNotTheEnabling) {
    auto d = open();
    const QStringList before = d->NumberSample();
    d->EditPrecision->setText("1x");
    d->RGrpNumFormat->Item(2)->click();
    EXPECT_EQ(d->NumberSample(), before);
    d->RGrpNumFormat->Item(4)->click();
    EXPECT_EQ(d->NumberSample(), before);
    EXPECT_TRUE(d->CboUserDefinitionFormat->isEnabled());
    d->EditPrecision->setText(" 5 ");
    EXPECT_NE(d->NumberSample(), before);
}

TEST_F(OptionsDialogTest, UpDownStepsWithinItsRangeWithoutWrapping) {
    auto d = open();
    struct Step {
        const char* typed;
        int delta;
        const char* shown;
    };
    const Step steps[] = {
        {"17", +1, "18"}, {"18", +1, "18"}, {"25", +1, "18"}, {"25", -1, "17"},
        {"0", -1, "0"},   {"-4", +1, "1"},  {"", +1, "2"},  // empty: steps from the position
    };
    for (const Step& s : steps) {
        d->EditPrecision->setText(s.typed);
        d->UpDown1->Step(s.delta);
        EXPECT_EQ(d->EditPrecision->text(), s.shown) << s.typed << " " << s.delta;
    }
    d->EditDigits->setText("3");
    QTest::keyClick(d->EditDigits, Qt::Key_Up);
    EXPECT_EQ(d->EditDigits->text(), "4");
}

// One stored value, what the dialog shows for it and what confirming stores.
struct StoredCase {
    const char* name;
    std::function<void(TSettingsRecord&)> store;
    std::function<void(TFrmOptions&)> edit;  // may be empty
    std::function<void(const TFrmOptions&)> shown;
    std::function<void(const TSettingsRecord&)> stored;
};

TEST_F(OptionsDialogTest, StoredValuesShowAndStoreBack) {
    const StoredCase cases[] = {
        {"format 9 shows User definition and is stored as 4",
         [](TSettingsRecord& s) { s.OptNumFormat = 9; },
         {},
         [](const TFrmOptions& d) { EXPECT_EQ(d.RGrpNumFormat->ItemIndex(), 4); },
         [](const TSettingsRecord& s) { EXPECT_EQ(s.OptNumFormat, 4); }},
        {"a negative format chooses none and is stored as -1",
         [](TSettingsRecord& s) { s.OptNumFormat = -3; },
         {},
         [](const TFrmOptions& d) { EXPECT_EQ(d.RGrpNumFormat->ItemIndex(), -1); },
         [](const TSettingsRecord& s) { EXPECT_EQ(s.OptNumFormat, -1); }},
        {"precision typed beyond the up-down range is stored as typed",
         {},
         [](TFrmOptions& d) { d.EditPrecision->setText("25"); },
         {},
         [](const TSettingsRecord& s) { EXPECT_EQ(s.OptPrecision, 25); }},
        {"an emptied precision keeps the old precision",
         [](TSettingsRecord& s) { s.OptPrecision = 12; },
         [](TFrmOptions& d) {
             d.EditPrecision->clear();
             d.EditDigits->setText("4");
         },
         {},
         [](const TSettingsRecord& s) {
             EXPECT_EQ(s.OptPrecision, 12);
             EXPECT_EQ(s.OptDigits, 4);
         }},
        {"a stored precision beyond the range is shown unclamped",
         [](TSettingsRecord& s) { s.OptPrecision = 30; },
         {},
         [](const TFrmOptions& d) { EXPECT_EQ(d.EditPrecision->text(), "30"); },
         [](const TSettingsRecord& s) { EXPECT_EQ(s.OptPrecision, 30); }},
        {"a key action outside 1 to 3 chooses no entry and is stored as 0",
         [](TSettingsRecord& s) {
             s.OptReturn = 0;
             s.OptShiftReturn = 7;
             s.OptCtrlReturn = 2;
         },
         {},
         [](const TFrmOptions& d) {
             EXPECT_EQ(d.CboReturn->currentIndex(), -1);
             EXPECT_EQ(d.CboShiftReturn->currentIndex(), -1);
             EXPECT_EQ(d.CboCtrlReturn->currentIndex(), 1);
         },
         [](const TSettingsRecord& s) {
             EXPECT_EQ(s.OptReturn, 0);
             EXPECT_EQ(s.OptShiftReturn, 0);
             EXPECT_EQ(s.OptCtrlReturn, 2);
         }},
        {"language 7 shows Japanese and is stored as 2",
         [](TSettingsRecord& s) { s.Language = 7; },
         {},
         [](const TFrmOptions& d) { EXPECT_EQ(d.RGrpLanguage->ItemIndex(), 1); },
         [](const TSettingsRecord& s) { EXPECT_EQ(s.Language, 2); }},
        {"the pattern is stored unchecked",
         {},
         [](TFrmOptions& d) { d.CboUserDefinitionFormat->setEditText("0.0\"x"); },
         {},
         [](const TSettingsRecord& s) { EXPECT_EQ(s.OptNumFormatStr, "0.0\"x"); }},
        {"clipboard choices and check boxes",
         [](TSettingsRecord& s) {
             s.OptNumFormatArray = 3;
             s.OptSemiTransparent = true;
         },
         [](TFrmOptions& d) {
             d.RGrpNumFormatClipboard->Item(1)->click();
             d.ChkShowTip->setChecked(false);
             d.ChkRecallFile->setChecked(false);
             d.ChkStayOnTop->setChecked(true);
         },
         [](const TFrmOptions& d) {
             EXPECT_EQ(d.RGrpArrayClipboardFormat->ItemIndex(), 3);
             EXPECT_TRUE(d.ChkSemiTransparent->isChecked());
             EXPECT_TRUE(d.ChkRecallVariables->isChecked());
         },
         [](const TSettingsRecord& s) {
             EXPECT_EQ(s.OptNumFormatClipboard, 1);
             EXPECT_EQ(s.OptNumFormatArray, 3);
             EXPECT_FALSE(s.TipHint);
             EXPECT_FALSE(s.OptRecallLastFile);
             EXPECT_TRUE(s.OptRecallLastVariables);
             EXPECT_TRUE(s.OptStayOnTop);
             EXPECT_TRUE(s.OptSemiTransparent);
             EXPECT_FALSE(s.OptSimpleMode);
         }},
        {"a colour with no name is shown by its number and kept",
         [](TSettingsRecord& s) { s.OptColorArrow = 0x0012ABCD; },
         {},
         [](const TFrmOptions& d) {
             EXPECT_EQ(d.CboColorArrow->currentIndex(), -1);
             EXPECT_EQ(d.CboColorArrow->placeholderText(), "$0012ABCD");
             EXPECT_EQ(d.CboBackground->currentText(), "clWindow");
         },
         [](const TSettingsRecord& s) {
             EXPECT_EQ(s.OptColorArrow, 0x0012ABCDu);
             EXPECT_EQ(s.OptColorBack, clWindow);
         }},
        {"a chosen colour name stores its value",
         [](TSettingsRecord& s) { s.OptColorArrow = 0x0012ABCD; },
         [](TFrmOptions& d) {
             d.CboColorArrow->setCurrentText("clNavy");
             d.CboBackground->setCurrentText("clBtnFace");
         },
         {},
         [](const TSettingsRecord& s) {
             EXPECT_EQ(s.OptColorArrow, 0x800000u);
             EXPECT_EQ(s.OptColorBack, 0x8000000Fu);
         }},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        host.record = TSettingsRecord{};
        host.record.Language = 1;
        if (c.store) c.store(host.record);
        auto d = open();
        if (c.shown) c.shown(*d);
        if (c.edit) c.edit(*d);
        ConfirmOptionsDialog(*d, host);
        c.stored(host.record);
    }
}

TEST_F(OptionsDialogTest, ConfirmationAppliesEachGroupAfterStoringIt) {
    confirm([](TFrmOptions& d) {
        d.RGrpLanguage->Item(1)->click();
        d.SetDialogFont(QFont("DejaVu Sans", 14));
        d.ChkSimpleMode->setChecked(true);
        d.ChkShowTip->setChecked(false);
        d.CboBackground->setCurrentText("clYellow");
    });
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"ApplyLanguage", "ApplyEditorFont", "ApplyWindowStyle",
                                        "ApplyTipHint", "ApplyDocumentColours"}));
    // Each group is in the record when its apply runs, the later ones not yet.
    EXPECT_EQ(host.at("ApplyLanguage").Language, 2);
    EXPECT_EQ(host.at("ApplyLanguage").FontSize, 9);
    EXPECT_EQ(host.at("ApplyEditorFont").FontSize, 14);
    EXPECT_EQ(host.at("ApplyEditorFont").FontName, "DejaVu Sans");
    EXPECT_FALSE(host.at("ApplyEditorFont").OptSimpleMode);
    EXPECT_TRUE(host.at("ApplyWindowStyle").OptSimpleMode);
    EXPECT_TRUE(host.at("ApplyWindowStyle").TipHint);
    EXPECT_FALSE(host.at("ApplyTipHint").TipHint);
    EXPECT_EQ(host.at("ApplyTipHint").OptColorBack, clWindow);
    EXPECT_EQ(host.at("ApplyDocumentColours").OptColorBack, 0x00FFFFu);
}

TEST_F(OptionsDialogTest, ColourListsHoldTheNamedColoursInOrder) {
    auto d = open();
    for (QComboBox* list :
         {d->CboBackground, d->CboColorExpression, d->CboColorArrow, d->CboColorAnswer}) {
        ASSERT_EQ(list->count(), 52);
        EXPECT_EQ(list->itemText(0), "clBlack");
        EXPECT_EQ(list->itemText(29), "clDefault");
        EXPECT_EQ(list->itemText(51), "clWindowText");
    }
    EXPECT_EQ(d->CboBackground->currentText(), "clWindow");
    EXPECT_EQ(d->CboColorExpression->currentText(), "clWindowText");
    EXPECT_EQ(d->CboColorArrow->currentText(), "clRed");
    EXPECT_EQ(d->CboColorAnswer->currentText(), "clGreen");
    // Every name maps back to its own value, and no two names share one.
    for (std::size_t i = 0; i < kColourNames.size(); ++i) {
        EXPECT_EQ(ColourNameIndex(kColourNames[i].Value), static_cast<int>(i))
            << kColourNames[i].Name;
        EXPECT_EQ(ColourFromName(kColourNames[i].Name), kColourNames[i].Value);
    }
    EXPECT_EQ(ColourToString(0x80000005u), "clWindow");
    EXPECT_EQ(ColourToString(0x00000001u), "$00000001");
}

TEST_F(OptionsDialogTest, ColourSamplePaintsExpressionArrowAndAnswer) {
    auto d = open();
    d->CboColorExpression->setCurrentText("clBlue");
    d->CboColorArrow->setCurrentText("clFuchsia");
    d->CboColorAnswer->setCurrentText("clMaroon");
    d->CboBackground->setCurrentText("clCream");
    const auto colourAt = [&](int position) {
        QTextCursor c(d->REditColorSample->document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color();
    };
    EXPECT_EQ(d->REditColorSample->toPlainText(), "2*PI ==> 6.28318530717959");
    EXPECT_EQ(colourAt(0), QColor(0, 0, 255));
    EXPECT_EQ(colourAt(3), QColor(0, 0, 255));
    EXPECT_EQ(colourAt(4), QColor(255, 0, 255));
    EXPECT_EQ(colourAt(8), QColor(255, 0, 255));
    EXPECT_EQ(colourAt(9), QColor(128, 0, 0));
    EXPECT_EQ(colourAt(24), QColor(128, 0, 0));
    EXPECT_EQ(d->REditColorSample->palette().color(QPalette::Base), QColor(255, 251, 240));
}

TEST_F(OptionsDialogTest, FontDialogChoiceLosesItsStyle) {
    ScriptedFontChooser chooser;
    QFont bold("DejaVu Sans Mono", 12);
    bold.setBold(true);
    bold.setItalic(true);
    chooser.fonts = {bold, std::nullopt};
    host.record.FontName = "DejaVu Serif";
    host.record.FontSize = 10;
    auto d = open();
    EXPECT_EQ(d->LblFontName->text(), "DejaVu Serif");
    EXPECT_EQ(d->LblFontSize->text(), "10");

    d->BitBtn3->click();
    ASSERT_EQ(chooser.offered.size(), 1u);
    EXPECT_EQ(chooser.offered[0].family(), "DejaVu Serif");
    EXPECT_EQ(d->LblFontName->text(), "DejaVu Sans Mono");
    EXPECT_EQ(d->LblFontSize->text(), "12");
    EXPECT_FALSE(d->DialogFont().bold());
    EXPECT_FALSE(d->DialogFont().italic());
    EXPECT_FALSE(d->MemoFontSample->font().bold());
    EXPECT_EQ(d->MemoFontSample->font().pointSize(), 12);
    EXPECT_EQ(d->REditColorSample->font().pointSize(), 12);
    EXPECT_EQ(d->MemoFontSample->toPlainText(),
              "2*PI ==> 6.28318530717959\n(-b+SQRT(b^2-4*a*c))/(2*a) ==> 3");

    d->BitBtn3->click();  // cancelled: the font stays
    EXPECT_EQ(d->LblFontName->text(), "DejaVu Sans Mono");
    ConfirmOptionsDialog(*d, host);
    EXPECT_EQ(host.record.FontName, "DejaVu Sans Mono");
    EXPECT_EQ(host.record.FontSize, 12);
    EXPECT_FALSE(host.record.FontBold);
}

TEST_F(OptionsDialogTest, DialogLanguageFollowsTheSettingWhenOpened) {
    struct LanguageCase {
        int language;
        const char* caption;
        const char* firstPage;
        const char* cancel;
        bool japaneseClass;
    };
    const LanguageCase cases[] = {
        {1, "Options", "&Number format", "Cancel", false},
        {2, "オプション", "数値表現(&N)", "Cancel", true},
        {0, "オプション", "数値表現(&N)", "Cancel", true},
        {7, "オプション", "数値表現(&N)", "Cancel", true},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.language);
        auto d = MakeOptionsDialog(c.language, nullptr);
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(d->PageControl1->tabText(0), QString::fromUtf8(c.firstPage));
        EXPECT_EQ(d->BitBtn2->text(), c.cancel);
        EXPECT_EQ(dynamic_cast<TFrmOptionsJ*>(d.get()) != nullptr, c.japaneseClass);
        // The key-map labels keep their texts in both languages.
        EXPECT_EQ(d->findChild<QLabel*>("LblShiftReturn")->text(), "[Shift]+[Return]");
        EXPECT_EQ(d->CboReturn->count(), 3);
    }
    TFrmOptionsJ japanese;
    EXPECT_EQ(japanese.ChkSemiTransparent->text(), "非アクティブ時には半透明になる(&T)");
    EXPECT_EQ(japanese.RGrpNumFormat->Item(3)->text(), "エンジニア表記(&N)");
}

// ---- the command -----------------------------------------------------------------------

// Runs `answer` on the options dialog as soon as it is shown modally.
void WhenShown(std::function<void(TFrmOptions&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* d = qobject_cast<TFrmOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        answer(*d);
    });
}

TEST_F(OptionsDialogTest, CancelAfterChangingEveryPageChangesNoSetting) {
    const TSettingsRecord before = host.record;
    WhenShown([](TFrmOptions& d) {
        d.RGrpNumFormat->Item(2)->click();
        d.EditPrecision->setText("7");
        d.CboReturn->setCurrentIndex(2);
        d.RGrpArrayClipboardFormat->Item(2)->click();
        d.SetDialogFont(QFont("DejaVu Sans", 20));
        d.RGrpLanguage->Item(1)->click();
        d.ChkSimpleMode->setChecked(true);
        d.CboColorAnswer->setCurrentText("clAqua");
        d.BitBtn2->click();
    });
    RunOptionsCommand(host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"UpdateTitleAndStatus", "ColourAllAnswers"}));
    EXPECT_EQ(host.record.OptNumFormat, before.OptNumFormat);
    EXPECT_EQ(host.record.OptPrecision, before.OptPrecision);
    EXPECT_EQ(host.record.OptReturn, before.OptReturn);
    EXPECT_EQ(host.record.FontSize, before.FontSize);
    EXPECT_EQ(host.record.Language, before.Language);
    EXPECT_EQ(host.record.OptSimpleMode, before.OptSimpleMode);
    EXPECT_EQ(host.record.OptColorAnswer, before.OptColorAnswer);
}

TEST_F(OptionsDialogTest, OkStoresThenRefreshesTitleAndAnswers) {
    WhenShown([](TFrmOptions& d) {
        EXPECT_EQ(d.windowTitle(), "Options");
        d.RGrpNumFormat->Item(3)->click();
        d.BitBtn1->click();
    });
    RunOptionsCommand(host);
    EXPECT_EQ(host.record.OptNumFormat, 3);
    ASSERT_EQ(host.calls.size(), 7u);
    EXPECT_EQ(host.calls[5], "UpdateTitleAndStatus");
    EXPECT_EQ(host.calls[6], "ColourAllAnswers");
}

}  // namespace
}  // namespace tallyon
