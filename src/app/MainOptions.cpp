// The main window's side of the Options command (see MainOptions.h).
#include "app/MainOptions.h"

#include "app/MainWnd.h"
#include "app/Prompts.h"
#include "document/editor/DocumentEditor.h"
#include "settings/Options.h"

namespace tallyon {

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
    window_.ApplyLanguage();
}

void MainOptionsHost::ApplyEditorFont() {
    window_.ApplyEditorFont();
}

void MainOptionsHost::ApplyWindowStyle() {
    window_.ApplyWindowStyle();
}

// The window's hint switch reads `TipHint` whenever a tool tip is due.
void MainOptionsHost::ApplyTipHint() {}

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
