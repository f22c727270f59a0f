// The main window's commands as one table. A row carries everything about one command: its
// object name, caption and hint in both interface languages, keys, icon, whether it has a
// check mark, its enable rule and its execute handler. The window builds its actions from
// the rows; the menus, the tool bar and the context menu are lists of row names; switching
// the interface language and evaluating the enable rules walk the same rows. A new command
// is one row plus its handler.
#pragma once

#include <QKeySequence>
#include <span>

#include "settings/SettingsRecord.h"

namespace tallyon {

class TFrmMain;

// When a command is enabled; the rules are evaluated whenever the program falls idle. The
// comments name the design's update handlers.
enum class EnableRule {
    Always,         // no rule, or AtnEditSendToClipboardUpdate, which always enables
    Selection,      // AtnEditCopyUpdate: the document's selection is not empty
    ClipboardText,  // AtnEditPasteUpdate: the clipboard holds text
    CanUndo,        // AtnEditUndoUpdate: the editor can undo
    CanRedo,        // the editor can redo
    Modified,       // AtnFileSaveUpdate: the document is modified
    HasLines,       // AtnTallyonReCalcUpdate: the document has at least one line
};

// An execute handler of the main window (AtnFileOpenExecute, ...).
using CommandHandler = void (TFrmMain::*)();

struct CommandRow {
    const char* name;       // object name of the action, "AtnFileOpen"
    const char* captionEn;  // "&" marks the access key
    const char* hintEn;
    const char* captionJa;
    const char* hintJa;
    const char* keys;  // the design's keys, portable text separated by ", "; shown in menus
    QKeySequence::StandardKey standardKey;  // the desktop's usual keys, added after the
                                            // design's; UnknownKey for none
    const char* fallbackKeys;  // the usual keys where the desktop's key scheme has none
    const char* icon;                       // icon theme name; empty for a text-only command
    bool checkable;
    EnableRule rule;
    CommandHandler handler;
};

struct MenuRow {
    const char* name;  // object name of the menu, "File1"
    const char* captionEn;
    const char* captionJa;
};

// A menu, the tool bar or the context menu as a list of entries: a command's row name, "-"
// for a separator, or ">" and a menu's row name for a submenu.
using Layout = std::span<const char* const>;

// Every command of the main window except the insert commands, in menu order.
std::span<const CommandRow> Commands();
// Every command of the main window: Commands() and then the insert commands.
std::span<const CommandRow> AllCommands();
// Every menu of the main menu bar, submenus of Insert included, and the context menu's File
// submenu.
std::span<const MenuRow> Menus();

// The row of the command (insert commands included) or menu called `name`, or nullptr.
const CommandRow* FindCommand(const char* name);
const MenuRow* FindMenu(const char* name);

// The entries of the menu called `name` ("File1", "Function1", "Constants1", ...); empty for
// a menu whose commands do not exist yet.
Layout MenuLayout(const char* name);
// The top-level menus of the menu bar, in order.
Layout MenuBarLayout();
Layout ToolBarLayout();
// The document's context menu; its ">PopupFile1" entry is the File submenu.
Layout PopupMenuLayout();

// The keys of `row`: the design's first (the one menus show), then the desktop's usual ones
// that the design does not already name.
QList<QKeySequence> KeysOf(const CommandRow& row);

// Language 1 is English; every other value is Japanese.
const char* Caption(const CommandRow& row, int language);
const char* Hint(const CommandRow& row, int language);
const char* Caption(const MenuRow& row, int language);

}  // namespace tallyon
