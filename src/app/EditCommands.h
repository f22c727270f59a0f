// The Edit menu's commands (Undo, Cut, Copy, Paste, Delete, Select All) and the enable rules
// that give every command of the main window its enabled state whenever the program is idle.
//
// The commands act on the document editor through its user-edit operations, so an edit that
// touches an answer removes the answer whole, and Paste takes only the clipboard's plain
// text: formatting copied elsewhere never reaches the document, whose colours belong to its
// answers.
//
// Enable rules are one table from command name to rule; a command the table does not name is
// always enabled, which also re-enables every command after a calculation disabled them all.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QStringView>

class QAction;

namespace tallyon {

class TDocumentEditor;

// Each command changes the document or the clipboard as its menu entry says. Undo, Cut,
// Paste and Delete change the document; the caller updates title and status afterwards.
void EditUndo(TDocumentEditor& editor);
void EditCut(TDocumentEditor& editor);
void EditCopy(TDocumentEditor& editor);
// The clipboard's plain text replaces the selection; nothing happens without text.
void EditPaste(TDocumentEditor& editor);
void EditDelete(TDocumentEditor& editor);
void EditSelectAll(TDocumentEditor& editor);

// The facts the enable rules look at, gathered once per idle pass.
struct CommandState {
    bool hasSelection = false;  // the document's selection is not empty
    bool clipboardHasText = false;
    bool canUndo = false;
    bool modified = false;
    bool hasLines = false;    // the document holds at least one line
    bool simpleMode = false;  // checks the Simple Window command
};

// The facts of `editor` and the system clipboard.
CommandState ReadCommandState(const TDocumentEditor& editor, bool simpleMode);

// Sets every command's enabled state by its rule (commands are the actions whose object
// names start with "Atn") and the Simple Window command's check mark.
void ApplyEnableRules(const QList<QAction*>& actions, const CommandState& state);

// The shortcuts of the editing command called `commandName`: the design's key first (shown
// in menus), then the platform's usual one, so both work. Empty for other commands.
QList<QKeySequence> EditShortcutsOf(QStringView commandName);

}  // namespace tallyon
