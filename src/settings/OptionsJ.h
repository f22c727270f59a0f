// The options dialog with Japanese texts: the same controls, layout and behaviour as
// TFrmOptions, only the visible texts differ.
#pragma once

#include "settings/Options.h"

namespace tallyon {

extern const TOptionsTexts kOptionsTextsJapanese;

class TFrmOptionsJ : public TFrmOptions {
    Q_OBJECT
public:
    explicit TFrmOptionsJ(QWidget* parent = nullptr);
};

}  // namespace tallyon
