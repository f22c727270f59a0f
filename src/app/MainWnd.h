// The main window: the calculation document with its menus, tool bar, status bar and
// context menu, and the commands that act on it.
//
// The window assembles and connects; behaviour lives in the units it delegates to: the
// editor adapter (colouring, protection, busy mark), the calculation core (line actions,
// Calculate again, Remove answers), the file and edit commands, the window style and the
// idle-time enable rules. Handlers carry the names of the design (FormCreate,
// REdit1KeyDown, AtnTallyonCalculateExecute) and stay a few lines each.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "app/CommandTable.h"
#include "app/FileCommands.h"
#include "app/PromptedVariablesHost.h"
#include "clipboard/ClipboardExchange.h"
#include "clipboard/QtClipboardText.h"
#include "document/CalcDocument.h"
#include "engine/VariableList.h"
#include "settings/SettingsRecord.h"
#include "settings/store/SettingsStore.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;

namespace tallyon {

class ClipboardTextState;
class HintSwitch;
class IdleUpdater;
class TFrmVariables;
class VariablesCommands;
class TDocumentEditor;
class TEditorLineDocument;

class TFrmMain : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    // `arguments` are the command-line arguments after the program name.
    explicit TFrmMain(QStringList arguments = {}, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // Components, named as the design names them.
    TDocumentEditor* REdit1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QStatusBar* SBar1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QList<QAction*> ActionList1;  // every command of the window

    // The command called `name` ("AtnFileOpen"); nullptr for an unknown name.
    QAction* action(const char* name) const;
    // The text of status panel 0 or 1.
    QString statusPanelText(int panel) const;

    TSettingsRecord& settingsRecord() { return settings_; }
    TVariableList& variables() { return variables_; }
    TCalcDocument& calculation() { return *calc_; }
    // The variables window, made with this window and kept until it is destroyed.
    TFrmVariables& variablesWindow() { return *frmVariables_; }
    VariablesCommands& variablesCommands() { return *variablesCommands_; }
    // The current variables file; empty when none is in use.
    QString variablesFileName() const;
    // Replaces the calculation's hooks (variables window, clipboard); empty hooks do nothing.
    void setCalcHooks(TCalcHooks hooks);
    // The help file of the interface language, in the program's folder.
    QString helpFile() const { return helpFile_; }

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void StartUpMessage();
    // Reads the stored settings into the record and applies what they show: placements, the
    // variables window's visibility, hints, font and check marks.
    void LoadSettings();
    // Writes every setting, the placements and the current file names as the recall names.
    void SaveSettings();
    // Gives the document (and the variables window's rows) the record's font.
    void ApplyEditorFont();
    // Resolves a language not chosen yet from the user's locale, then writes every caption
    // and hint in that language, the variables window's caption and the help file name.
    void ApplyLanguage();
    void REdit1KeyDown(int& key, Qt::KeyboardModifiers shift);
    void REdit1KeyUp(int key, Qt::KeyboardModifiers shift);
    void CalculateLine(bool mayCopy);
    void DisableAllCommands();
    void UpdateCommands();
    void UpdateTitleAndStatus();
    void ApplyWindowStyle();
    // Writes the captions and hints of every command and menu in `language` (1 English,
    // any other value Japanese) from the command table.
    void ApplyCommandTexts(int language);
    // Sets the check marks of the checkable commands from the state they show.
    void SyncCheckMarks();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();

    void AtnTallyonCalculateExecute();
    void AtnTallyonReCalcExecute();
    void AtnTallyonRemoveAnswersExecute();
    void AtnOptionsSimpleWindowExecute();
    void AtnFileExitExecute();
    void AtnFileNewExecute();
    void AtnFileOpenExecute();
    void AtnFileSaveExecute();
    void AtnFileSaveAsExecute();
    void AtnEditUndoExecute();
    void AtnEditRedoExecute();
    void AtnEditCutExecute();
    void AtnEditCopyExecute();
    void AtnEditPasteExecute();
    void AtnEditDeleteExecute();
    void AtnEditSelectAllExecute();
    void AtnEditSendToClipboardExecute();
    void AtnFileClearVariablesExecute();
    void AtnFileOpenVariablesExecute();
    void AtnFileSaveVariablesAsExecute();
    void AtnOptionShowVariablesExecute();
    void AtnOptionsExecute();
    void AtnOptionRegistryExecute();
    void AtnOptionDelRegistryExecute();
    void AtnHelpIndexExecute();
    void AtnHelpRuvoHomePageExecute();
    void AtnHelpAboutExecute();
    // The Insert menu's handlers take the name to insert from the command that invoked them.
    void AtnInsertConstExecute();
    void AtnInsertFuncExecute();
    // The close query: `canClose` becomes false to keep the window open.
    void FormCloseQuery(bool& canClose);

    // DocumentHost
    QWidget* promptParent() override { return this; }
    const TSettingsRecord& settings() const override { return settings_; }
    bool isModified() const override;
    void setModified(bool modified) override;
    QStringList documentLines() const override;
    void showLoadedLines(const QStringList& lines) override;
    void clearDocument() override;
    QString documentFileName() const override { return documentFileName_; }
    void setDocumentFileName(const QString& fileName) override { documentFileName_ = fileName; }
    void showTitleAndStatus(const QString& title, const QString& status) override;
    void reportError(const QString& message) override;

    // The commands' idle-time update (tests run it at once).
    IdleUpdater& idleUpdater() { return *idle_; }

signals:
    // The close sequence has ended and the window is closing: the program ends.
    void closed();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void CreateDocument();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    // Makes the variables window and its commands and hooks them to the calculation.
    void CreateVariablesWindow();
    void ConnectEvents();
    // Fills `menu` from `layout`, creating its submenus.
    void FillMenu(QWidget* menu, Layout layout);
    void OpenStartDocument();
    void RecallVariables();
    // Runs a key-map action on the caret line under the busy mark.
    void RunLineAction(TKeyAction action);
    enum class Undo;
    template <typename Rewrite>
    void RewriteDocument(Undo undo, Rewrite&& rewrite);

    TSettingsRecord settings_;
    TVariableList variables_;
    std::unique_ptr<TEditorLineDocument> lineDocument_;
    std::unique_ptr<TCalcDocument> calc_;
    TCalcHooks hooks_;
    TQtClipboardText clipboard_;
    TClipboardExchange clipboardExchange_{clipboard_, variables_, settings_};
    FileCommands fileCommands_{*this};
    IdleUpdater* idle_ = nullptr;
    ClipboardTextState* clipboardState_ = nullptr;
    QLabel* panels_[2] = {nullptr, nullptr};
    QStringList arguments_;
    QString documentFileName_;
    std::unique_ptr<TFrmVariables> frmVariables_;
    PromptedVariablesHost variablesHost_{this, settings_};
    std::unique_ptr<VariablesCommands> variablesCommands_;
    QString helpFile_;
    HintSwitch* hintSwitch_ = nullptr;
    bool applicationActive_ = true;
};

}  // namespace tallyon
