// The document's font from the settings' font values. A named font that this system lacks
// (documents often name Windows fonts such as "ＭＳ ゴシック") is replaced by a monospaced
// font that covers Japanese, so Japanese text renders and columns stay aligned.
#pragma once

#include <QFont>
#include <QString>

namespace tallyon {

QFont DocumentFont(const QString& family, int pointSize, bool bold, bool italic, bool underline);

}  // namespace tallyon
