// The system clipboard's adapter, offscreen: texts round-trip as UTF-8, and a clipboard that
// holds no text reads as empty.
#include "clipboard/QtClipboardText.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace tallyon;

namespace {

QGuiApplication& Application() {
    static int argc = 1;
    static char name[] = "clipboard_qt_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

TEST(QtClipboardText, JapaneseAndControlCharactersRoundTrip) {
    Application();
    TQtClipboardText clipboard;
    const std::string text = "合計\t１２３\r\n4.5";
    clipboard.setText(text);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(text.c_str()));
    EXPECT_EQ(clipboard.text(), text);
}

TEST(QtClipboardText, ClipboardWithoutTextReadsEmpty) {
    Application();
    TQtClipboardText clipboard;
    clipboard.setText("1");
    auto* data = new QMimeData;
    data->setData("application/octet-stream", QByteArray("\x01\x02", 2));
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_EQ(clipboard.text(), "");
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(clipboard.text(), "");
}

}  // namespace
