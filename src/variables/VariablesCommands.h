// The variables commands: Add, Edit and Delete of the variables window, Clear Variables,
// Open Variables and Save Variables As of the File menu, the start-up recall of the last
// variables file, and the calculation's reports of values and assignments.
//
// Every command changes the variables list (the truth for calculation and for files) and the
// window's rows together. A file is read whole before anything is cleared, and writing
// replaces the file atomically, so a failed read or write never costs the user variables.
// Questions, file dialogs, the value dialog and errors go through VariablesHost.
#pragma once

#include <QString>
#include <string>

#include "variables/VariableRows.h"

namespace tallyon {

class TFrmVariables;
class TVariableList;
class VariablesHost;

// The texts the commands show; `language` 1 is English, every other value Japanese.
QString NotANumberText(int language, const QString& value);
QString DeleteQuestionText(int language, const QString& name);
QString ClearVariablesQuestionText(int language);
QString OpenVariablesQuestionText(int language);
// Told by Edit and Delete for a row whose name the variables list does not hold.
QString RowOnlyText(int language, const QString& name);

class VariablesCommands {
public:
    // Links (never owns) the list, the window and the host, which must outlive the commands.
    VariablesCommands(TVariableList& list, TFrmVariables& window, VariablesHost& host);

    // Add: asks for a name and a number until the number reads or the user gives up.
    void add();
    // Edit of `row`: a new name and any value text. 0 or an unknown row does nothing.
    void edit(TRowId row);
    // Delete of `row` after the question. 0 or an unknown row does nothing.
    void remove(TRowId row);

    // Save Variables As: true when the list was written to the chosen file.
    bool saveVariablesAs();
    // Open Variables: after the question (offering to save first), replaces the variables by
    // those of the chosen file.
    void openVariables();
    // Clear Variables: after the question (offering to save first), empties list and rows.
    void clearVariables();
    // The start-up recall: fills list and rows from `path` as Open Variables does, silently;
    // true when the file was read, and only then it becomes the current variables file.
    bool recall(const QString& path);

    // The current variables file; empty when none is in use.
    QString fileName() const { return fileName_; }

    // The calculation's reports, as the parser and the line calculation hand them over.
    void ShowVariable(const std::string& name, const std::string& value);
    void ShowAssignment(const std::string& name, const std::string& value, int index);

private:
    // The list line of the row's name, or -1 after telling the user there is none.
    int listLineOfRow(const TVariableRow& row);
    // Reads `path` and fills list and rows; false (list and rows untouched) when it cannot
    // be read, with the error reported when `report`.
    bool load(const QString& path, bool report);

    TVariableList& list_;
    TFrmVariables& window_;
    VariablesHost& host_;
    QString fileName_;
};

}  // namespace tallyon
