// Command icons (see Icons.h).
#include "app/Icons.h"

#include <QPainter>
#include <QPixmap>
#include <cstring>

namespace tallyon {

namespace {

// Two overlapping pages with blue edges and text lines: Copy.
QPixmap CopyPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    const QColor edge(0x20, 0x4a, 0x87), line(0x72, 0x9f, 0xcf);
    for (const QPointF origin : {QPointF(3.5, 2.5), QPointF(9.5, 8.5)}) {
        p.setPen(QPen(edge, 1.2));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(origin, QSizeF(11, 13)), 1.5, 1.5);
        p.setPen(QPen(line, 1.4));
        for (int i = 0; i < 3; ++i)
            p.drawLine(origin + QPointF(2.5, 3.5 + 3 * i), origin + QPointF(8.5, 3.5 + 3 * i));
    }
    return pixmap;
}

}  // namespace

QIcon CommandIcon(const char* name) {
    if (std::strcmp(name, "tallyon-copy") == 0) {
        QIcon icon;
        for (int size : {16, 22, 24, 32, 48})
            icon.addPixmap(CopyPixmap(size));
        return icon;
    }
    return QIcon::fromTheme(QString::fromLatin1(name));
}

}  // namespace tallyon
