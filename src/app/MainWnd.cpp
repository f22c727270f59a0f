// The main window's assembly and its handlers (see MainWnd.h).
#include "app/MainWnd.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <optional>
#include <stdexcept>

#include "app/CommandTable.h"
#include "app/EditCommands.h"
#include "app/About.h"
#include "app/EnableRules.h"
#include "app/ErrorReport.h"
#include "app/FileAssociation.h"
#include "app/HelpCommands.h"
#include "app/HintSwitch.h"
#include "app/Icons.h"
#include "app/IdleUpdater.h"
#include "app/MainOptions.h"
#include "app/InsertCommands.h"
#include "app/Prompts.h"
#include "app/WindowStyle.h"
#include "document/DocumentFile.h"
#include "document/editor/DocumentEditor.h"
#include "document/editor/DocumentFont.h"
#include "document/editor/EditorLineDocument.h"
#include "variables/Variables.h"
#include "variables/VariablesCommands.h"

namespace tallyon {

namespace {

// The start-up sequence waits for this event, posted by the window to itself at creation,
// so it runs once the event loop runs and every window exists.
const QEvent::Type kStartUpEvent = static_cast<QEvent::Type>(QEvent::User + 1);

// Widths of the status bar's two panels, in pixels.
constexpr int kPanelWidths[2] = {120, 200};

// The interface language of the texts the window is built with, before the settings are
// read.
constexpr int kBuildLanguage = 1;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The help file of each language, in the program's folder; the first is named at the program's
// start, before a language is applied.
constexpr const char* kStartHelpFile = "Tallyon_J.CHM";
constexpr const char* kHelpFileEn = "TallyonE.HLP";
constexpr const char* kHelpFileJa = "TallyonJ.HLP";

QString HelpFilePath(const char* name) {
    return QCoreApplication::applicationDirPath() + '/' + QString::fromLatin1(name);
}

// The user's settings store.
class SettingsStore : public QSettings {
public:
    SettingsStore()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                    kSettingsApplication) {}
};

TPlacement PlacementOf(const QWidget* w) {
    return {w->x(), w->width(), w->y(), w->height()};
}

void Place(QWidget* w, const TPlacement& p) {
    w->move(p.Left, p.Top);
    w->resize(p.Width, p.Height);
}

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

}  // namespace

TFrmMain::TFrmMain(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)) {
    setObjectName("FrmMain");
    CreateDocument();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ConnectEvents();
    clipboardExchange_.ConnectHooks(hooks_);
    FormCreate();
    CreateVariablesWindow();
}

TFrmMain::~TFrmMain() {
    FormDestroy();
}

// ---- assembly --------------------------------------------------------------------------

void TFrmMain::CreateDocument() {
    REdit1 = new TDocumentEditor(this);
    setCentralWidget(REdit1);
    lineDocument_ = std::make_unique<TEditorLineDocument>(*REdit1);
}

void TFrmMain::CreateVariablesWindow() {
    frmVariables_ = std::make_unique<TFrmVariables>();
    frmVariables_->setListFont(REdit1->font());
    variablesCommands_ =
        std::make_unique<VariablesCommands>(variables_, *frmVariables_, variablesHost_);
    frmVariables_->setCommands(variablesCommands_.get());
    connect(frmVariables_.get(), &TFrmVariables::closedByUser, this, [this] { SyncCheckMarks(); });
    TCalcHooks hooks = hooks_;
    VariablesCommands* commands = variablesCommands_.get();
    hooks.ShowVariable = [commands](const std::string& name, const std::string& value) {
        commands->ShowVariable(name, value);
    };
    hooks.ShowAssignment = [commands](const std::string& name, const std::string& value,
                                      int index) { commands->ShowAssignment(name, value, index); };
    setCalcHooks(std::move(hooks));
}

QString TFrmMain::variablesFileName() const {
    return variablesCommands_->fileName();
}

// Without a desktop icon theme the tool bar would show words: look in the desktop's data
// folders (which platforms such as the offscreen one do not search) and fall back to a
// common theme.
namespace {

void EnsureIconTheme() {
    if (QIcon::hasThemeIcon("document-open")) return;
    QStringList paths = QIcon::themeSearchPaths();
    QString folders = qEnvironmentVariable("XDG_DATA_DIRS");
    if (folders.isEmpty()) folders = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& folder : folders.split(':', Qt::SkipEmptyParts))
        if (!paths.contains(folder + "/icons")) paths << folder + "/icons";
    QIcon::setThemeSearchPaths(paths);
    if (!QIcon::hasThemeIcon("document-open")) QIcon::setThemeName("Adwaita");
}

}  // namespace

void TFrmMain::CreateActions() {
    EnsureIconTheme();
    for (const CommandRow& row : AllCommands()) {
        auto* a = new QAction(this);
        a->setObjectName(row.name);
        a->setCheckable(row.checkable);
        a->setShortcuts(KeysOf(row));
        if (*row.icon) a->setIcon(CommandIcon(row.icon));
        const CommandHandler handler = row.handler;
        connect(a, &QAction::triggered, this, [this, handler] {
            Guarded([&] { (this->*handler)(); });
            // A checkable command's mark shows its state, whatever Qt's own toggle did.
            SyncCheckMarks();
        });
        ActionList1 << a;
    }
    // Shortcuts work while the menu bar is hidden (simple window) because the window itself
    // holds every command.
    addActions(ActionList1);
    QList<QKeySequence> reserved;
    for (QAction* a : ActionList1)
        reserved << a->shortcuts();
    // Shift+Insert and Ctrl+V reach the document's key handler, which runs Paste.
    reserved.removeAll(QKeySequence(QKeySequence::fromString("Shift+Ins")));
    reserved.removeAll(QKeySequence(QKeySequence::fromString("Ctrl+V")));
    REdit1->setReservedShortcuts(reserved);
}

void TFrmMain::FillMenu(QWidget* menu, Layout layout) {
    for (const char* item : layout) {
        if (item[0] == '-') {
            auto* separator = new QAction(menu);
            separator->setSeparator(true);
            menu->addAction(separator);
        } else if (item[0] == '>') {
            const MenuRow* row = FindMenu(item + 1);
            auto* submenu = new QMenu(text(row ? row->captionEn : item + 1), menu);
            submenu->setObjectName(item + 1);
            FillMenu(submenu, MenuLayout(item + 1));
            if (auto* bar = qobject_cast<QMenuBar*>(menu))
                bar->addMenu(submenu);
            else
                static_cast<QMenu*>(menu)->addMenu(submenu);
        } else if (QAction* a = action(item)) {
            menu->addAction(a);
        }
    }
}

void TFrmMain::CreateMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName("MainMenu1");
    FillMenu(MainMenu1, MenuBarLayout());
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    FillMenu(PopupMenu1, PopupMenuLayout());
    REdit1->setPopupMenu(PopupMenu1);
    ApplyCommandTexts(kBuildLanguage);
}

void TFrmMain::ApplyCommandTexts(int language) {
    for (QAction* a : ActionList1) {
        const QByteArray name = a->objectName().toLatin1();
        if (const CommandRow* row = FindCommand(name.constData())) {
            a->setText(text(Caption(*row, language)));
            a->setToolTip(text(Hint(*row, language)));
            a->setStatusTip(text(Hint(*row, language)));
        }
    }
    for (QMenu* menu : findChildren<QMenu*>()) {
        const QByteArray name = menu->objectName().toLatin1();
        if (const MenuRow* row = FindMenu(name.constData()))
            menu->setTitle(text(Caption(*row, language)));
    }
    if (frmVariables_) frmVariables_->applyLanguage(language);
}

void TFrmMain::CreateToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    FillMenu(ToolBar1, ToolBarLayout());
}

void TFrmMain::CreateStatusBar() {
    SBar1 = statusBar();
    SBar1->setObjectName("SBar1");
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(SBar1);
        panels_[i]->setFixedWidth(kPanelWidths[i]);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        SBar1->addWidget(panels_[i]);
    }
}

void TFrmMain::ConnectEvents() {
    REdit1->onKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        REdit1KeyDown(key, shift);
    };
    REdit1->onKeyUp = [this](int key, Qt::KeyboardModifiers shift) { REdit1KeyUp(key, shift); };
    REdit1->onFilesDropped = [this](const QStringList& paths) {
        Guarded([&] { fileCommands_.openDropped(paths); });
    };
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) ApplicationEvents1Activate();
                if (state == Qt::ApplicationInactive) ApplicationEvents1Deactivate();
            });
    clipboardState_ = new ClipboardTextState(this);
    hintSwitch_ = new HintSwitch(this, [this] { return settings_.TipHint; });
    idle_ = new IdleUpdater(this, [this] { UpdateCommands(); });
}

QAction* TFrmMain::action(const char* name) const {
    for (QAction* a : ActionList1)
        if (a->objectName() == QLatin1StringView(name)) return a;
    return nullptr;
}

QString TFrmMain::statusPanelText(int panel) const {
    return panels_[panel]->text();
}

void TFrmMain::setCalcHooks(TCalcHooks hooks) {
    hooks_ = hooks;
    calc_->SetHooks(std::move(hooks));
}

// ---- creation and start-up -------------------------------------------------------------

void TFrmMain::FormCreate() {
    REdit1->clearText();
    REdit1->setModified(false);
    documentFileName_.clear();
    settings_ = TSettingsRecord{};
    helpFile_ = HelpFilePath(kStartHelpFile);
    ApplyEditorFont();
    calc_ = std::make_unique<TCalcDocument>(*lineDocument_, variables_, settings_);
    calc_->SetHooks(hooks_);
    setAcceptDrops(true);
    resize(640, 440);
    QCoreApplication::postEvent(this, new QEvent(kStartUpEvent));
}

// The calculation (and with it the parser's link to the variables list) goes before the
// list it links to.
void TFrmMain::FormDestroy() {
    calc_.reset();
}

bool TFrmMain::event(QEvent* e) {
    if (e->type() == kStartUpEvent) {
        Guarded([&] { StartUpMessage(); });
        return true;
    }
    // A command's hint shows in the second status panel while the pointer rests on its menu
    // entry; the status bar's own message would hide both panels.
    if (e->type() == QEvent::StatusTip) {
        panels_[1]->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFrmMain::StartUpMessage() {
    LoadSettings();
    ApplyLanguage();
    ApplyWindowStyle();
    REdit1->setColours({settings_.OptColorBack, settings_.OptColorExpression,
                        settings_.OptColorArrow, settings_.OptColorAnswer});
    RecallVariables();
    OpenStartDocument();
    REdit1->setModified(false);
    UpdateTitleAndStatus();
}

// ---- settings and language -------------------------------------------------------------

void TFrmMain::LoadSettings() {
    SettingsStore store;
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const TLoadedWindows loaded = ReadSettingsStore(store, settings_, screen);
    if (loaded.MainWnd) Place(this, *loaded.MainWnd);
    if (loaded.VariablesVisible) frmVariables_->setVisible(*loaded.VariablesVisible);
    if (loaded.Variables) Place(frmVariables_.get(), *loaded.Variables);
    ApplyEditorFont();
    SyncCheckMarks();
}

void TFrmMain::SaveSettings() {
    TSettingsRecord record = settings_;
    record.RecallFileName = documentFileName_.toStdString();
    record.RecallVariablesFileName = variablesFileName().toStdString();
    SettingsStore store;
    const TWindowsToSave windows{PlacementOf(this), PlacementOf(frmVariables_.get()),
                                 !frmVariables_->isHidden()};
    if (!WriteSettingsStore(store, record, windows))
        throw std::runtime_error(IsEnglish(settings_.Language)
                                     ? "The settings could not be saved."
                                     : "設定を保存できませんでした。");
}

void TFrmMain::ApplyEditorFont() {
    const QFont font = DocumentFont(QString::fromStdString(settings_.FontName), settings_.FontSize,
                                    settings_.FontBold, settings_.FontItalic,
                                    settings_.FontUnderline);
    REdit1->setFont(font);
    // The window's creation applies the font before the variables window exists.
    if (frmVariables_) frmVariables_->setListFont(font);
}

void TFrmMain::ApplyLanguage() {
    if (settings_.Language == 0) settings_.Language = FirstStartLanguage(QLocale());
    ApplyCommandTexts(settings_.Language);
    frmVariables_->applyLanguage(settings_.Language);
    helpFile_ = HelpFilePath(IsEnglish(settings_.Language) ? kHelpFileEn : kHelpFileJa);
}

// The last variables file, when recall is on and the file exists, loaded silently.
void TFrmMain::RecallVariables() {
    const QString recalled = QString::fromStdString(settings_.RecallVariablesFileName);
    if (settings_.OptRecallLastVariables && !recalled.isEmpty() && QFileInfo::exists(recalled))
        variablesCommands_->recall(recalled);
}

// The document named by exactly one argument when it exists, else the last one used when
// recall is on. A file that cannot be read leaves an empty, untitled document; nothing is
// reported at start-up.
void TFrmMain::OpenStartDocument() {
    if (arguments_.size() == 1) {
        if (QFileInfo::exists(arguments_.front()))
            fileCommands_.loadFile(arguments_.front(), FileCommands::LoadFailure::Silent);
        return;
    }
    const QString recalled = QString::fromStdString(settings_.RecallFileName);
    if (settings_.OptRecallLastFile && !recalled.isEmpty() && QFileInfo::exists(recalled))
        fileCommands_.loadFile(recalled, FileCommands::LoadFailure::Silent);
}

// ---- keys and calculation --------------------------------------------------------------

void TFrmMain::REdit1KeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        DisableAllCommands();
        const TKeyAction action = KeyMapAction(settings_, shift.testFlag(Qt::ShiftModifier),
                                        shift.testFlag(Qt::ControlModifier));
        // An error ends the key: the editor does not go on to break the line.
        if (!Guarded([&] { RunLineAction(action); })) key = 0;
        return;
    }
    const bool shiftInsert = key == Qt::Key_Insert && shift.testFlag(Qt::ShiftModifier);
    const bool ctrlV = key == Qt::Key_V && shift.testFlag(Qt::ControlModifier);
    if (shiftInsert || ctrlV) {
        Guarded([&] { AtnEditPasteExecute(); });
        key = 0;
    }
}

void TFrmMain::REdit1KeyUp(int, Qt::KeyboardModifiers) {
    fileCommands_.keyReleased();
}

// The system's own rewrite of the document: under the busy mark, after the undo history is
// cleared, as one batch of changes.
enum class TFrmMain::Undo { Keep, Clear, Off };
template <typename Rewrite>
void TFrmMain::RewriteDocument(Undo undo, Rewrite&& rewrite) {
    TDocumentEditor::BusyHold busy(*REdit1);
    if (undo == Undo::Clear) REdit1->clearUndo();
    std::optional<TDocumentEditor::HistoryOff> history;
    if (undo == Undo::Off) history.emplace(*REdit1);
    TEditorLineDocument::Batch batch(*lineDocument_);
    VariablesCommands::CollectShown shown(variablesCommands_.get());
    rewrite();
}

void TFrmMain::RunLineAction(TKeyAction action) {
    RewriteDocument(Undo::Clear, [&] { calc_->RunKeyAction(action); });
}

void TFrmMain::CalculateLine(bool mayCopy) {
    RewriteDocument(Undo::Clear, [&] { calc_->CalculateLine(mayCopy); });
}

void TFrmMain::AtnTallyonCalculateExecute() {
    if (hooks_.LoadClipboardVariable) hooks_.LoadClipboardVariable();
    DisableAllCommands();
    CalculateLine(true);
    UpdateTitleAndStatus();
}

void TFrmMain::AtnTallyonReCalcExecute() {
    DisableAllCommands();
    RewriteDocument(Undo::Off, [&] { calc_->CalculateAgain(); });
    UpdateTitleAndStatus();
}

void TFrmMain::AtnTallyonRemoveAnswersExecute() {
    const QString question =
        IsEnglish(settings_.Language)
            ? QStringLiteral("Are you sure you want to remove all the answers?[y/n]")
            : QStringLiteral("計算結果をすべて削除してよろしいですか？[y/n]");
    const PromptButton answer = Prompts::current().ask(
        this, windowTitle(), question, PromptButton::Yes | PromptButton::No, PromptIcon::Question);
    if (answer != PromptButton::Yes) return;
    DisableAllCommands();
    // Undo can bring the answers back in one step.
    RewriteDocument(Undo::Keep, [&] { calc_->RemoveAnswers(); });
    UpdateTitleAndStatus();
}

void TFrmMain::DisableAllCommands() {
    for (QAction* a : ActionList1)
        a->setEnabled(false);
    repaint();
}

void TFrmMain::UpdateCommands() {
    ApplyEnableRules(ActionList1, ReadCommandState(*REdit1, clipboardState_->hasText()));
    SyncCheckMarks();
}

void TFrmMain::SyncCheckMarks() {
    action("AtnOptionsSimpleWindow")->setChecked(settings_.OptSimpleMode);
    action("AtnEditSendToClipboard")->setChecked(settings_.OptAutomaticallyCopyState);
    action("AtnOptionShowVariables")->setChecked(frmVariables_ && !frmVariables_->isHidden());
}

void TFrmMain::UpdateTitleAndStatus() {
    fileCommands_.updateTitleAndStatus();
}

// ---- window style ----------------------------------------------------------------------

void TFrmMain::ApplyWindowStyle() {
    tallyon::ApplyWindowStyle({this, MainMenu1, ToolBar1, SBar1}, settings_, applicationActive_);
}

void TFrmMain::ApplicationEvents1Activate() {
    applicationActive_ = true;
    if (settings_.OptSemiTransparent) SetSemiTransparent(this, false);
}

void TFrmMain::ApplicationEvents1Deactivate() {
    applicationActive_ = false;
    if (settings_.OptStayOnTop && settings_.OptSemiTransparent) SetSemiTransparent(this, true);
}

void TFrmMain::AtnOptionsSimpleWindowExecute() {
    settings_.OptSimpleMode = !settings_.OptSimpleMode;
    ApplyWindowStyle();
}

// ---- file and edit commands ------------------------------------------------------------

void TFrmMain::AtnFileExitExecute() {
    close();
}
void TFrmMain::AtnFileNewExecute() {
    fileCommands_.createNew();
}
void TFrmMain::AtnFileOpenExecute() {
    fileCommands_.open();
}
void TFrmMain::AtnFileSaveExecute() {
    fileCommands_.save();
}
void TFrmMain::AtnFileSaveAsExecute() {
    fileCommands_.saveAs();
}

void TFrmMain::AtnEditUndoExecute() {
    EditUndo(*REdit1);
    UpdateTitleAndStatus();
}
void TFrmMain::AtnEditRedoExecute() {
    EditRedo(*REdit1);
    UpdateTitleAndStatus();
}
void TFrmMain::AtnEditCutExecute() {
    EditCut(*REdit1);
    UpdateTitleAndStatus();
}
void TFrmMain::AtnEditCopyExecute() {
    EditCopy(*REdit1);
}
void TFrmMain::AtnEditPasteExecute() {
    EditPaste(*REdit1);
    UpdateTitleAndStatus();
}
void TFrmMain::AtnEditDeleteExecute() {
    EditDelete(*REdit1);
    UpdateTitleAndStatus();
}
void TFrmMain::AtnEditSelectAllExecute() {
    EditSelectAll(*REdit1);
}
void TFrmMain::AtnEditSendToClipboardExecute() {
    clipboardExchange_.ToggleAutomaticCopy();
    SyncCheckMarks();
}

// ---- variables ------------------------------------------------------------------------

void TFrmMain::AtnFileClearVariablesExecute() {
    variablesCommands_->clearVariables();
}
void TFrmMain::AtnFileOpenVariablesExecute() {
    variablesCommands_->openVariables();
}
void TFrmMain::AtnFileSaveVariablesAsExecute() {
    variablesCommands_->saveVariablesAs();
}
// The check mark follows the window (SyncCheckMarks).
void TFrmMain::AtnOptionShowVariablesExecute() {
    frmVariables_->setVisible(frmVariables_->isHidden());
}

// ---- options, help and the desktop ------------------------------------------------------

void TFrmMain::AtnOptionsExecute() {
    MainOptionsHost host(*this);
    RunOptionsCommand(host);
}
void TFrmMain::AtnOptionRegistryExecute() {
    RegisterFileType(this, windowTitle(), settings_.Language);
}
void TFrmMain::AtnOptionDelRegistryExecute() {
    UnregisterFileType(this, windowTitle(), settings_.Language);
}
void TFrmMain::AtnHelpIndexExecute() {
    OpenHelpIndex();
}
void TFrmMain::AtnHelpRuvoHomePageExecute() {
    OpenMakerHomePage();
}
void TFrmMain::AtnHelpAboutExecute() {
    TFrmAbout about(this);
    Prompts::current().runDialog(about);
}

// ---- insert commands --------------------------------------------------------------------

void TFrmMain::AtnInsertConstExecute() {
    if (!sender()) return;
    InsertIntoDocument(*REdit1, ConstantText(sender()->objectName()));
    UpdateTitleAndStatus();
}

void TFrmMain::AtnInsertFuncExecute() {
    if (!sender()) return;
    InsertIntoDocument(*REdit1, FunctionText(sender()->objectName()));
    UpdateTitleAndStatus();
}

void TFrmMain::FormCloseQuery(bool& canClose) {
    canClose = fileCommands_.closeQuery();
}

void TFrmMain::closeEvent(QCloseEvent* e) {
    bool canClose = false;
    Guarded([&] { FormCloseQuery(canClose); });
    if (!canClose) {
        e->ignore();
        return;
    }
    // A failed save is reported; the window closes all the same.
    Guarded([&] { SaveSettings(); });
    e->accept();
    emit closed();
}

void TFrmMain::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls() && !localFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TFrmMain::dropEvent(QDropEvent* e) {
    const QStringList files = localFiles(e->mimeData());
    if (files.isEmpty()) return;
    e->acceptProposedAction();
    Guarded([&] { fileCommands_.openDropped(files); });
}

// ---- the document host -----------------------------------------------------------------

bool TFrmMain::isModified() const {
    return REdit1->isModified();
}
void TFrmMain::setModified(bool modified) {
    REdit1->setModified(modified);
}
QStringList TFrmMain::documentLines() const {
    return REdit1->textLines();
}
void TFrmMain::showLoadedLines(const QStringList& lines) {
    REdit1->showLines(lines);
}
void TFrmMain::clearDocument() {
    REdit1->clearText();
}

void TFrmMain::showTitleAndStatus(const QString& title, const QString& status) {
    // The window title is the program's title on the task bar too. The application display
    // name stays unset: Qt would append it to every window title that does not end with it.
    setWindowTitle(title);
    panels_[0]->setText(status);
}

void TFrmMain::reportError(const QString& message) {
    ReportError(message);
}

}  // namespace tallyon
