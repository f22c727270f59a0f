#include "clipboard/QtClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace tallyon {

std::string TQtClipboardText::text() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void TQtClipboardText::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace tallyon
