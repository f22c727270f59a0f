// The variables commands' host in the window program: questions and file dialogs through
// the prompts, the document file dialogs under the variables titles, the standard error
// report, and the value dialog run modally.
#pragma once

#include "variables/VariablesHost.h"

namespace tallyon {

struct TSettingsRecord;

class PromptedVariablesHost final : public VariablesHost {
public:
    // Links (never owns) the main window and its settings.
    PromptedVariablesHost(QWidget* mainWindow, const TSettingsRecord& settings)
        : mainWindow_(mainWindow), settings_(settings) {}

    int language() const override;
    QWidget* promptParent() override { return mainWindow_; }
    Answer ask(QWidget* parent, const QString& text, bool withCancel) override;
    void tell(QWidget* parent, const QString& text) override;
    QString chooseOpenFile(QWidget* parent, const QString& title) override;
    QString chooseSaveFile(QWidget* parent, const QString& title) override;
    void reportError(QWidget* parent, const QString& message) override;
    bool runValueDialog(TFrmEnterValue& dialog) override;

private:
    QWidget* mainWindow_;
    const TSettingsRecord& settings_;
};

}  // namespace tallyon
