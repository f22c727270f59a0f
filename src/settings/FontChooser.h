// The door through which the options dialog asks the user for a font. The default shows
// Qt's font dialog; tests install a scripted chooser that answers without a dialog.
#pragma once

#include <QFont>
#include <deque>
#include <optional>

class QWidget;

namespace tallyon {

class FontChooser {
public:
    virtual ~FontChooser() = default;

    // Shows a font dialog preset to `initial`; the chosen font, or nothing when the user
    // cancelled. Only fonts the system has can be chosen.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;

    // The chooser in use: the installed one, or the dialog-showing default.
    static FontChooser& current();
    // Installs `chooser` (not owned) for every later call; nullptr restores the default.
    static void install(FontChooser* chooser);
};

// Answers from a script, for tests: each call takes the next font of `fonts` (an empty
// entry or a dry script cancels) and records the font it was offered. Installs itself for
// its lifetime and restores the previous chooser when destroyed.
class ScriptedFontChooser final : public FontChooser {
public:
    ScriptedFontChooser();
    ~ScriptedFontChooser() override;
    ScriptedFontChooser(const ScriptedFontChooser&) = delete;
    ScriptedFontChooser& operator=(const ScriptedFontChooser&) = delete;

    std::deque<std::optional<QFont>> fonts;
    std::deque<QFont> offered;

    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;

private:
    FontChooser* previous_;
};

}  // namespace tallyon
