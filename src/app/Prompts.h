// The one door through which the program asks the user something or tells them something:
// question boxes, error and information messages, and the open and save file dialogs.
//
// Every message box and file dialog of the window program goes through Prompts::current().
// The default implementation shows QMessageBox and QFileDialog; tests install a
// ScriptedPrompts that answers from a script and records what was asked, so windows can be
// driven offscreen without a modal dialog ever blocking.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace tallyon {

enum class PromptIcon { Information, Warning, Question, Error };

// The buttons a question may offer; a question's answer is one of them.
enum class PromptButton : unsigned { None = 0, Yes = 1, No = 2, Cancel = 4, Ok = 8 };
using PromptButtons = unsigned;  // bit set of PromptButton values
constexpr PromptButtons operator|(PromptButton a, PromptButton b) {
    return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}
constexpr PromptButtons operator|(PromptButtons a, PromptButton b) {
    return a | static_cast<unsigned>(b);
}

// What a file dialog shows. `filter` is pairs of description and pattern separated by "|"
// ("Tallyon document(*.tyq)|*.tyq|All files(*.*)|*.*"); the first pair is selected.
// `defaultSuffix` is added to a typed name that has none (without the dot, any case).
struct FileChoice {
    QString title;
    QString filter;
    QString defaultSuffix;
    QString initialName;  // preselected path or name; may be empty
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows `text` with the given buttons and icon; returns the button chosen. Closing the
    // box without choosing answers Cancel when offered, otherwise No.
    virtual PromptButton ask(QWidget* parent, const QString& title, const QString& text,
                             PromptButtons buttons, PromptIcon icon) = 0;
    // Shows a message with an OK button.
    virtual void tell(QWidget* parent, const QString& title, const QString& text,
                      PromptIcon icon) = 0;
    // Returns the chosen path, or an empty text when the user cancelled. The open dialog
    // accepts existing files only; the save dialog asks before overwriting.
    virtual QString chooseOpenFile(QWidget* parent, const FileChoice& choice) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const FileChoice& choice) = 0;
    // Shows one of the program's own dialogs modally; true when the user confirmed it.
    virtual bool runDialog(QDialog& dialog) = 0;

    // The prompts in use: the installed one, or the dialog-showing default.
    static Prompts& current();
    // Installs `prompts` (not owned) for every later call; nullptr restores the default.
    static void install(Prompts* prompts);

    // Turns a "|"-separated filter into Qt's "description (patterns);;..." form. A
    // description that already names its patterns in brackets is kept as it is.
    static QString qtFilter(const QString& pairs);
};

// Shows real dialogs.
class DialogPrompts final : public Prompts {
public:
    PromptButton ask(QWidget* parent, const QString& title, const QString& text,
                     PromptButtons buttons, PromptIcon icon) override;
    void tell(QWidget* parent, const QString& title, const QString& text, PromptIcon icon) override;
    QString chooseOpenFile(QWidget* parent, const FileChoice& choice) override;
    QString chooseSaveFile(QWidget* parent, const FileChoice& choice) override;
    bool runDialog(QDialog& dialog) override;
};

// Answers from a script and records every prompt, for tests. Questions take their answers
// from `answers` in order, file dialogs from `files`; when a script runs dry the answer is
// Cancel (or No when Cancel is not offered) and an empty path. The program's own dialogs are
// handed to `dialogs` in order, each answer working the dialog's controls and returning
// whether it confirms; a dry script cancels. Installs itself for its lifetime and restores
// the previous prompts when destroyed.
class ScriptedPrompts final : public Prompts {
public:
    enum class Kind { Ask, Tell, OpenFile, SaveFile, Dialog };
    struct Record {
        Kind kind;
        QString title;  // for the program's own dialogs, the dialog's caption
        QString text;   // message text, or the dialog's filter for file dialogs
        PromptButtons buttons = 0;
        PromptIcon icon = PromptIcon::Information;
        FileChoice choice;  // for file dialogs
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    std::deque<PromptButton> answers;
    std::deque<QString> files;
    std::deque<std::function<bool(QDialog&)>> dialogs;
    std::vector<Record> asked;

    PromptButton ask(QWidget* parent, const QString& title, const QString& text,
                     PromptButtons buttons, PromptIcon icon) override;
    void tell(QWidget* parent, const QString& title, const QString& text, PromptIcon icon) override;
    QString chooseOpenFile(QWidget* parent, const FileChoice& choice) override;
    QString chooseSaveFile(QWidget* parent, const FileChoice& choice) override;
    bool runDialog(QDialog& dialog) override;

    // Texts of every message shown with tell(), in order.
    QStringList messages() const;

private:
    Prompts* previous_;
    QString nextFile();
};

}  // namespace tallyon
