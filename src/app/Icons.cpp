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

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(0x2e, 0x5e, 0x9e), 2.5));
    p.setBrush(QColor(0xfd, 0xfd, 0xf8));
    p.drawRoundedRect(QRectF(7, 3, 50, 58), 5, 5);
    const QColor expression(0x33, 0x33, 0x33), arrow(0xd0, 0x20, 0x20), answer(0x10, 0x90, 0x20);
    for (int i = 0; i < 3; ++i) {
        const double y = 17 + 15 * i;
        p.setPen(QPen(expression, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, y), QPointF(i == 1 ? 22 : 27, y));
        p.setPen(QPen(arrow, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(31, y), QPointF(38, y));
        p.drawPolyline(QPolygonF({QPointF(35, y - 3.5), QPointF(38.5, y), QPointF(35, y + 3.5)}));
        p.setPen(QPen(answer, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(44, y), QPointF(i == 2 ? 46 : 50, y));
    }
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

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
