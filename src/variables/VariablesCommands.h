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
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

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

    // While held, the values the calculation shows are collected, the last one of each name
    // kept, and put into the rows when the outermost hold ends: a command that calculates
    // every line updates each row once instead of once a line. The rows end as if every
    // value had been shown in turn; an element assignment first puts in the value collected
    // for its name. Holds nothing for a null `commands`.
    class CollectShown {
    public:
        explicit CollectShown(VariablesCommands* commands);
        ~CollectShown();
        CollectShown(const CollectShown&) = delete;
        CollectShown& operator=(const CollectShown&) = delete;

    private:
        VariablesCommands* commands_;
    };

private:
    // The list line of the row's name, or -1 after telling the user there is none.
    int listLineOfRow(const TVariableRow& row);
    // Reads `path` and fills list and rows; false (list and rows untouched) when it cannot
    // be read, with the error reported when `report`.
    bool load(const QString& path, bool report);

    // Puts the collected values into the rows: all, or those of one folded name.
    void putShown();
    void putShown(const std::string& upperName);

    TVariableList& list_;
    TFrmVariables& window_;
    VariablesHost& host_;
    QString fileName_;
    int collecting_ = 0;  // CollectShown holds
    // Collected values by folded name, in the order the names were first shown; one put in
    // early (for an element assignment) stays in its place, no longer pending.
    struct TShown {
        std::string name;
        std::string value;
        bool pending = true;
    };
    std::vector<TShown> shown_;
    std::unordered_map<std::string, std::size_t> shownAt_;
};

}  // namespace tallyon
