// The Edit menu's commands and the enable rules of the main window (see EditCommands.h).
#include "app/EditCommands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include "document/editor/DocumentEditor.h"

namespace tallyon {

namespace {

enum class EnableRule { Selection, ClipboardText, CanUndo, Modified, HasLines, Always };

struct CommandRule {
    const char* command;
    EnableRule rule;
};

// Commands whose enabled state depends on the document or the clipboard. Every other
// command (New, Open, Save As, Exit, the variables-file commands, Options, Calculate, the
// Insert and Help commands, Select All, ...) is always enabled.
constexpr CommandRule kCommandRules[] = {
    {"AtnEditCopy", EnableRule::Selection},             // AtnEditCopyUpdate
    {"AtnEditCut", EnableRule::Selection},              // AtnEditCopyUpdate
    {"AtnEditDelete", EnableRule::Selection},           // AtnEditCopyUpdate
    {"AtnEditPaste", EnableRule::ClipboardText},        // AtnEditPasteUpdate
    {"AtnEditUndo", EnableRule::CanUndo},               // AtnEditUndoUpdate
    {"AtnFileSave", EnableRule::Modified},              // AtnFileSaveUpdate
    {"AtnTallyonReCalc", EnableRule::HasLines},         // AtnTallyonReCalcUpdate
    {"AtnTallyonRemoveAnswers", EnableRule::HasLines},  // AtnTallyonReCalcUpdate
};

constexpr const char* kSimpleWindowCommand = "AtnOptionsSimpleWindow";

struct CommandKeys {
    const char* command;
    const char* keys;  // portable key sequences separated by ", "
};

// The design's keys come first; Ctrl+Z/X/C/V/A are what users of this platform press.
constexpr CommandKeys kEditKeys[] = {
    {"AtnEditUndo", "Alt+Backspace, Ctrl+Z"},
    {"AtnEditCut", "Shift+Del, Ctrl+X"},
    {"AtnEditCopy", "Ctrl+Ins, Ctrl+C"},
    {"AtnEditPaste", "Shift+Ins, Ctrl+V"},
    {"AtnEditDelete", "Ctrl+Del"},
    {"AtnEditSelectAll", "Ctrl+A"},
};

QList<QKeySequence> keysOf(const char* keys) {
    QList<QKeySequence> list;
    for (const QString& k : QString::fromLatin1(keys).split(QStringLiteral(", ")))
        list << QKeySequence(k, QKeySequence::PortableText);
    return list;
}

// The rule of the command called `commandName`; Always for one the table does not name.
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

}  // namespace

void EditUndo(TDocumentEditor& editor) {
    editor.undo();
}

void EditCut(TDocumentEditor& editor) {
    if (editor.textCursor().hasSelection()) editor.cutSelection();
}

void EditCopy(TDocumentEditor& editor) {
    editor.copy();
}

void EditPaste(TDocumentEditor& editor) {
    editor.pastePlainText();
}

void EditDelete(TDocumentEditor& editor) {
    editor.deleteSelection();
}

void EditSelectAll(TDocumentEditor& editor) {
    editor.selectAll();
}

CommandState ReadCommandState(const TDocumentEditor& editor, bool simpleMode) {
    CommandState state;
    const QTextDocument* document = editor.document();
    state.hasSelection = editor.textCursor().hasSelection();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    state.clipboardHasText = data != nullptr && data->hasText() && !data->text().isEmpty();
    state.canUndo = document->isUndoAvailable();
    state.modified = editor.isModified();
    state.hasLines = editor.lineCount() > 0;
    state.simpleMode = simpleMode;
    return state;
}

void ApplyEnableRules(const QList<QAction*>& actions, const CommandState& state) {
    for (QAction* action : actions) {
        const QString name = action->objectName();
        if (!name.startsWith(QLatin1StringView("Atn"))) continue;
        action->setEnabled(RuleHolds(RuleOf(name), state));
        if (name == QLatin1StringView(kSimpleWindowCommand)) action->setChecked(state.simpleMode);
    }
}

QList<QKeySequence> EditShortcutsOf(QStringView commandName) {
    for (const CommandKeys& k : kEditKeys)
        if (commandName == QLatin1StringView(k.command)) return keysOf(k.keys);
    return {};
}

}  // namespace tallyon
