// The system clipboard behind the clipboard interface: plain text through QClipboard, as
// UTF-8. Needs a running QGuiApplication.
#pragma once

#include "clipboard/ClipboardExchange.h"

namespace tallyon {

class TQtClipboardText : public IClipboardText {
public:
    // Empty when the clipboard holds no text (an image, nothing at all).
    std::string text() const override;
    void setText(const std::string& text) override;
};

}  // namespace tallyon
