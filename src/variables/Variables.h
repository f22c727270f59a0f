// The variables window: every variable as a row of name and value, sorted by name, with the
// commands Add, Edit and Delete. It is a separate top-level window made right after the main
// window and kept for the whole run; its close box only hides it.
//
// The rows themselves are kept in TVariableRows; the list shows a copy of them that is
// brought up to date once per batch of changes, when the program next falls idle (and when
// the window is shown), so a long calculation pays for one refresh instead of one per line.
#pragma once

#include <QWidget>

#include "variables/VariableRows.h"

class QAction;
class QTreeView;
class QToolBar;

namespace tallyon {

class TVariablesModel;
class VariablesCommands;

class TFrmVariables : public QWidget {
    Q_OBJECT
public:
    explicit TFrmVariables(QWidget* parent = nullptr);
    ~TFrmVariables() override;

    // Components, named as the design names them.
    QToolBar* ToolBar1 = nullptr;
    QAction* AtnInsert = nullptr;
    QAction* AtnEdit = nullptr;
    QAction* AtnDelete = nullptr;
    QTreeView* LvVariables = nullptr;

    TVariableRows& rows() { return rows_; }
    // The unit that carries out Add, Edit and Delete (not owned; may be nullptr).
    void setCommands(VariablesCommands* commands) { commands_ = commands; }

    // The selected row as the list shows it; 0 when none is selected.
    TRowId selectedRow() const;
    // Selects the row `id` (and scrolls to it); 0 clears the selection.
    void selectRow(TRowId id);
    // Brings the list up to date with the rows now.
    void refreshRows();
    // The rows as the list shows them, in order, as (name, value).
    std::vector<std::pair<QString, QString>> shownRows() const;

    // The caption for `language`: "Variables" for 1, "変数" for every other value.
    void applyLanguage(int language);
    // The list takes the document's font.
    void setListFont(const QFont& font);

    // Handlers.
    void FormCreate();
    void AtnInsertExecute();
    void AtnEditExecute();
    void AtnDeleteExecute();
    void AtnEditUpdate();
    void AtnDeleteUpdate();
    void LvVariablesDblClick();

signals:
    // The user closed the window with its close box; it is hidden now.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void scheduleRefresh();
    void sizeColumns();

    TVariableRows rows_;
    TVariablesModel* model_ = nullptr;
    VariablesCommands* commands_ = nullptr;
    bool refreshPending_ = false;  // a refresh is posted and has not run yet
    bool columnsSized_ = false;    // the columns got their half widths
};

}  // namespace tallyon
