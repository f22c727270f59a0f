// The rows of the command and menu tables.
#include "app/CommandTable.h"

#include <cstring>

namespace tallyon {

namespace {

constexpr CommandText kCommands[] = {
    {"AtnFileNew", "Create &New", "Create New", "新規作成(&N)", "新規作成", "", "document-new",
     false},
    {"AtnFileOpen", "&Open...", "Open", "開く(&O)...", "開く", "F3", "document-open", false},
    {"AtnFileSave", "&Save", "Save", "上書き保存(&S)", "上書き保存", "F2", "document-save", false},
    {"AtnFileSaveAs", "Save &As...", "Save As", "名前をつけて保存(&A)...", "名前をつけて保存", "",
     "document-save-as", false},
    {"AtnFileClearVariables", "Clear Variables", "Clear Variables", "変数初期化", "変数初期化", "",
     "", false},
    {"AtnFileOpenVariables", "Open Variables...", "Open Variables", "変数を開く...", "変数を開く",
     "", "", false},
    {"AtnFileSaveVariablesAs", "Save Variables As...", "Save Variables As",
     "変数に名前をつけて保存...", "変数に名前をつけて保存", "", "", false},
    {"AtnFileExit", "E&xit", "Exit", "終了(&X)", "終了", "Alt+X", "application-exit", false},
    {"AtnEditUndo", "&Undo", "Undo", "元に戻す(&U)", "元に戻す", "Alt+Backspace", "edit-undo",
     false},
    {"AtnEditCut", "Cu&t", "Cut", "切り取り(&T)", "切り取り", "Shift+Del", "edit-cut", false},
    {"AtnEditCopy", "&Copy", "Copy", "コピー(&C)", "コピー", "Ctrl+Ins", "edit-copy", false},
    {"AtnEditPaste", "&Paste", "Paste", "貼り付け(&P)", "貼り付け", "Shift+Ins", "edit-paste",
     false},
    {"AtnEditDelete", "&Delete", "Delete", "削除(&D)", "削除", "Ctrl+Del", "edit-delete", false},
    {"AtnEditSelectAll", "Select A&ll", "Select All", "すべて選択(&L)", "すべて選択", "", "",
     false},
    {"AtnEditSendToClipboard", "Copy &Automatically", "Copy Automatically", "自動コピー(&A)",
     "自動コピー", "", "document-send", true},
    {"AtnTallyonCalculate", "&Calculate", "Calculate a current line", "計算実行(&C)",
     "現在の行を計算", "", "accessories-calculator", false},
    {"AtnTallyonRemoveAnswers", "&Remove answers", "Remove all answers", "計算結果削除(&R)",
     "計算結果を削除する", "", "format-text-strikethrough", false},
    {"AtnTallyonReCalc", "Calculate &again", "Calculate all lines again", "再計算実行(&A)",
     "すべての行を再計算する", "", "view-refresh", false},
    {"AtnOptionShowVariables", "Show &Variables", "Show Variables", "変数表示(&V)...", "変数表示",
     "", "document-properties", false},
    {"AtnOptions", "&Options...", "Options", "オプション(&O)...", "オプション", "",
     "preferences-system", false},
    {"AtnOptionsSimpleWindow", "&Simple Window Style", "Simple Window Style", "シンプル表示(&S)",
     "シンプル表示", "", "view-restore", true},
    {"AtnOptionRegistry", "&Register Tallyon", "Register Tallyon to the Windows Registry",
     "Tallyonのレジストリ登録(&R)", "Tallyonをレジストリに登録する", "", "", false},
    {"AtnOptionDelRegistry", "&Unregister Tallyon", "Unregister Tallyon from the Windows Registry",
     "Tallyonのレジストリ登録抹消(&U)", "Tallyonのレジストリ登録を抹消する", "", "", false},
    {"AtnHelpIndex", "&Index...", "Help Index", "索引(&I)...", "索引", "", "help-contents", false},
    {"AtnHelpRuvoHomePage", "&Ruvo's HomePage...", "Open Ruvo's HomePage", "&Ruvoの広場を開く...",
     "Ruvoの広場を開く", "", "go-home", false},
    {"AtnHelpAbout", "&About Tallyon...", "About Tallyon", "Tallyonについて(&A)...",
     "Tallyonについて", "", "help-about", false},
};

constexpr MenuText kMenus[] = {
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
};

}  // namespace

std::span<const CommandText> Commands() {
    return kCommands;
}
std::span<const MenuText> Menus() {
    return kMenus;
}

const CommandText* FindCommand(const char* name) {
    for (const CommandText& c : kCommands)
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

const MenuText* FindMenu(const char* name) {
    for (const MenuText& m : kMenus)
        if (std::strcmp(m.name, name) == 0) return &m;
    return nullptr;
}

}  // namespace tallyon
