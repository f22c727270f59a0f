// Default dialogs and the scripted stand-in behind Prompts.
#include "app/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tallyon {

namespace {

Prompts* installed = nullptr;

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// Our buttons and Qt's, side by side.
struct ButtonPair {
    PromptButton ours;
    QMessageBox::StandardButton qt;
};
constexpr ButtonPair kButtons[] = {
    {PromptButton::Yes, QMessageBox::Yes},
    {PromptButton::No, QMessageBox::No},
    {PromptButton::Cancel, QMessageBox::Cancel},
    {PromptButton::Ok, QMessageBox::Ok},
};

bool offers(PromptButtons buttons, PromptButton b) {
    return (buttons & static_cast<unsigned>(b)) != 0;
}

PromptButton dismissed(PromptButtons buttons) {
    if (offers(buttons, PromptButton::Cancel)) return PromptButton::Cancel;
    if (offers(buttons, PromptButton::No)) return PromptButton::No;
    return PromptButton::Ok;
}

// Splits the description from its "(patterns)" tail and returns the dialog filter entry.
QString filterEntry(const QString& description, const QString& pattern) {
    if (description.contains('(')) {
        // "Tallyon document(*.tyq)" already shows its patterns; Qt wants a blank before
        // the bracket to recognise them.
        QString d = description;
        const qsizetype open = d.lastIndexOf('(');
        if (open > 0 && d.at(open - 1) != ' ') d.insert(open, ' ');
        return d;
    }
    return description + " (" + QString(pattern).replace(';', ' ') + ")";
}

QFileDialog::Options dialogOptions() {
    return QFileDialog::DontUseNativeDialog;
}

}  // namespace

Prompts& Prompts::current() {
    static DialogPrompts dialogs;
    return installed ? *installed : dialogs;
}

void Prompts::install(Prompts* prompts) {
    installed = prompts;
}

QString Prompts::qtFilter(const QString& pairs) {
    const QStringList parts = pairs.split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << filterEntry(parts[i], parts[i + 1]);
    return entries.join(";;");
}

PromptButton DialogPrompts::ask(QWidget* parent, const QString& title, const QString& text,
                                PromptButtons buttons, PromptIcon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, parent);
    for (const ButtonPair& b : kButtons)
        if (offers(buttons, b.ours)) box.addButton(b.qt);
    const int chosen = box.exec();
    for (const ButtonPair& b : kButtons)
        if (chosen == b.qt) return b.ours;
    return dismissed(buttons);
}

void DialogPrompts::tell(QWidget* parent, const QString& title, const QString& text,
                         PromptIcon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString DialogPrompts::chooseOpenFile(QWidget* parent, const FileChoice& choice) {
    QFileDialog dialog(parent, choice.title, choice.initialName, qtFilter(choice.filter));
    dialog.setOptions(dialogOptions());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(choice.defaultSuffix.toLower());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString DialogPrompts::chooseSaveFile(QWidget* parent, const FileChoice& choice) {
    QFileDialog dialog(parent, choice.title, choice.initialName, qtFilter(choice.filter));
    dialog.setOptions(dialogOptions());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(choice.defaultSuffix.toLower());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool DialogPrompts::runDialog(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

ScriptedPrompts::ScriptedPrompts() : previous_(installed) {
    install(this);
}

ScriptedPrompts::~ScriptedPrompts() {
    install(previous_);
}

PromptButton ScriptedPrompts::ask(QWidget*, const QString& title, const QString& text,
                                  PromptButtons buttons, PromptIcon icon) {
    asked.push_back({Kind::Ask, title, text, buttons, icon, {}});
    if (answers.empty()) return dismissed(buttons);
    const PromptButton answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompts::tell(QWidget*, const QString& title, const QString& text, PromptIcon icon) {
    asked.push_back({Kind::Tell, title, text, static_cast<unsigned>(PromptButton::Ok), icon, {}});
}

QString ScriptedPrompts::chooseOpenFile(QWidget*, const FileChoice& choice) {
    asked.push_back({Kind::OpenFile, choice.title, choice.filter, 0, PromptIcon::Question, choice});
    return nextFile();
}

QString ScriptedPrompts::chooseSaveFile(QWidget*, const FileChoice& choice) {
    asked.push_back({Kind::SaveFile, choice.title, choice.filter, 0, PromptIcon::Question, choice});
    return nextFile();
}

bool ScriptedPrompts::runDialog(QDialog& dialog) {
    asked.push_back({Kind::Dialog, dialog.windowTitle(), {}, 0, PromptIcon::Question, {}});
    if (dialogs.empty()) return false;
    const std::function<bool(QDialog&)> answer = std::move(dialogs.front());
    dialogs.pop_front();
    return answer(dialog);
}

QStringList ScriptedPrompts::messages() const {
    QStringList texts;
    for (const Record& r : asked)
        if (r.kind == Kind::Tell) texts << r.text;
    return texts;
}

QString ScriptedPrompts::nextFile() {
    if (files.empty()) return {};
    QString path = files.front();
    files.pop_front();
    return path;
}

}  // namespace tallyon
