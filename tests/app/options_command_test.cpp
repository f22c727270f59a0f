// The Options command run through the real main window: the dialog in the language of the
// moment, changes that take effect at once on OK (language, font, colours, window style,
// hints), and Cancel, which changes no setting but colours the answers and refreshes the
// title again.
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

#include "app/WindowFixture.h"
#include "settings/OptionControls.h"
#include "settings/Options.h"
#include "settings/OptionsJ.h"

namespace tallyon {
namespace {

class OptionsCommandTest : public WindowFixture {
protected:
    // Answers the next dialog by `edit`, confirming it when `ok`.
    void answer(std::function<void(TFrmOptions&)> edit, bool ok) {
        prompts.dialogs.push_back([edit, ok](QDialog& dialog) {
            auto* options = qobject_cast<TFrmOptions*>(&dialog);
            EXPECT_NE(options, nullptr);
            if (options) edit(*options);
            return ok;
        });
    }
    void runOptions() { window->action("AtnOptions")->trigger(); }

    QTextCharFormat formatAt(int position) const {
        QTextCursor c(editor()->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
};

TEST_F(OptionsCommandTest, OkAppliesLanguageFormatColoursAndStyleAtOnce) {
    start();
    window->settingsRecord().Language = 1;
    load({"1+2 ==> 3 "});
    answer(
        [](TFrmOptions& d) {
            EXPECT_EQ(d.windowTitle(), "Options");
            d.RGrpLanguage->Item(1)->click();
            d.RGrpNumFormat->Item(2)->click();
            d.EditDigits->setText("2");
            d.CboColorAnswer->setCurrentText("clBlue");
            d.ChkSimpleMode->setChecked(true);
        },
        true);
    runOptions();

    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].kind, ScriptedPrompts::Kind::Dialog);
    const TSettingsRecord& s = window->settingsRecord();
    EXPECT_EQ(s.Language, 2);
    EXPECT_EQ(window->action("AtnFileOpen")->text(), QString::fromUtf8("開く(&O)..."));
    EXPECT_EQ(window->findChild<QMenu*>("File1")->title(), QString::fromUtf8("ファイル(&F)"));
    EXPECT_EQ(s.OptNumFormat, 2);
    EXPECT_EQ(s.OptDigits, 2);
    EXPECT_TRUE(s.OptSimpleMode);
    EXPECT_FALSE(window->MainMenu1->isVisible());
    EXPECT_EQ(formatAt(8).foreground().color(), QColor(0, 0, 255));
    EXPECT_TRUE(editor()->isProtectedAt(8));

    // The next opening shows the Japanese dialog; the new format writes the next answer.
    answer([](TFrmOptions& d) { EXPECT_NE(qobject_cast<TFrmOptionsJ*>(&d), nullptr); }, false);
    runOptions();
    EXPECT_EQ(prompts.asked.at(1).title, QString::fromUtf8("オプション"));
    type({"1/3"});
    press(Qt::Key_Return);
    EXPECT_EQ(lines().value(0), "1/3 ==> 0.33 ");
}

TEST_F(OptionsCommandTest, FontTakesNameAndSizeButNoStyle) {
    start();
    answer(
        [](TFrmOptions& d) {
            QFont bold("DejaVu Sans Mono", 14);
            bold.setBold(true);
            d.SetDialogFont(bold);
        },
        true);
    runOptions();
    EXPECT_EQ(window->settingsRecord().FontName, "DejaVu Sans Mono");
    EXPECT_EQ(window->settingsRecord().FontSize, 14);
    EXPECT_EQ(editor()->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(editor()->font().pointSize(), 14);
    EXPECT_FALSE(editor()->font().bold());
}

TEST_F(OptionsCommandTest, CancelKeepsSettingsButColoursAnswersAndTitleAgain) {
    start();
    load({"1+2 ==> 3 "});
    const TSettingsRecord before = window->settingsRecord();
    // Lose the answer's colour and the title, as a stale display would.
    {
        TDocumentEditor::BusyHold busy(*editor());
        QTextCursor c(editor()->document());
        c.setPosition(3);
        c.setPosition(10, QTextCursor::KeepAnchor);
        c.setCharFormat(TDocumentEditor::plainFormat());
    }
    window->setWindowTitle("stale");
    answer(
        [](TFrmOptions& d) {
            d.RGrpNumFormat->Item(4)->click();
            d.CboReturn->setCurrentIndex(2);
            d.RGrpLanguage->Item(1)->click();
            d.ChkStayOnTop->setChecked(true);
            d.CboBackground->setCurrentText("clBlack");
        },
        false);
    runOptions();
    const TSettingsRecord& s = window->settingsRecord();
    EXPECT_EQ(s.OptNumFormat, before.OptNumFormat);
    EXPECT_EQ(s.OptReturn, before.OptReturn);
    EXPECT_EQ(s.Language, before.Language);
    EXPECT_EQ(s.OptStayOnTop, before.OptStayOnTop);
    EXPECT_EQ(s.OptColorBack, before.OptColorBack);
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_EQ(formatAt(8).foreground().color(), QColor(0, 128, 0));
    EXPECT_TRUE(editor()->isProtectedAt(8));
}

// Counts the tool-tip events that reach the widget it watches.
class TipCounter final : public QObject {
public:
    int tips = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ToolTip) ++tips;
        return false;
    }
};

TEST_F(OptionsCommandTest, TipHelpOffSilencesTheToolBarTips) {
    start();
    QToolButton* button = nullptr;
    for (QToolButton* b : window->ToolBar1->findChildren<QToolButton*>())
        if (b->defaultAction() == window->action("AtnOptions")) button = b;
    ASSERT_NE(button, nullptr);
    TipCounter counter;
    button->installEventFilter(&counter);
    const auto tipReaches = [&] {
        const int before = counter.tips;
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &tip);
        return counter.tips > before;
    };
    ASSERT_TRUE(tipReaches());
    answer([](TFrmOptions& d) { d.ChkShowTip->setChecked(false); }, true);
    runOptions();
    EXPECT_FALSE(window->settingsRecord().TipHint);
    EXPECT_FALSE(tipReaches());
    answer([](TFrmOptions& d) { d.ChkShowTip->setChecked(true); }, true);
    runOptions();
    EXPECT_TRUE(tipReaches());
}

}  // namespace
}  // namespace tallyon
