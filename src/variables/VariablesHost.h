// What the variables commands need from the program around them: the interface language,
// questions, file dialogs, the error report and the modal run of the value dialog. The window
// program answers through its prompts; tests answer from a script, so every command runs
// offscreen without a modal box ever blocking.
#pragma once

#include <QString>

class QWidget;

namespace tallyon {

class TFrmEnterValue;

class VariablesHost {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~VariablesHost() = default;

    // The setting Language: 1 English, every other value Japanese.
    virtual int language() const = 0;
    // Parent of the file commands' boxes and dialogs (the main window); may be nullptr.
    virtual QWidget* promptParent() = 0;

    // A confirmation box with Yes and No, and Cancel when `withCancel`. Closing the box
    // answers Cancel when offered, otherwise No.
    virtual Answer ask(QWidget* parent, const QString& text, bool withCancel) = 0;
    // An information message with an OK button.
    virtual void tell(QWidget* parent, const QString& text) = 0;
    // The document file dialogs under another title; an empty text when cancelled.
    virtual QString chooseOpenFile(QWidget* parent, const QString& title) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const QString& title) = 0;
    // The program's error report.
    virtual void reportError(QWidget* parent, const QString& message) = 0;
    // Shows the value dialog modally; true when it ended with OK.
    virtual bool runValueDialog(TFrmEnterValue& dialog) = 0;
};

}  // namespace tallyon
