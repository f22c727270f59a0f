// The Options command: makes the options dialog in the current language, fills it from the
// settings record, shows it modally and, when the user confirms with OK, writes the controls
// back into the record in a fixed order, applying each group's consequences at once (the
// language, the document font, the window style, the hints, the document colours). Whether
// confirmed or cancelled, the title is refreshed and the answers are coloured again.
//
// Nothing is written to the settings store here; the record is stored when the program
// closes. The command talks to the main window only through OptionsHost.
#pragma once

#include <memory>

#include "settings/SettingsRecord.h"

class QWidget;

namespace tallyon {

class TFrmOptions;

// What the Options command needs of the main window: its settings record and the operations
// that bring a changed setting into effect.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    // The window the dialog is centred on.
    virtual QWidget* promptParent() = 0;
    virtual TSettingsRecord& settingsRecord() = 0;
    // Shows the dialog modally; true when the user confirmed it with OK.
    virtual bool ShowModal(TFrmOptions& dialog) = 0;

    // Writes every command caption, hint and menu caption in the record's `Language`.
    virtual void ApplyLanguage() = 0;
    // Gives the whole document and the variables rows the record's `FontName` and `FontSize`
    // (the character set and style of the document font stay).
    virtual void ApplyEditorFont() = 0;
    // Applies `OptSimpleMode`, `OptStayOnTop` and `OptSemiTransparent`.
    virtual void ApplyWindowStyle() = 0;
    // Shows or hides the main window's tool tips per `TipHint`.
    virtual void ApplyTipHint() = 0;
    // Gives the document the record's four colours; the background changes at once.
    virtual void ApplyDocumentColours() = 0;
    // Refreshes the window title and the "Modified" panel.
    virtual void UpdateTitleAndStatus() = 0;
    // Colours every arrow and answer again, protected.
    virtual void ColourAllAnswers() = 0;
};

// The options dialog for `language`: English for 1, Japanese for every other value.
std::unique_ptr<TFrmOptions> MakeOptionsDialog(int language, QWidget* parent);

// Shows `settings` in the dialog's controls, then runs the font display.
void FillOptionsDialog(TFrmOptions& dialog, const TSettingsRecord& settings);

// Writes the controls into the host's record and applies them, in the order: number format,
// precision and digits (a field that is not an integer keeps its setting; values are not
// limited to the up-down range), pattern, clipboard formats, key map, language, font, window
// style switches, hints and recall switches, colours.
void ConfirmOptionsDialog(const TFrmOptions& dialog, OptionsHost& host);

// The whole command: make, fill, show modally, confirm on OK, then refresh the title and
// colour the answers whatever the outcome.
void RunOptionsCommand(OptionsHost& host);

}  // namespace tallyon
