// The main window's side of the Options command (see MainOptions.h).
#include "app/MainOptions.h"

#include <QApplication>
#include <QEvent>

#include "app/MainWnd.h"
#include "app/Prompts.h"
#include "document/editor/DocumentEditor.h"
#include "document/editor/DocumentFont.h"
#include "settings/Options.h"

namespace tallyon {

namespace {

// Swallows the tool-tip events of the main window's widgets while its hints are off.
class TipHintFilter final : public QObject {
public:
    explicit TipHintFilter(TFrmMain& window) : QObject(&window), window_(window) {
        setObjectName("TipHintFilter");
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::ToolTip || window_.settingsRecord().TipHint) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget->window() == &window_;
    }

private:
    TFrmMain& window_;
};

}  // namespace

void ApplyTipHint(TFrmMain& window) {
    // The filter reads the switch when a tip is due; one filter serves every change.
    if (!window.findChild<TipHintFilter*>("TipHintFilter", Qt::FindDirectChildrenOnly))
        new TipHintFilter(window);
}

QWidget* MainOptionsHost::promptParent() {
    return &window_;
}

TSettingsRecord& MainOptionsHost::settingsRecord() {
    return window_.settingsRecord();
}

bool MainOptionsHost::ShowModal(TFrmOptions& dialog) {
    return Prompts::current().runDialog(dialog);
}

void MainOptionsHost::ApplyLanguage() {
    window_.ApplyCommandTexts(window_.settingsRecord().Language);
}

void MainOptionsHost::ApplyEditorFont() {
    const TSettingsRecord& s = window_.settingsRecord();
    window_.REdit1->setFont(DocumentFont(QString::fromStdString(s.FontName), s.FontSize, s.FontBold,
                                         s.FontItalic, s.FontUnderline));
}

void MainOptionsHost::ApplyWindowStyle() {
    window_.ApplyWindowStyle();
}

void MainOptionsHost::ApplyTipHint() {
    tallyon::ApplyTipHint(window_);
}

void MainOptionsHost::ApplyDocumentColours() {
    const TSettingsRecord& s = window_.settingsRecord();
    window_.REdit1->setColours(
        {s.OptColorBack, s.OptColorExpression, s.OptColorArrow, s.OptColorAnswer});
}

void MainOptionsHost::UpdateTitleAndStatus() {
    window_.UpdateTitleAndStatus();
}

void MainOptionsHost::ColourAllAnswers() {
    window_.REdit1->ColourAllAnswers(true);
}

}  // namespace tallyon
