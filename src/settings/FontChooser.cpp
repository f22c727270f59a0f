// The font chooser seam (see FontChooser.h).
#include "settings/FontChooser.h"

#include <QFontDialog>

namespace tallyon {

namespace {

class DialogFontChooser final : public FontChooser {
public:
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override {
        bool ok = false;
        const QFont font =
            QFontDialog::getFont(&ok, initial, parent, QString(), QFontDialog::DontUseNativeDialog);
        if (!ok) return std::nullopt;
        return font;
    }
};

FontChooser* installed = nullptr;

}  // namespace

FontChooser& FontChooser::current() {
    static DialogFontChooser dialogs;
    return installed ? *installed : dialogs;
}

void FontChooser::install(FontChooser* chooser) {
    installed = chooser;
}

ScriptedFontChooser::ScriptedFontChooser() : previous_(installed) {
    install(this);
}

ScriptedFontChooser::~ScriptedFontChooser() {
    install(previous_);
}

std::optional<QFont> ScriptedFontChooser::chooseFont(QWidget*, const QFont& initial) {
    offered.push_back(initial);
    if (fonts.empty()) return std::nullopt;
    std::optional<QFont> font = fonts.front();
    fonts.pop_front();
    return font;
}

}  // namespace tallyon
