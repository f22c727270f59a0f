// The Insert menu: every built-in constant and function has its entry, each entry puts its
// name into the document where the user is, and the texts follow the interface language.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include "app/InsertCommands.h"
#include "app/WindowFixture.h"
#include "engine/Functions.h"

namespace tallyon {
namespace {

using InsertCommandsTest = WindowFixture;

QMenu* submenu(QWidget* parent, const char* name) {
    return parent->findChild<QMenu*>(QString::fromLatin1(name));
}

QStringList entryNames(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
        names << (a->isSeparator() ? QString("-") : a->objectName());
    return names;
}

struct InsertCase {
    const char* command;
    QStringList before;
    int line, from, to;  // the selection (from == to: the caret)
    QStringList after;
    int caretColumn;
};

const InsertCase kInserts[] = {
    // The selected 12 becomes the function with the caret between its brackets.
    {"AtnInsertFuncSQRT", {"12+1"}, 0, 0, 2, {"SQRT()+1"}, 5},
    {"AtnInsertFuncARCTANHD", {"x"}, 0, 1, 1, {"xARCTANHD()"}, 10},
    // The speed of light's command is named C0, its constant _C.
    {"AtnInsertConstC0", {"2*"}, 0, 2, 2, {"2*_C"}, 4},
    {"AtnInsertConstPI", {"1", "2"}, 1, 0, 1, {"1", "_PI"}, 3},
    {"AtnInsertConstRND", {""}, 0, 0, 0, {"_RND"}, 4},
};

TEST_F(InsertCommandsTest, ReplacesTheSelectionAndPlacesTheCaret) {
    for (const InsertCase& c : kInserts) {
        SCOPED_TRACE(c.command);
        start();
        type(c.before, c.line, c.from);
        QTextCursor cursor = editor()->textCursor();
        cursor.setPosition(cursor.block().position() + c.to, QTextCursor::KeepAnchor);
        editor()->setTextCursor(cursor);
        window->action(c.command)->trigger();
        EXPECT_EQ(lines(), c.after);
        EXPECT_EQ(caretLine(), c.line);
        EXPECT_EQ(caretColumn(), c.caretColumn);
        EXPECT_FALSE(editor()->textCursor().hasSelection());
        EXPECT_EQ(window->statusPanelText(0), "Modified");
        // One undo step takes the insertion back.
        editor()->undo();
        EXPECT_EQ(lines(), c.before);
        window.reset();
    }
}

TEST_F(InsertCommandsTest, InsertedConstantCalculates) {
    start();
    window->action("AtnInsertConstC0")->trigger();
    press(Qt::Key_Return);
    EXPECT_EQ(lines().front(), "_C ==> 299792458 ");
}

TEST_F(InsertCommandsTest, NamesWithoutTheirPrefixInsertNothing) {
    EXPECT_EQ(ConstantText("AtnInsertFuncSIN"), InsertedText{});
    EXPECT_EQ(ConstantText("atninsertconstPI"), InsertedText{});
    EXPECT_EQ(FunctionText("AtnInsertConstPI"), InsertedText{});
    EXPECT_EQ(FunctionText(""), InsertedText{});
}

// Every function the engine knows is offered, and every entry inserts a name the engine
// knows: a function entry's text is a function and "()".
TEST_F(InsertCommandsTest, MenusOfferEveryBuiltInFunctionAndConstant) {
    start();
    QStringList offered;
    QMenu* functions = submenu(window->MainMenu1, "Function1");
    ASSERT_NE(functions, nullptr);
    for (const char* name : {"Electronics1", "Trigonometrical1", "Conversion1",
                             "ExponentandLogarithmic1", "Statistics1", "Miscellaneous1"}) {
        QMenu* menu = submenu(functions, name);
        ASSERT_NE(menu, nullptr) << name;
        for (const QString& entry : entryNames(menu))
            if (entry != "-") offered << FunctionText(entry).text.chopped(2);
    }
    QStringList known;
    for (std::string_view name : BuiltinFunctionNames())
        known << QString::fromLatin1(name.data(), qsizetype(name.size()));
    offered.sort();
    known.sort();
    EXPECT_EQ(offered, known);

    QMenu* constants = submenu(window->MainMenu1, "Constants1");
    ASSERT_NE(constants, nullptr);
    const QStringList entries = entryNames(constants);
    EXPECT_EQ(entries.size(), 21);
    for (const QString& entry : entries) {
        const QString constant = ConstantText(entry).text;
        SCOPED_TRACE(constant.toStdString());
        TRandomGenerator random;
        double value = 0;
        EXPECT_TRUE(LookupConstant(constant.toStdString(), random, value));
        // The caption names what the entry inserts.
        const QByteArray name = entry.toLatin1();
        EXPECT_TRUE(window->action(name.constData())->text().endsWith("(" + constant + ")"));
    }
}

TEST_F(InsertCommandsTest, TrigonometricalMenuPutsTheDegreeVariantsAfterTheSeparator) {
    start();
    const QStringList entries = entryNames(submenu(window->MainMenu1, "Trigonometrical1"));
    const qsizetype separator = entries.indexOf("-");
    ASSERT_EQ(separator, 12);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i == separator) continue;
        EXPECT_EQ(entries[i].endsWith('D'), i > separator) << entries[i].toStdString();
    }
}

TEST_F(InsertCommandsTest, CaptionsAndHintsFollowTheLanguage) {
    start();
    QAction* pi = window->action("AtnInsertConstPI");
    QMenu* electronics = submenu(window->MainMenu1, "Electronics1");
    window->ApplyCommandTexts(2);
    EXPECT_EQ(pi->text(), QString::fromUtf8("円周率(_PI)"));
    EXPECT_EQ(pi->statusTip(), QString::fromUtf8("円周率(_PI)"));
    EXPECT_EQ(electronics->title(), QString::fromUtf8("電気(&E)"));
    window->ApplyCommandTexts(1);
    EXPECT_EQ(pi->text(), "Pi(_PI)");
    EXPECT_EQ(pi->statusTip(), "Pi(_PI)");
    EXPECT_EQ(electronics->title(), "&Electronics");
}

}  // namespace
}  // namespace tallyon
