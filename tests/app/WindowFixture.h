// The fixture of the window tests: an application object, settings pointed at a temporary
// folder, prompts answered from a script, and a real main window that has run its start-up.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>

#include "QtTestApplication.h"
#include "app/ErrorReport.h"
#include "app/IdleUpdater.h"
#include "app/MainWnd.h"
#include "app/Prompts.h"
#include "document/editor/DocumentEditor.h"

namespace tallyon {

// Window tests run under the program's own application class, which reports errors that
// escape an event handler.
inline void EnsureWindowApplication() {
    EnsureApplication<TTallyonApplication>();
}

class WindowFixture : public testing::Test {
protected:
    void SetUp() override {
        EnsureWindowApplication();
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    }
    void TearDown() override { window.reset(); }

    // Creates the window with `arguments` and lets its start-up run.
    void start(QStringList arguments = {}) {
        window = std::make_unique<TFrmMain>(std::move(arguments));
        window->show();
        QCoreApplication::sendPostedEvents(window.get());
        editor()->setFocus();
    }

    TDocumentEditor* editor() const { return window->REdit1; }
    QStringList lines() const { return editor()->textLines(); }

    // Puts `lines` into the document as the user would have typed them (unprotected, no
    // colours) and the caret at `line`, `column`.
    void type(const QStringList& text, int line = 0, int column = 0) {
        editor()->setPlainText(text.join('\n'));
        caretTo(line, column);
    }
    void load(const QStringList& text) { editor()->showLines(text); }
    void caretTo(int line, int column) {
        QTextCursor c(editor()->document()->findBlockByNumber(line));
        c.setPosition(c.block().position() + column);
        editor()->setTextCursor(c);
    }
    int caretLine() const { return editor()->textCursor().blockNumber(); }
    int caretColumn() const { return editor()->textCursor().positionInBlock(); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(editor(), key, modifiers);
    }
    bool enabled(const char* command) {
        window->idleUpdater().runNow();
        return window->action(command)->isEnabled();
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    std::unique_ptr<TFrmMain> window;
};

}  // namespace tallyon
