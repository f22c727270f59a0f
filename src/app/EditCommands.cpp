// The Edit menu's commands and the enable rules of the main window (see EditCommands.h).
#include "app/EditCommands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMimeData>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace tallyon {

namespace {

QClipboard* systemClipboard() {
    return QGuiApplication::clipboard();
}

struct CommandRule {
    const char* command;
    EnableRule rule;
};

// Commands whose enabled state depends on the document or the clipboard. Every other
// command (New, Open, Save As, Exit, the variables-file commands, Options, Calculate, the
// Insert and Help commands, Select All, ...) is always enabled.
constexpr CommandRule kCommandRules[] = {
    {"AtnEditCopy", EnableRule::Selection},     {"AtnEditCut", EnableRule::Selection},
    {"AtnEditDelete", EnableRule::Selection},   {"AtnEditPaste", EnableRule::ClipboardText},
    {"AtnEditUndo", EnableRule::CanUndo},       {"AtnFileSave", EnableRule::Modified},
    {"AtnTallyonReCalc", EnableRule::HasLines}, {"AtnTallyonRemoveAnswers", EnableRule::HasLines},
};

constexpr const char* kSimpleWindowCommand = "AtnOptionsSimpleWindow";

}  // namespace

const EditShortcuts kEditShortcuts[6] = {
    {"AtnEditUndo", "Alt+Backspace; Ctrl+Z"},
    {"AtnEditCut", "Shift+Del; Ctrl+X"},
    {"AtnEditCopy", "Ctrl+Ins; Ctrl+C"},
    {"AtnEditPaste", "Shift+Ins; Ctrl+V"},
    {"AtnEditDelete", "Ctrl+Del"},
    {"AtnEditSelectAll", "Ctrl+A"},
};

QString SelectedPlainText(const QTextCursor& cursor) {
    return cursor.selection().toPlainText();
}

void EditUndo(EditorAccess& editor) {
    QTextCursor cursor = editor.textCursor();
    editor.textDocument()->undo(&cursor);
    editor.setTextCursor(cursor);
}

void EditCopy(EditorAccess& editor) {
    const QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection()) return;
    systemClipboard()->setText(SelectedPlainText(cursor));
}

void EditCut(EditorAccess& editor) {
    QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection()) return;
    systemClipboard()->setText(SelectedPlainText(cursor));
    cursor.removeSelectedText();
    editor.setTextCursor(cursor);
}

void EditPaste(EditorAccess& editor) {
    // text() is the plain-text form of whatever the clipboard holds.
    const QString text = systemClipboard()->text();
    if (text.isEmpty()) return;
    QTextCursor cursor = editor.textCursor();
    cursor.insertText(text);
    editor.setTextCursor(cursor);
}

void EditDelete(EditorAccess& editor) {
    QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection()) return;
    cursor.removeSelectedText();
    editor.setTextCursor(cursor);
}

void EditSelectAll(EditorAccess& editor) {
    QTextCursor cursor = editor.textCursor();
    cursor.select(QTextCursor::Document);
    editor.setTextCursor(cursor);
}

CommandState ReadCommandState(const EditorAccess& editor, bool simpleMode) {
    CommandState state;
    const QTextDocument* document = editor.textDocument();
    state.hasSelection = editor.textCursor().hasSelection();
    const QMimeData* data = systemClipboard()->mimeData();
    state.clipboardHasText = data != nullptr && data->hasText() && !data->text().isEmpty();
    state.canUndo = document->isUndoAvailable();
    state.modified = document->isModified();
    state.hasLines = !document->isEmpty();
    state.simpleMode = simpleMode;
    return state;
}

EnableRule RuleOf(QStringView commandName) {
    for (const CommandRule& r : kCommandRules)
        if (commandName == QLatin1StringView(r.command)) return r.rule;
    return EnableRule::Always;
}

bool RuleHolds(EnableRule rule, const CommandState& state) {
    switch (rule) {
        case EnableRule::Selection:
            return state.hasSelection;
        case EnableRule::ClipboardText:
            return state.clipboardHasText;
        case EnableRule::CanUndo:
            return state.canUndo;
        case EnableRule::Modified:
            return state.modified;
        case EnableRule::HasLines:
            return state.hasLines;
        case EnableRule::Always:
            return true;
    }
    return true;
}

void ApplyEnableRules(const QList<QAction*>& actions, const CommandState& state) {
    for (QAction* action : actions) {
        const QString name = action->objectName();
        if (!name.startsWith(QLatin1StringView("Atn"))) continue;
        action->setEnabled(RuleHolds(RuleOf(name), state));
        if (name == QLatin1StringView(kSimpleWindowCommand)) action->setChecked(state.simpleMode);
    }
}

void AssignEditShortcuts(const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        for (const EditShortcuts& s : kEditShortcuts) {
            if (action->objectName() != QLatin1StringView(s.command)) continue;
            QList<QKeySequence> keys;
            for (const QString& k : QString::fromLatin1(s.keys).split(QStringLiteral("; ")))
                keys << QKeySequence(k, QKeySequence::PortableText);
            action->setShortcuts(keys);
        }
    }
}

}  // namespace tallyon
