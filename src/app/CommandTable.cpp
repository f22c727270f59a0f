// The rows of the command table and the layouts of the menus, the tool bar and the context
// menu (see CommandTable.h).
#include "app/CommandTable.h"

#include <QString>
#include <cstring>
#include <vector>

#include "app/InsertCommands.h"
#include "app/MainWnd.h"

namespace tallyon {

namespace {

using K = QKeySequence;
using R = EnableRule;
using F = TFrmMain;

// clang-format off
constexpr CommandRow kCommands[] = {
    // name, English caption, English hint, Japanese caption, Japanese hint,
    // design keys, desktop keys, fallback for desktops without them, icon, checkable,
    // enable rule, handler
    {"AtnFileNew", "Create &New", "Create New", "新規作成(&N)", "新規作成",
     "", K::New, "Ctrl+N", "document-new", false, R::Always, &F::AtnFileNewExecute},
    {"AtnFileOpen", "&Open...", "Open", "開く(&O)...", "開く",
     "F3", K::Open, "Ctrl+O", "document-open", false, R::Always, &F::AtnFileOpenExecute},
    {"AtnFileSave", "&Save", "Save", "上書き保存(&S)", "上書き保存",
     "F2", K::Save, "Ctrl+S", "document-save", false, R::Modified, &F::AtnFileSaveExecute},
    {"AtnFileSaveAs", "Save &As...", "Save As", "名前をつけて保存(&A)...", "名前をつけて保存",
     "", K::SaveAs, "Ctrl+Shift+S", "document-save-as", false, R::Always,
     &F::AtnFileSaveAsExecute},
    {"AtnFileClearVariables", "Clear Variables", "Clear Variables", "変数初期化", "変数初期化",
     "", K::UnknownKey, "", "", false, R::Always, &F::AtnFileClearVariablesExecute},
    {"AtnFileOpenVariables", "Open Variables...", "Open Variables", "変数を開く...",
     "変数を開く", "", K::UnknownKey, "", "", false, R::Always,
     &F::AtnFileOpenVariablesExecute},
    {"AtnFileSaveVariablesAs", "Save Variables As...", "Save Variables As",
     "変数に名前をつけて保存...", "変数に名前をつけて保存", "", K::UnknownKey, "", "", false,
     R::Always, &F::AtnFileSaveVariablesAsExecute},
    {"AtnFileExit", "E&xit", "Exit", "終了(&X)", "終了",
     "Alt+X", K::Quit, "Ctrl+Q", "application-exit", false, R::Always, &F::AtnFileExitExecute},
    {"AtnEditUndo", "&Undo", "Undo", "元に戻す(&U)", "元に戻す",
     "Alt+Backspace", K::Undo, "Ctrl+Z", "edit-undo", false, R::CanUndo,
     &F::AtnEditUndoExecute},
    {"AtnEditRedo", "&Redo", "Redo", "やり直し(&R)", "やり直し",
     "", K::Redo, "Ctrl+Y, Ctrl+Shift+Z", "edit-redo", false, R::CanRedo,
     &F::AtnEditRedoExecute},
    {"AtnEditCut", "Cu&t", "Cut", "切り取り(&T)", "切り取り",
     "Shift+Del", K::Cut, "Ctrl+X", "edit-cut", false, R::Selection, &F::AtnEditCutExecute},
    {"AtnEditCopy", "&Copy", "Copy", "コピー(&C)", "コピー",
     "Ctrl+Ins", K::Copy, "Ctrl+C", "tallyon-copy", false, R::Selection, &F::AtnEditCopyExecute},
    {"AtnEditPaste", "&Paste", "Paste", "貼り付け(&P)", "貼り付け",
     "Shift+Ins", K::Paste, "Ctrl+V", "edit-paste", false, R::ClipboardText,
     &F::AtnEditPasteExecute},
    {"AtnEditDelete", "&Delete", "Delete", "削除(&D)", "削除",
     "Ctrl+Del", K::UnknownKey, "", "edit-delete", false, R::Selection,
     &F::AtnEditDeleteExecute},
    {"AtnEditSelectAll", "Select A&ll", "Select All", "すべて選択(&L)", "すべて選択",
     "", K::SelectAll, "Ctrl+A", "", false, R::Always, &F::AtnEditSelectAllExecute},
    {"AtnEditSendToClipboard", "Copy &Automatically", "Copy Automatically", "自動コピー(&A)",
     "自動コピー", "", K::UnknownKey, "", "mail-send", true, R::Always,
     &F::AtnEditSendToClipboardExecute},
    {"AtnTallyonCalculate", "&Calculate", "Calculate a current line", "計算実行(&C)",
     "現在の行を計算", "", K::UnknownKey, "", "accessories-calculator", false, R::Always,
     &F::AtnTallyonCalculateExecute},
    {"AtnTallyonRemoveAnswers", "&Remove answers", "Remove all answers", "計算結果削除(&R)",
     "計算結果を削除する", "", K::UnknownKey, "", "format-text-strikethrough", false,
     R::HasLines, &F::AtnTallyonRemoveAnswersExecute},
    {"AtnTallyonReCalc", "Calculate &again", "Calculate all lines again", "再計算実行(&A)",
     "すべての行を再計算する", "", K::UnknownKey, "", "system-software-update", false, R::HasLines,
     &F::AtnTallyonReCalcExecute},
    {"AtnOptionShowVariables", "Show &Variables", "Show Variables", "変数表示(&V)...",
     "変数表示", "", K::UnknownKey, "", "x-office-spreadsheet", true, R::Always,
     &F::AtnOptionShowVariablesExecute},
    {"AtnOptions", "&Options...", "Options", "オプション(&O)...", "オプション",
     "", K::Preferences, "", "preferences-system", false, R::Always, &F::AtnOptionsExecute},
    {"AtnOptionsSimpleWindow", "&Simple Window Style", "Simple Window Style",
     "シンプル表示(&S)", "シンプル表示", "", K::UnknownKey, "", "view-restore", true, R::Always,
     &F::AtnOptionsSimpleWindowExecute},
    {"AtnOptionRegistry", "&Register Tallyon",
     "Register Tallyon as the application for calculation documents",
     "Tallyonの関連付け登録(&R)", "Tallyonを計算文書ファイルのアプリケーションに登録する", "",
     K::UnknownKey, "", "", false, R::Always, &F::AtnOptionRegistryExecute},
    {"AtnOptionDelRegistry", "&Unregister Tallyon",
     "Unregister Tallyon as the application for calculation documents",
     "Tallyonの関連付け登録抹消(&U)", "Tallyonの計算文書ファイルのアプリケーション登録を抹消する",
     "", K::UnknownKey, "", "", false, R::Always, &F::AtnOptionDelRegistryExecute},
    {"AtnHelpIndex", "&Index...", "Help Index", "索引(&I)...", "索引",
     "", K::HelpContents, "F1", "help-contents", false, R::Always, &F::AtnHelpIndexExecute},
    {"AtnHelpRuvoHomePage", "&Ruvo's HomePage...", "Open Ruvo's HomePage",
     "&Ruvoの広場を開く...", "Ruvoの広場を開く", "", K::UnknownKey, "", "web-browser", false,
     R::Always, &F::AtnHelpRuvoHomePageExecute},
    {"AtnHelpAbout", "&About Tallyon...", "About Tallyon", "Tallyonについて(&A)...",
     "Tallyonについて", "", K::UnknownKey, "", "help-about", false, R::Always,
     &F::AtnHelpAboutExecute},
};

constexpr MenuRow kMenus[] = {
    {"File1", "&File", "ファイル(&F)"},
    {"Edit1", "&Edit", "編集(&E)"},
    {"Insert1", "&Insert", "挿入(&I)"},
    {"Constants1", "&Constants", "定数(&C)"},
    {"Function1", "&Functions", "関数(&F)"},
    {"Electronics1", "&Electronics", "電気(&E)"},
    {"Trigonometrical1", "&Trigonometrical", "三角関数(&T)"},
    {"Conversion1", "&Conversion", "変換(&C)"},
    {"ExponentandLogarithmic1", "Exponent and &Logarithmic", "指数と対数(&L)"},
    {"Statistics1", "&Statistics and Truncation", "統計と丸め(&S)"},
    {"Miscellaneous1", "&Miscellaneous", "その他(&M)"},
    {"Tallyon1", "&Tallyon", "&Tallyon"},
    {"Options1", "&Options", "オプション(&O)"},
    {"Help1", "&Help", "ヘルプ(&H)"},
    // The context menu's File submenu keeps the English text in both languages.
    {"PopupFile1", "&File", "&File"},
};

constexpr const char* kMenuBar[] = {">File1", ">Edit1", ">Insert1", ">Tallyon1", ">Options1",
                                    ">Help1"};
constexpr const char* kFileMenu[] = {"AtnFileNew", "AtnFileOpen", "AtnFileSave",
                                     "AtnFileSaveAs", "-", "AtnFileClearVariables",
                                     "AtnFileOpenVariables", "AtnFileSaveVariablesAs", "-",
                                     "AtnFileExit"};
constexpr const char* kEditMenu[] = {"AtnEditUndo", "AtnEditRedo", "-", "AtnEditCut",
                                     "AtnEditCopy", "AtnEditPaste", "AtnEditDelete",
                                     "AtnEditSelectAll", "-", "AtnEditSendToClipboard"};
constexpr const char* kInsertMenu[] = {">Constants1", ">Function1"};
constexpr const char* kFunctionMenu[] = {">Electronics1", ">Trigonometrical1",
                                         ">Conversion1", ">ExponentandLogarithmic1",
                                         ">Statistics1", ">Miscellaneous1"};
constexpr const char* kTallyonMenu[] = {"AtnTallyonCalculate", "AtnTallyonRemoveAnswers", "-",
                                        "AtnTallyonReCalc"};
constexpr const char* kOptionsMenu[] = {"AtnOptionShowVariables", "-", "AtnOptions",
                                        "AtnOptionsSimpleWindow", "-", "AtnOptionRegistry",
                                        "AtnOptionDelRegistry"};
constexpr const char* kHelpMenu[] = {"AtnHelpIndex", "AtnHelpRuvoHomePage", "-",
                                     "AtnHelpAbout"};
constexpr const char* kToolBar[] = {
    "AtnFileNew", "AtnFileOpen", "AtnFileSave", "-",
    "AtnEditCut", "AtnEditCopy", "AtnEditPaste", "AtnEditUndo", "AtnEditSendToClipboard", "-",
    "AtnTallyonCalculate", "AtnTallyonRemoveAnswers", "AtnTallyonReCalc", "-",
    "AtnOptionShowVariables", "AtnOptions", "AtnOptionsSimpleWindow", "-",
    "AtnHelpIndex", "AtnHelpRuvoHomePage", "AtnHelpAbout", "-",
    "AtnFileExit"};
constexpr const char* kPopupMenu[] = {"AtnEditCut", "AtnEditCopy", "AtnEditPaste", "-",
                                      "AtnTallyonReCalc", "AtnTallyonRemoveAnswers", "-",
                                      "AtnOptions", "AtnOptionsSimpleWindow", "-",
                                      ">PopupFile1"};
constexpr const char* kPopupFileMenu[] = {"AtnFileNew", "AtnFileOpen", "AtnFileSave",
                                          "AtnFileSaveAs", "-", "AtnFileExit"};
// clang-format on

struct NamedLayout {
    const char* name;
    Layout layout;
};

const NamedLayout kMenuLayouts[] = {
    {"File1", kFileMenu},         {"Edit1", kEditMenu},       {"Insert1", kInsertMenu},
    {"Function1", kFunctionMenu}, {"Tallyon1", kTallyonMenu}, {"Options1", kOptionsMenu},
    {"Help1", kHelpMenu},         {"PopupFile1", kPopupFileMenu},
};

QList<QKeySequence> portableKeys(const char* keys) {
    QList<QKeySequence> list;
    if (*keys == 0) return list;
    for (const QString& k : QString::fromLatin1(keys).split(QStringLiteral(", ")))
        list << QKeySequence(k, QKeySequence::PortableText);
    return list;
}

}  // namespace

std::span<const CommandRow> Commands() {
    return kCommands;
}
std::span<const CommandRow> AllCommands() {
    static const std::vector<CommandRow> all = [] {
        std::vector<CommandRow> rows(std::begin(kCommands), std::end(kCommands));
        rows.insert(rows.end(), InsertCommands().begin(), InsertCommands().end());
        return rows;
    }();
    return all;
}
std::span<const MenuRow> Menus() {
    return kMenus;
}

const CommandRow* FindCommand(const char* name) {
    for (const CommandRow& c : kCommands)
        if (std::strcmp(c.name, name) == 0) return &c;
    for (const CommandRow& c : InsertCommands())
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

const MenuRow* FindMenu(const char* name) {
    for (const MenuRow& m : kMenus)
        if (std::strcmp(m.name, name) == 0) return &m;
    return nullptr;
}

Layout MenuLayout(const char* name) {
    for (const NamedLayout& l : kMenuLayouts)
        if (std::strcmp(l.name, name) == 0) return l.layout;
    return InsertMenuLayout(name);
}
Layout MenuBarLayout() {
    return kMenuBar;
}
Layout ToolBarLayout() {
    return kToolBar;
}
Layout PopupMenuLayout() {
    return kPopupMenu;
}

QList<QKeySequence> KeysOf(const CommandRow& row) {
    QList<QKeySequence> keys = portableKeys(row.keys);
    QList<QKeySequence> usual;
    if (row.standardKey != QKeySequence::UnknownKey)
        usual = QKeySequence::keyBindings(row.standardKey);
    if (usual.isEmpty()) usual = portableKeys(row.fallbackKeys);
    for (const QKeySequence& k : usual)
        if (!k.isEmpty() && !keys.contains(k)) keys << k;
    return keys;
}

const char* Caption(const CommandRow& row, int language) {
    return IsEnglish(language) ? row.captionEn : row.captionJa;
}
const char* Hint(const CommandRow& row, int language) {
    return IsEnglish(language) ? row.hintEn : row.hintJa;
}
const char* Caption(const MenuRow& row, int language) {
    return IsEnglish(language) ? row.captionEn : row.captionJa;
}

}  // namespace tallyon
