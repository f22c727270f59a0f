// A host for the variables commands that answers from a script and records what it was
// asked, and the application object the offscreen window tests need.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <deque>
#include <functional>
#include <vector>

#include "QtTestApplication.h"
#include "variables/EnterValue.h"
#include "variables/VariablesHost.h"

namespace tallyon {

// A fixture's first base, so the application exists before any widget member is made.
struct ApplicationFirst {
    ApplicationFirst() { EnsureApplication(); }
};

// What the user does in one value dialog.
struct DialogScript {
    QString name;
    QString value;
    bool ok = true;  // false: Cancel
};

class ScriptedHost final : public VariablesHost {
public:
    int languageSetting = 1;
    std::deque<Answer> answers;        // for ask(); when dry: Cancel or No
    std::deque<QString> files;         // for both file dialogs; when dry: cancelled
    std::deque<DialogScript> dialogs;  // for the value dialog; when dry: Cancel

    QStringList questions;   // texts of ask()
    QStringList told;        // texts of tell()
    QStringList errors;      // texts of reportError()
    QStringList fileTitles;  // titles of the file dialogs, in order
    // The fields of each value dialog as it opened: (name, value).
    std::vector<std::pair<QString, QString>> dialogFields;

    int language() const override { return languageSetting; }
    QWidget* promptParent() override { return nullptr; }
    Answer ask(QWidget*, const QString& text, bool withCancel) override {
        questions << text;
        if (answers.empty()) return withCancel ? Answer::Cancel : Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void tell(QWidget*, const QString& text) override { told << text; }
    QString chooseOpenFile(QWidget*, const QString& title) override { return nextFile(title); }
    QString chooseSaveFile(QWidget*, const QString& title) override { return nextFile(title); }
    void reportError(QWidget*, const QString& message) override { errors << message; }

    // Types into the real fields and presses the real buttons; an OK that the dialog refuses
    // is followed by Cancel, as a user who gives up would do.
    bool runValueDialog(TFrmEnterValue& dialog) override {
        dialogFields.emplace_back(dialog.EditName->text(), dialog.EditValue->text());
        if (dialogs.empty()) return false;
        const DialogScript script = dialogs.front();
        dialogs.pop_front();
        dialog.EditName->setText(script.name);
        dialog.EditValue->setText(script.value);
        dialog.setResult(-1);
        if (script.ok) dialog.BitBtn1->click();
        if (dialog.result() == -1) dialog.BitBtn2->click();
        return dialog.result() == QDialog::Accepted;
    }

private:
    QString nextFile(const QString& title) {
        fileTitles << title;
        if (files.empty()) return {};
        QString f = files.front();
        files.pop_front();
        return f;
    }
};

}  // namespace tallyon
