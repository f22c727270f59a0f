// The Insert menu: one command for every built-in constant and function. A command's name is
// a fixed prefix followed by the name it inserts ("AtnInsertConstPI" inserts "_PI",
// "AtnInsertFuncSIN" inserts "SIN()"), so one handler serves all constants and one all
// functions. The rows join the command table's lookups, so menus, language switching and
// enable rules treat them like every other command.
#pragma once

#include <QString>

#include "app/CommandTable.h"

namespace tallyon {

class TDocumentEditor;

// Every insert command, constants first, each in its menu's order.
std::span<const CommandRow> InsertCommands();
// The entries of the Insert menu's submenus ("Constants1", "Trigonometrical1", ...); empty for
// any other name.
Layout InsertMenuLayout(const char* name);

// What an insert command puts into the document, and how far the caret steps back after it.
struct InsertedText {
    QString text;
    int caretBack = 0;
    bool operator==(const InsertedText&) const = default;
};
// The text of the constant command `commandName`; nothing for a name without the prefix.
InsertedText ConstantText(const QString& commandName);
// The text of the function command `commandName`: the name and "()", the caret between the
// brackets; nothing for a name without the prefix.
InsertedText FunctionText(const QString& commandName);

// Replaces the editor's selection, or inserts at the caret, as a user edit.
void InsertIntoDocument(TDocumentEditor& editor, const InsertedText& inserted);

}  // namespace tallyon
