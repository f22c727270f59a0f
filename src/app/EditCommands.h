// The Edit menu's commands (Undo, Cut, Copy, Paste, Delete, Select All) and the enable rules
// that give every command of the main window its enabled state whenever the program is idle.
//
// The commands work on the document through EditorAccess (its text document and the
// editor's cursor), so any text widget can serve. Paste takes only the clipboard's plain text:
// formatting copied elsewhere never reaches the document, whose colours belong to its answers.
//
// Enable rules are one table from command name to rule; a command the table does not name is
// always enabled, which also re-enables every command after a calculation disabled them all.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QTextCursor>

class QAction;
class QTextDocument;

namespace tallyon {

// What the editing commands need from the document editor.
class EditorAccess {
public:
    virtual ~EditorAccess() = default;
    virtual QTextDocument* textDocument() const = 0;
    virtual QTextCursor textCursor() const = 0;
    // Makes `cursor` the editor's cursor and brings it into view.
    virtual void setTextCursor(const QTextCursor& cursor) = 0;
};

// Each command changes the document or the clipboard as its menu entry says. Undo, Cut,
// Paste and Delete change the document; the caller updates title and status afterwards.
void EditUndo(EditorAccess& editor);
void EditCut(EditorAccess& editor);
void EditCopy(EditorAccess& editor);
// The clipboard's plain text replaces the selection; nothing happens without text.
void EditPaste(EditorAccess& editor);
void EditDelete(EditorAccess& editor);
void EditSelectAll(EditorAccess& editor);

// The selection's text with the editor's paragraph marks turned into line breaks.
QString SelectedPlainText(const QTextCursor& cursor);

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
CommandState ReadCommandState(const EditorAccess& editor, bool simpleMode);

enum class EnableRule { Selection, ClipboardText, CanUndo, Modified, HasLines, Always };

// The rule that governs the command called `commandName` ("AtnEditCopy"); Always for a
// command the table does not name.
EnableRule RuleOf(QStringView commandName);
bool RuleHolds(EnableRule rule, const CommandState& state);

// Sets every action's enabled state by its rule (actions are known by their object names)
// and the Simple Window command's check mark.
void ApplyEnableRules(const QList<QAction*>& actions, const CommandState& state);

// The key sequences of each editing command: the design's keys first (shown in menus),
// then the platform's usual ones, so both work.
struct EditShortcuts {
    const char* command;
    const char* keys;  // portable key sequences separated by "; "
};
extern const EditShortcuts kEditShortcuts[6];

// Gives each editing action among `actions` its shortcuts from kEditShortcuts.
void AssignEditShortcuts(const QList<QAction*>& actions);

}  // namespace tallyon
