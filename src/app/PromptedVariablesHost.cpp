// The variables commands' host over the prompts.
#include "app/PromptedVariablesHost.h"

#include "app/ErrorReport.h"
#include "app/FileCommands.h"
#include "app/Prompts.h"
#include "settings/SettingsRecord.h"
#include "variables/EnterValue.h"

namespace tallyon {

namespace {

const QString kTitle = QStringLiteral("Tallyon");

}  // namespace

int PromptedVariablesHost::language() const {
    return settings_.Language;
}

VariablesHost::Answer PromptedVariablesHost::ask(QWidget* parent, const QString& text,
                                                 bool withCancel) {
    PromptButtons buttons = PromptButton::Yes | PromptButton::No;
    if (withCancel) buttons = buttons | PromptButton::Cancel;
    switch (Prompts::current().ask(parent, kTitle, text, buttons, PromptIcon::Question)) {
        case PromptButton::Yes:
            return Answer::Yes;
        case PromptButton::No:
            return Answer::No;
        default:
            return withCancel ? Answer::Cancel : Answer::No;
    }
}

void PromptedVariablesHost::tell(QWidget* parent, const QString& text) {
    Prompts::current().tell(parent, kTitle, text, PromptIcon::Information);
}

QString PromptedVariablesHost::chooseOpenFile(QWidget* parent, const QString& title) {
    FileChoice choice = DocumentOpenChoice({});
    choice.title = title;
    return Prompts::current().chooseOpenFile(parent, choice);
}

QString PromptedVariablesHost::chooseSaveFile(QWidget* parent, const QString& title) {
    FileChoice choice = DocumentSaveChoice({});
    choice.title = title;
    return Prompts::current().chooseSaveFile(parent, choice);
}

void PromptedVariablesHost::reportError(QWidget*, const QString& message) {
    ReportError(message);
}

bool PromptedVariablesHost::runValueDialog(TFrmEnterValue& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tallyon
