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
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <optional>

#include "app/CommandTable.h"
#include "app/EditCommands.h"
#include "app/ErrorReport.h"
#include "app/IdleUpdater.h"
#include "app/Prompts.h"
#include "app/WindowStyle.h"
#include "document/DocumentFile.h"
#include "document/editor/DocumentEditor.h"
#include "document/editor/DocumentFont.h"
#include "document/editor/EditorLineDocument.h"

namespace tallyon {

namespace {

// The start-up sequence waits for this event, posted by the window to itself at creation,
// so it runs once the event loop runs and every window exists.
const QEvent::Type kStartUpEvent = static_cast<QEvent::Type>(QEvent::User + 1);

// Widths of the status bar's two panels, in pixels.
constexpr int kPanelWidths[2] = {120, 200};

// Menu layouts: command names, "-" for a separator, ">Name" for a submenu from the menu
// table that stays empty until its commands exist.
constexpr const char* kFileMenu[] = {"AtnFileNew",
                                     "AtnFileOpen",
                                     "AtnFileSave",
                                     "AtnFileSaveAs",
                                     "-",
                                     "AtnFileClearVariables",
                                     "AtnFileOpenVariables",
                                     "AtnFileSaveVariablesAs",
                                     "-",
                                     "AtnFileExit"};
constexpr const char* kEditMenu[] = {"AtnEditUndo",
                                     "-",
                                     "AtnEditCut",
                                     "AtnEditCopy",
                                     "AtnEditPaste",
                                     "AtnEditDelete",
                                     "AtnEditSelectAll",
                                     "-",
                                     "AtnEditSendToClipboard"};
constexpr const char* kInsertMenu[] = {">Constants1", ">Function1"};
constexpr const char* kFunctionMenu[] = {">Electronics1", ">Trigonometrical1",
                                         ">Conversion1",  ">ExponentandLogarithmic1",
                                         ">Statistics1",  ">Miscellaneous1"};
constexpr const char* kTallyonMenu[] = {"AtnTallyonCalculate", "AtnTallyonRemoveAnswers", "-",
                                        "AtnTallyonReCalc"};
constexpr const char* kOptionsMenu[] = {"AtnOptionShowVariables", "-", "AtnOptions",
                                        "AtnOptionsSimpleWindow", "-", "AtnOptionRegistry",
                                        "AtnOptionDelRegistry"};
constexpr const char* kHelpMenu[] = {"AtnHelpIndex", "AtnHelpRuvoHomePage", "-", "AtnHelpAbout"};
constexpr const char* kToolBar[] = {"AtnFileNew",
                                    "AtnFileOpen",
                                    "AtnFileSave",
                                    "-",
                                    "AtnEditCut",
                                    "AtnEditCopy",
                                    "AtnEditPaste",
                                    "AtnEditUndo",
                                    "AtnEditSendToClipboard",
                                    "-",
                                    "AtnTallyonCalculate",
                                    "AtnTallyonRemoveAnswers",
                                    "AtnTallyonReCalc",
                                    "-",
                                    "AtnOptionShowVariables",
                                    "AtnOptions",
                                    "AtnOptionsSimpleWindow",
                                    "-",
                                    "AtnHelpIndex",
                                    "AtnHelpRuvoHomePage",
                                    "AtnHelpAbout",
                                    "-",
                                    "AtnFileExit"};
constexpr const char* kPopupMenu[] = {"AtnEditCut", "AtnEditCopy",      "AtnEditPaste",
                                      "-",          "AtnTallyonReCalc", "AtnTallyonRemoveAnswers",
                                      "-",          "AtnOptions",       "AtnOptionsSimpleWindow",
                                      "-"};
constexpr const char* kPopupFileMenu[] = {"AtnFileNew",    "AtnFileOpen", "AtnFileSave",
                                          "AtnFileSaveAs", "-",           "AtnFileExit"};

// The interface language of the texts the window is built with, before the settings are
// read.
constexpr int kBuildLanguage = 1;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
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
    ConnectCommands();
    FormCreate();
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

void TFrmMain::CreateActions() {
    // Without a desktop icon theme the tool bar would show words; fall back to a common one.
    if (!QIcon::hasThemeIcon("document-open")) QIcon::setThemeName("Adwaita");
    for (const CommandText& command : Commands()) {
        auto* a = new QAction(this);
        a->setObjectName(command.name);
        a->setCheckable(command.checkable);
        QList<QKeySequence> keys = EditShortcutsOf(QString::fromLatin1(command.name));
        if (keys.isEmpty() && *command.shortcut)
            keys << QKeySequence(QString::fromLatin1(command.shortcut), QKeySequence::PortableText);
        a->setShortcuts(keys);
        if (*command.icon) a->setIcon(QIcon::fromTheme(QString::fromLatin1(command.icon)));
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

namespace {

// Fills `menu` from a layout of command names, separators and submenus.
template <std::size_t N>
void fillMenu(QMenu* menu, const char* const (&layout)[N], const TFrmMain& window,
              const std::function<void(QMenu*, const char*)>& submenu) {
    for (const char* item : layout) {
        if (item[0] == '-')
            menu->addSeparator();
        else if (item[0] == '>')
            submenu(menu, item + 1);
        else if (QAction* a = window.action(item))
            menu->addAction(a);
    }
}

}  // namespace

void TFrmMain::CreateMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName("MainMenu1");
    const auto newMenu = [this](QWidget* owner, const char* name) {
        const MenuText* row = FindMenu(name);
        auto* menu = new QMenu(text(row ? row->captionEn : name), owner);
        menu->setObjectName(name);
        return menu;
    };
    std::function<void(QMenu*, const char*)> submenu = [&](QMenu* parent, const char* name) {
        QMenu* menu = newMenu(parent, name);
        parent->addMenu(menu);
        if (std::string_view(name) == "Function1") fillMenu(menu, kFunctionMenu, *this, submenu);
    };
    const auto topMenu = [&](const char* name, const auto& layout) {
        QMenu* menu = newMenu(MainMenu1, name);
        fillMenu(menu, layout, *this, submenu);
        MainMenu1->addMenu(menu);
    };
    topMenu("File1", kFileMenu);
    topMenu("Edit1", kEditMenu);
    topMenu("Insert1", kInsertMenu);
    topMenu("Tallyon1", kTallyonMenu);
    topMenu("Options1", kOptionsMenu);
    topMenu("Help1", kHelpMenu);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    fillMenu(PopupMenu1, kPopupMenu, *this, submenu);
    // The context menu's File submenu keeps its design text in both languages.
    QMenu* file = PopupMenu1->addMenu(tr("&File"));
    file->setObjectName("PopupFile1");
    fillMenu(file, kPopupFileMenu, *this, submenu);
    REdit1->setPopupMenu(PopupMenu1);
    ApplyCommandTexts(kBuildLanguage);
}

void TFrmMain::ApplyCommandTexts(int language) {
    for (QAction* a : ActionList1) {
        const QByteArray name = a->objectName().toLatin1();
        if (const CommandText* row = FindCommand(name.constData())) {
            a->setText(text(Caption(*row, language)));
            a->setToolTip(text(Hint(*row, language)));
            a->setStatusTip(text(Hint(*row, language)));
        }
    }
    for (QMenu* menu : findChildren<QMenu*>()) {
        const QByteArray name = menu->objectName().toLatin1();
        if (const MenuText* row = FindMenu(name.constData()))
            menu->setTitle(text(Caption(*row, language)));
    }
}

void TFrmMain::CreateToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    for (const char* item : kToolBar) {
        if (item[0] == '-')
            ToolBar1->addSeparator();
        else if (QAction* a = action(item))
            ToolBar1->addAction(a);
    }
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

void TFrmMain::ConnectCommands() {
    struct Wiring {
        const char* command;
        void (TFrmMain::*handler)();
    };
    static constexpr Wiring kWiring[] = {
        {"AtnTallyonCalculate", &TFrmMain::AtnTallyonCalculateExecute},
        {"AtnTallyonReCalc", &TFrmMain::AtnTallyonReCalcExecute},
        {"AtnTallyonRemoveAnswers", &TFrmMain::AtnTallyonRemoveAnswersExecute},
        {"AtnOptionsSimpleWindow", &TFrmMain::AtnOptionsSimpleWindowExecute},
        {"AtnFileExit", &TFrmMain::AtnFileExitExecute},
        {"AtnFileNew", &TFrmMain::AtnFileNewExecute},
        {"AtnFileOpen", &TFrmMain::AtnFileOpenExecute},
        {"AtnFileSave", &TFrmMain::AtnFileSaveExecute},
        {"AtnFileSaveAs", &TFrmMain::AtnFileSaveAsExecute},
        {"AtnEditUndo", &TFrmMain::AtnEditUndoExecute},
        {"AtnEditCut", &TFrmMain::AtnEditCutExecute},
        {"AtnEditCopy", &TFrmMain::AtnEditCopyExecute},
        {"AtnEditPaste", &TFrmMain::AtnEditPasteExecute},
        {"AtnEditDelete", &TFrmMain::AtnEditDeleteExecute},
        {"AtnEditSelectAll", &TFrmMain::AtnEditSelectAllExecute},
    };
    for (const Wiring& w : kWiring) {
        const auto handler = w.handler;
        connect(action(w.command), &QAction::triggered, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
    }
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
    variablesFileName_.clear();
    settings_ = TSettingsRecord{};
    REdit1->setFont(DocumentFont(QString::fromStdString(settings_.FontName), settings_.FontSize,
                                 settings_.FontBold, settings_.FontItalic,
                                 settings_.FontUnderline));
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
    return QMainWindow::event(e);
}

void TFrmMain::StartUpMessage() {
    // Settings, language and the recalled variables join here with their units.
    ApplyWindowStyle();
    REdit1->setColours({settings_.OptColorBack, settings_.OptColorExpression,
                        settings_.OptColorArrow, settings_.OptColorAnswer});
    OpenStartDocument();
    REdit1->setModified(false);
    UpdateTitleAndStatus();
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
        const int action = KeyMapAction(settings_, shift.testFlag(Qt::ShiftModifier),
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
    rewrite();
}

void TFrmMain::RunLineAction(int action) {
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
        settings_.Language == 1
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
    ApplyEnableRules(ActionList1, ReadCommandState(*REdit1, settings_.OptSimpleMode));
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
    action("AtnOptionsSimpleWindow")->setChecked(settings_.OptSimpleMode);
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
    // Writing the settings joins here with the settings unit.
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
    // The application title follows the window title. (On X11 Qt appends it to the titles
    // of the program's other windows, as the application title captions them elsewhere.)
    setWindowTitle(title);
    QGuiApplication::setApplicationDisplayName(title);
    panels_[0]->setText(status);
}

void TFrmMain::reportError(const QString& message) {
    ReportError(message);
}

}  // namespace tallyon
