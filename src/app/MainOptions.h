// The main window as the Options command's host: the settings record, the modal dialog
// through the prompts, and the operations that bring changed options into effect on the
// document, the commands and the window.
#pragma once

#include "settings/OptionsCommand.h"

namespace tallyon {

class TFrmMain;

class MainOptionsHost final : public OptionsHost {
public:
    explicit MainOptionsHost(TFrmMain& window) : window_(window) {}

    QWidget* promptParent() override;
    TSettingsRecord& settingsRecord() override;
    bool ShowModal(TFrmOptions& dialog) override;
    void ApplyLanguage() override;
    void ApplyEditorFont() override;
    void ApplyWindowStyle() override;
    void ApplyTipHint() override;
    void ApplyDocumentColours() override;
    void UpdateTitleAndStatus() override;
    void ColourAllAnswers() override;

private:
    TFrmMain& window_;
};

}  // namespace tallyon
