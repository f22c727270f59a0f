// The options dialog: seven pages of controls for the settings (number format, key map,
// clipboard, font, language, others, colours), with live samples of the number format, the
// font and the colours, and a zoom button that enlarges the whole dialog.
//
// The dialog only shows and edits; filling it from the settings record and writing the
// record back on OK is the options command's job (OptionsCommand.h). TFrmOptions shows the
// English texts; TFrmOptionsJ (OptionsJ.h) is the same dialog with the Japanese ones. Every
// visible text comes from one TOptionsTexts table per language.
//
// Controls are placed at absolute pixel positions in a 359 by 288 client area, so that the
// zoom button can scale them all by one ratio.
#pragma once

#include <QDialog>
#include <QFont>
#include <array>

#include "settings/SettingsRecord.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QCheckBox;

namespace tallyon {

class TDlgZoomButton;
class TRadioGroup;
class TUpDown;

// Every visible text of the options dialog that depends on the language. "&" marks the
// access key.
struct TOptionsTexts {
    const char* Caption;
    std::array<const char*, 7> Pages;
    // Number format page.
    const char* NumFormatGroup;
    std::array<const char*, 5> NumFormats;
    const char* Precision;
    const char* Digits;
    const char* UserDefinedFormat;
    const char* Sample;  // the label of every sample
    // Key map page: the actions of a key.
    std::array<const char*, 3> KeyActions;
    // Clipboard page.
    const char* ClipboardGroup;
    std::array<const char*, 2> ClipboardFormats;
    const char* ArrayGroup;
    std::array<const char*, 4> ArrayFormats;
    // Font page.
    const char* FontName;
    const char* FontSize;
    const char* ChangeFont;
    // Language page.
    const char* LanguageGroup;
    std::array<const char*, 2> Languages;
    // Others page, in the order of the check boxes.
    std::array<const char*, 7> Checks;
    // Colour page: Background, Expression, Arrow, Answer.
    std::array<const char*, 4> ColourLabels;
};

extern const TOptionsTexts kOptionsTextsEnglish;

class TFrmOptions : public QDialog {
    Q_OBJECT
public:
    // The English dialog.
    explicit TFrmOptions(QWidget* parent = nullptr);
    ~TFrmOptions() override;

    // Components, named as the design names them.
    QTabWidget* PageControl1 = nullptr;
    // Number format.
    TRadioGroup* RGrpNumFormat = nullptr;
    QLineEdit* EditPrecision = nullptr;
    TUpDown* UpDown1 = nullptr;
    QLineEdit* EditDigits = nullptr;
    TUpDown* UpDown2 = nullptr;
    QComboBox* CboUserDefinitionFormat = nullptr;
    QPlainTextEdit* MemoNumberFormatSample = nullptr;
    // Key map.
    QComboBox* CboReturn = nullptr;
    QComboBox* CboShiftReturn = nullptr;
    QComboBox* CboCtrlReturn = nullptr;
    // Clipboard.
    TRadioGroup* RGrpNumFormatClipboard = nullptr;
    TRadioGroup* RGrpArrayClipboardFormat = nullptr;
    // Font.
    QLabel* LblFontName = nullptr;
    QLabel* LblFontSize = nullptr;
    QPlainTextEdit* MemoFontSample = nullptr;
    QPushButton* BitBtn3 = nullptr;
    // Language.
    TRadioGroup* RGrpLanguage = nullptr;
    // Others.
    QCheckBox* ChkShowTip = nullptr;
    QCheckBox* ChkRecallFile = nullptr;
    QCheckBox* ChkRecallVariables = nullptr;
    QCheckBox* ChkQueryWhenModified = nullptr;
    QCheckBox* ChkStayOnTop = nullptr;
    QCheckBox* ChkSemiTransparent = nullptr;
    QCheckBox* ChkSimpleMode = nullptr;
    // Colours.
    QComboBox* CboBackground = nullptr;
    QComboBox* CboColorExpression = nullptr;
    QComboBox* CboColorArrow = nullptr;
    QComboBox* CboColorAnswer = nullptr;
    QTextEdit* REditColorSample = nullptr;
    // Bottom row.
    TDlgZoomButton* DlgZoomButton1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // Cancel

    // The font the font page shows and OK hands to the document (the font dialog's font):
    // its style is always cleared.
    QFont DialogFont() const { return font_; }
    // Takes `font` without its style and runs the font display.
    void SetDialogFont(const QFont& font);

    // The colour of each list: the value of the chosen name, or, while no name is chosen,
    // the value the list was given (which may have no name).
    TColour Colour(const QComboBox* list) const;
    // Shows `colour` in `list`: its name is chosen; a value without a name chooses none and
    // shows as "$" and eight hexadecimal digits.
    void SetColour(QComboBox* list, TColour colour);

    // Handlers.
    void FormCreate();
    // Rebuilds the number sample and enables the fields that the chosen format uses.
    void RGrpNumFormatClick();
    // The font change button: the font dialog, then the font display.
    void BitBtn3Click();
    // Repaints the colour sample from the four lists.
    void CboBackgroundChange();
    // Adds one colour name to the four colour lists.
    void GetStrProc(const QString& name);

    // The number sample's lines as shown.
    QStringList NumberSample() const;

protected:
    // The dialog with the texts of `texts`.
    TFrmOptions(const TOptionsTexts& texts, QWidget* parent);

private:
    void Build();
    void BuildNumberPage(QWidget* page);
    void BuildKeyMapPage(QWidget* page);
    void BuildClipboardPage(QWidget* page);
    void BuildFontPage(QWidget* page);
    void BuildLanguagePage(QWidget* page);
    void BuildOthersPage(QWidget* page);
    void BuildColourPage(QWidget* page);
    void ConnectHandlers();
    void FontDisplay();
    QLabel* AddLabel(QWidget* page, const char* name, const char* text, int left, int top,
                     int width);

    const TOptionsTexts& texts_;
    QFont font_;
    // The value each colour list was given, for a value with no name.
    std::array<TColour, 4> givenColours_{clWindow, clWindowText, clRed, clGreen};
};

}  // namespace tallyon
