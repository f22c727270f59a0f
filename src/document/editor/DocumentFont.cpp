// Font lookup with a Japanese-capable monospaced fallback.
#include "document/editor/DocumentFont.h"

#include <QFontDatabase>

namespace tallyon {

namespace {

// Tried in order when the named family is missing: monospaced families with Japanese glyphs
// first, then the gothic families that pair with them.
constexpr const char* kFallbackFamilies[] = {
    "Noto Sans Mono CJK JP", "IPAGothic", "IPAゴシック", "VL Gothic", "Noto Sans CJK JP",
};

bool installed(const QString& family) {
    return !family.isEmpty() && QFontDatabase::hasFamily(family);
}

}  // namespace

QFont DocumentFont(const QString& family, int pointSize, bool bold, bool italic, bool underline) {
    QFont font;
    if (installed(family)) {
        font.setFamily(family);
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        for (const char* candidate : kFallbackFamilies) {
            if (installed(QString::fromUtf8(candidate))) {
                font.setFamily(QString::fromUtf8(candidate));
                break;
            }
        }
    }
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(pointSize > 0 ? pointSize : 9);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

}  // namespace tallyon
