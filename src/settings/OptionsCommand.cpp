// The Options command (see OptionsCommand.h).
#include "settings/OptionsCommand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "settings/OptionControls.h"
#include "settings/Options.h"
#include "settings/OptionsJ.h"

namespace tallyon {

namespace {

// A key-map list shows action `value` (1 to 3) as entry value - 1; anything else chooses
// no entry, which is stored back as 0.
void ShowKeyAction(QComboBox* list, int value) {
    list->setCurrentIndex(value >= 1 && value <= list->count() ? value - 1 : -1);
}

}  // namespace

std::unique_ptr<TFrmOptions> MakeOptionsDialog(int language, QWidget* parent) {
    if (IsEnglish(language)) return std::make_unique<TFrmOptions>(parent);
    return std::make_unique<TFrmOptionsJ>(parent);
}

void FillOptionsDialog(TFrmOptions& d, const TSettingsRecord& s) {
    d.RGrpNumFormat->SetItemIndex(s.OptNumFormat);
    d.EditPrecision->setText(QString::number(s.OptPrecision));
    d.UpDown1->SetPosition(s.OptPrecision);
    d.EditDigits->setText(QString::number(s.OptDigits));
    d.CboUserDefinitionFormat->setEditText(QString::fromStdString(s.OptNumFormatStr));
    d.RGrpNumFormatClipboard->SetItemIndex(s.OptNumFormatClipboard);
    d.RGrpArrayClipboardFormat->SetItemIndex(s.OptNumFormatArray);
    d.UpDown2->SetPosition(s.OptDigits);
    ShowKeyAction(d.CboReturn, s.OptReturn);
    ShowKeyAction(d.CboShiftReturn, s.OptShiftReturn);
    ShowKeyAction(d.CboCtrlReturn, s.OptCtrlReturn);
    d.RGrpLanguage->SetItemIndex(s.Language - 1);
    QFont font(QString::fromStdString(s.FontName));
    font.setPointSize(s.FontSize > 0 ? s.FontSize : 9);
    d.ChkShowTip->setChecked(s.TipHint);
    d.ChkRecallFile->setChecked(s.OptRecallLastFile);
    d.ChkRecallVariables->setChecked(s.OptRecallLastVariables);
    d.ChkQueryWhenModified->setChecked(s.OptQueryDiscard);
    d.ChkStayOnTop->setChecked(s.OptStayOnTop);
    d.ChkSemiTransparent->setChecked(s.OptSemiTransparent);
    d.ChkSimpleMode->setChecked(s.OptSimpleMode);
    d.SetColour(d.CboBackground, s.OptColorBack);
    d.SetColour(d.CboColorExpression, s.OptColorExpression);
    d.SetColour(d.CboColorArrow, s.OptColorArrow);
    d.SetColour(d.CboColorAnswer, s.OptColorAnswer);
    d.SetDialogFont(font);
}

void ConfirmOptionsDialog(const TFrmOptions& d, OptionsHost& host) {
    TSettingsRecord& s = host.settingsRecord();
    s.OptNumFormat = d.RGrpNumFormat->ItemIndex();
    ReadIntegerField(d.EditPrecision, s.OptPrecision);
    ReadIntegerField(d.EditDigits, s.OptDigits);
    s.OptNumFormatStr = d.CboUserDefinitionFormat->currentText().toStdString();
    s.OptNumFormatClipboard = d.RGrpNumFormatClipboard->ItemIndex();
    s.OptNumFormatArray = d.RGrpArrayClipboardFormat->ItemIndex();
    s.OptReturn = d.CboReturn->currentIndex() + 1;
    s.OptShiftReturn = d.CboShiftReturn->currentIndex() + 1;
    s.OptCtrlReturn = d.CboCtrlReturn->currentIndex() + 1;

    s.Language = d.RGrpLanguage->ItemIndex() + 1;
    host.ApplyLanguage();

    const QFont font = d.DialogFont();
    s.FontName = font.family().toStdString();
    s.FontSize = font.pointSize();
    host.ApplyEditorFont();

    s.OptQueryDiscard = d.ChkQueryWhenModified->isChecked();
    s.OptStayOnTop = d.ChkStayOnTop->isChecked();
    s.OptSemiTransparent = d.ChkSemiTransparent->isChecked();
    s.OptSimpleMode = d.ChkSimpleMode->isChecked();
    host.ApplyWindowStyle();

    s.TipHint = d.ChkShowTip->isChecked();
    host.ApplyTipHint();
    s.OptRecallLastFile = d.ChkRecallFile->isChecked();
    s.OptRecallLastVariables = d.ChkRecallVariables->isChecked();

    s.OptColorBack = d.Colour(d.CboBackground);
    s.OptColorExpression = d.Colour(d.CboColorExpression);
    s.OptColorArrow = d.Colour(d.CboColorArrow);
    s.OptColorAnswer = d.Colour(d.CboColorAnswer);
    host.ApplyDocumentColours();
}

void RunOptionsCommand(OptionsHost& host) {
    std::unique_ptr<TFrmOptions> dialog =
        MakeOptionsDialog(host.settingsRecord().Language, host.promptParent());
    FillOptionsDialog(*dialog, host.settingsRecord());
    if (host.ShowModal(*dialog)) ConfirmOptionsDialog(*dialog, host);
    host.UpdateTitleAndStatus();
    host.ColourAllAnswers();
}

}  // namespace tallyon
