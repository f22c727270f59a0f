// The options dialog's controls, samples and zoom (see Options.h).
#include "settings/Options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>

#include "app/DlgZoomButton.h"
#include "document/editor/Colours.h"
#include "document/editor/DocumentFont.h"
#include "settings/ColourNames.h"
#include "settings/FontChooser.h"
#include "settings/OptionControls.h"
#include "settings/OptionSamples.h"

namespace tallyon {

const TOptionsTexts kOptionsTextsEnglish = {
    "Options",
    {"&Number format", "&Key map", "Clip&board", "&Font", "&Language", "&Others", "&Color"},
    "Number format",
    {"&General", "&Exponent", "&Fixed", "E&ngineering", "&User definition"},
    "Precision:",
    "Digits:",
    "User defined format:",
    "Sample:",
    {"Calculate", "Carriage return", "Line break"},
    "Number format for sending to the clipboard",
    {"&Normal(maximum precision)", "&As specified in 'Number format'"},
    "Clipboard data exchange format for array",
    {"Comma separated numbers", "TAB separated numbers", "SPACE separated numbers",
     "CRLF separated numbers"},
    "Font name:",
    "Font size:",
    "&Change...",
    "Language",
    {"&English", "&Japanese"},
    {"Show &tip help", "Recall the last saved &file", "Recall the last saved &variables",
     "&Query save when discarding the change.", "Tallyon always &stays on top",
     "Become Semi-&transparent when inactivated.", "Simple window st&yle"},
    {"Background:", "Expression:", "Arrow:", "Answer:"},
};

namespace {

// Client area and the places of the parts that frame the pages.
constexpr int kClientWidth = 359;
constexpr int kClientHeight = 288;
constexpr QRect kPageControl(4, 4, 351, 250);
constexpr QRect kZoomButton(4, 260, 25, 25);
constexpr QRect kOkButton(196, 260, 75, 25);
constexpr QRect kCancelButton(280, 260, 75, 25);
constexpr int kDialogFontSize = 9;  // points; the layout is made for it

// The patterns the user-definition list offers.
constexpr const char* kOfferedPatterns[] = {"#,##0.000;-#,##0.000;0.000", "0,;-0,;0", "0,;(0,);0"};

// The labels of the key map page, the same in both languages.
constexpr const char* kKeyLabels[] = {"[Return]", "[Shift]+[Return]", "[Ctrl]+[Return]"};

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <std::size_t N>
QStringList list(const std::array<const char*, N>& texts) {
    QStringList result;
    for (const char* t : texts)
        result << u(t);
    return result;
}

}  // namespace

TFrmOptions::TFrmOptions(QWidget* parent) : TFrmOptions(kOptionsTextsEnglish, parent) {}

TFrmOptions::TFrmOptions(const TOptionsTexts& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName("FrmOptions");
    // A fixed border with the system menu and the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(u(texts_.Caption));
    QFont dialogFont = font();
    dialogFont.setPointSize(kDialogFontSize);
    setFont(dialogFont);
    setFixedSize(kClientWidth, kClientHeight);
    Build();
    ConnectHandlers();
    FormCreate();
}

TFrmOptions::~TFrmOptions() = default;

// ---- building --------------------------------------------------------------------------

QLabel* TFrmOptions::AddLabel(QWidget* page, const char* name, const char* text, int left, int top,
                              int width) {
    auto* label = new QLabel(u(text), page);
    label->setObjectName(name);
    label->setGeometry(left, top, width, 17);
    return label;
}

void TFrmOptions::Build() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(kPageControl);
    PageControl1->setUsesScrollButtons(true);
    constexpr const char* kPageNames[] = {"TabNumberFormat", "TabKeyMap", "TabClipboard", "TabFont",
                                          "TabLanguage",     "TabOthers", "TabColor"};
    using Builder = void (TFrmOptions::*)(QWidget*);
    constexpr Builder kBuilders[] = {
        &TFrmOptions::BuildNumberPage,    &TFrmOptions::BuildKeyMapPage,
        &TFrmOptions::BuildClipboardPage, &TFrmOptions::BuildFontPage,
        &TFrmOptions::BuildLanguagePage,  &TFrmOptions::BuildOthersPage,
        &TFrmOptions::BuildColourPage,
    };
    for (int i = 0; i < 7; ++i) {
        auto* page = new QWidget;
        page->setObjectName(kPageNames[i]);
        PageControl1->addTab(page, u(texts_.Pages[i]));
        (this->*kBuilders[i])(page);
    }
    PageControl1->setCurrentIndex(0);

    DlgZoomButton1 = new TDlgZoomButton(this);
    DlgZoomButton1->setObjectName("DlgZoomButton1");
    DlgZoomButton1->setGeometry(kZoomButton);
    DlgZoomButton1->setAutoDefault(false);
    DlgZoomButton1->MediumRatio = 125;
    DlgZoomButton1->LargeRatio = 150;
    DlgZoomButton1->SetSizeable(false);
    DlgZoomButton1->Images = TDlgZoomButton::MagnifierImages();

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(kOkButton);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(kCancelButton);
    BitBtn2->setAutoDefault(false);
}

void TFrmOptions::BuildNumberPage(QWidget* page) {
    RGrpNumFormat = new TRadioGroup("RGrpNumFormat", page);
    RGrpNumFormat->setTitle(u(texts_.NumFormatGroup));
    RGrpNumFormat->setGeometry(6, 2, 160, 116);
    RGrpNumFormat->SetItems(list(texts_.NumFormats));

    const auto field = [&](const char* labelName, const char* label, const char* editName,
                           const char* upDownName, int top, QLineEdit*& edit, TUpDown*& upDown) {
        AddLabel(page, labelName, label, 176, top + 3, 76);
        edit = new QLineEdit(page);
        edit->setObjectName(editName);
        edit->setGeometry(254, top, 60, 22);
        upDown = new TUpDown(upDownName, page);
        upDown->setGeometry(314, top, 17, 22);
        upDown->Min = 0;
        upDown->Max = 18;
        upDown->SetAssociate(edit);
    };
    field("LblPrecision", texts_.Precision, "EditPrecision", "UpDown1", 10, EditPrecision, UpDown1);
    field("LblDigits", texts_.Digits, "EditDigits", "UpDown2", 38, EditDigits, UpDown2);

    AddLabel(page, "LblUserDefinitionFormat", texts_.UserDefinedFormat, 176, 68, 160);
    CboUserDefinitionFormat = new QComboBox(page);
    CboUserDefinitionFormat->setObjectName("CboUserDefinitionFormat");
    CboUserDefinitionFormat->setEditable(true);
    CboUserDefinitionFormat->setInsertPolicy(QComboBox::NoInsert);
    CboUserDefinitionFormat->setGeometry(176, 86, 160, 22);
    for (const char* pattern : kOfferedPatterns)
        CboUserDefinitionFormat->addItem(u(pattern));

    AddLabel(page, "LblNumberSample", texts_.Sample, 8, 121, 120);
    MemoNumberFormatSample = new QPlainTextEdit(page);
    MemoNumberFormatSample->setObjectName("MemoNumberFormatSample");
    MemoNumberFormatSample->setGeometry(6, 138, 330, 82);
    MemoNumberFormatSample->setReadOnly(true);
    MemoNumberFormatSample->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoNumberFormatSample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoNumberFormatSample->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TFrmOptions::BuildKeyMapPage(QWidget* page) {
    constexpr const char* kLabelNames[] = {"LblReturn", "LblShiftReturn", "LblCtrlReturn"};
    constexpr const char* kListNames[] = {"CboReturn", "CboShiftReturn", "CboCtrlReturn"};
    QComboBox** lists[] = {&CboReturn, &CboShiftReturn, &CboCtrlReturn};
    for (int i = 0; i < 3; ++i) {
        const int top = 20 + i * 40;
        AddLabel(page, kLabelNames[i], kKeyLabels[i], 16, top + 3, 120);
        auto* box = new QComboBox(page);
        box->setObjectName(kListNames[i]);
        box->setGeometry(140, top, 170, 22);
        box->addItems(list(texts_.KeyActions));
        *lists[i] = box;
    }
}

void TFrmOptions::BuildClipboardPage(QWidget* page) {
    RGrpNumFormatClipboard = new TRadioGroup("RGrpNumFormatClipboard", page);
    RGrpNumFormatClipboard->setTitle(u(texts_.ClipboardGroup));
    RGrpNumFormatClipboard->setGeometry(6, 4, 330, 70);
    RGrpNumFormatClipboard->SetItems(list(texts_.ClipboardFormats));
    RGrpArrayClipboardFormat = new TRadioGroup("RGrpArrayClipboardFormat", page);
    RGrpArrayClipboardFormat->setTitle(u(texts_.ArrayGroup));
    RGrpArrayClipboardFormat->setGeometry(6, 82, 330, 110);
    RGrpArrayClipboardFormat->SetItems(list(texts_.ArrayFormats));
}

void TFrmOptions::BuildFontPage(QWidget* page) {
    AddLabel(page, "LblFontNameCaption", texts_.FontName, 8, 12, 84);
    LblFontName = AddLabel(page, "LblFontName", "", 96, 12, 240);
    AddLabel(page, "LblFontSizeCaption", texts_.FontSize, 8, 34, 84);
    LblFontSize = AddLabel(page, "LblFontSize", "", 96, 34, 240);
    AddLabel(page, "LblFontSample", texts_.Sample, 8, 58, 120);
    MemoFontSample = new QPlainTextEdit(page);
    MemoFontSample->setObjectName("MemoFontSample");
    MemoFontSample->setGeometry(6, 76, 330, 104);
    MemoFontSample->setReadOnly(true);
    MemoFontSample->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoFontSample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn3 = new QPushButton(u(texts_.ChangeFont), page);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(236, 188, 100, 25);
    BitBtn3->setAutoDefault(false);
}

void TFrmOptions::BuildLanguagePage(QWidget* page) {
    RGrpLanguage = new TRadioGroup("RGrpLanguage", page);
    RGrpLanguage->setTitle(u(texts_.LanguageGroup));
    RGrpLanguage->setGeometry(6, 4, 160, 70);
    RGrpLanguage->SetItems(list(texts_.Languages));
}

void TFrmOptions::BuildOthersPage(QWidget* page) {
    constexpr const char* kNames[] = {"ChkShowTip",           "ChkRecallFile", "ChkRecallVariables",
                                      "ChkQueryWhenModified", "ChkStayOnTop",  "ChkSemiTransparent",
                                      "ChkSimpleMode"};
    QCheckBox** boxes[] = {&ChkShowTip,           &ChkRecallFile, &ChkRecallVariables,
                           &ChkQueryWhenModified, &ChkStayOnTop,  &ChkSemiTransparent,
                           &ChkSimpleMode};
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(u(texts_.Checks[i]), page);
        box->setObjectName(kNames[i]);
        // Semi-transparency applies while the window stays on top: indented under it.
        const int left = boxes[i] == &ChkSemiTransparent ? 30 : 12;
        box->setGeometry(left, 10 + i * 28, 330 - left, 20);
        *boxes[i] = box;
    }
}

void TFrmOptions::BuildColourPage(QWidget* page) {
    constexpr const char* kLabelNames[] = {"LblBackground", "LblColorExpression", "LblColorArrow",
                                           "LblColorAnswer"};
    constexpr const char* kListNames[] = {"CboBackground", "CboColorExpression", "CboColorArrow",
                                          "CboColorAnswer"};
    QComboBox** lists[] = {&CboBackground, &CboColorExpression, &CboColorArrow, &CboColorAnswer};
    for (int i = 0; i < 4; ++i) {
        const int top = 10 + i * 30;
        AddLabel(page, kLabelNames[i], texts_.ColourLabels[i], 12, top + 3, 90);
        auto* box = new QComboBox(page);
        box->setObjectName(kListNames[i]);
        box->setGeometry(104, top, 200, 22);
        box->setMaxVisibleItems(16);
        *lists[i] = box;
    }
    AddLabel(page, "LblColorSample", texts_.Sample, 12, 134, 120);
    REditColorSample = new QTextEdit(page);
    REditColorSample->setObjectName("REditColorSample");
    REditColorSample->setGeometry(6, 152, 330, 44);
    REditColorSample->setReadOnly(true);
    REditColorSample->setLineWrapMode(QTextEdit::NoWrap);
    REditColorSample->setAcceptRichText(false);
}

void TFrmOptions::ConnectHandlers() {
    connect(RGrpNumFormat, &TRadioGroup::Changed, this, &TFrmOptions::RGrpNumFormatClick);
    connect(EditPrecision, &QLineEdit::textChanged, this, &TFrmOptions::RGrpNumFormatClick);
    connect(EditDigits, &QLineEdit::textChanged, this, &TFrmOptions::RGrpNumFormatClick);
    connect(CboUserDefinitionFormat, &QComboBox::editTextChanged, this,
            &TFrmOptions::RGrpNumFormatClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TFrmOptions::BitBtn3Click);
    for (QComboBox* box : {CboBackground, CboColorExpression, CboColorArrow, CboColorAnswer})
        connect(box, &QComboBox::currentIndexChanged, this, &TFrmOptions::CboBackgroundChange);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

// ---- handlers --------------------------------------------------------------------------

void TFrmOptions::FormCreate() {
    const QString answerLine = QString::fromStdString(SampleAnswerLine());
    REditColorSample->setPlainText(answerLine);
    MemoFontSample->setPlainText(answerLine + '\n' + u(kFontSampleSecondLine));
    RGrpNumFormatClick();
    for (QComboBox* box : {CboBackground, CboColorExpression, CboColorArrow, CboColorAnswer})
        box->clear();
    for (const TColourName& entry : kColourNames)
        GetStrProc(QString::fromUtf8(entry.Name.data(), static_cast<int>(entry.Name.size())));
    DlgZoomButton1->Initialise();
}

void TFrmOptions::GetStrProc(const QString& name) {
    for (QComboBox* box : {CboBackground, CboColorExpression, CboColorArrow, CboColorAnswer}) {
        const QSignalBlocker quiet(box);
        box->addItem(name);
        box->setCurrentIndex(-1);
    }
}

void TFrmOptions::RGrpNumFormatClick() {
    int precision = 0;
    int digits = 0;
    const int format = RGrpNumFormat->ItemIndex();
    if (ReadIntegerField(EditPrecision, precision) && ReadIntegerField(EditDigits, digits)) {
        const std::vector<std::string> lines = NumberSampleLines(
            format, precision, digits, CboUserDefinitionFormat->currentText().toStdString());
        QStringList shown;
        for (const std::string& line : lines)
            shown << QString::fromStdString(line);
        MemoNumberFormatSample->setPlainText(shown.join('\n'));
    }
    const bool user = format == kUserDefinitionFormat;
    EditPrecision->setEnabled(!user);
    UpDown1->setEnabled(!user);
    EditDigits->setEnabled(!user);
    UpDown2->setEnabled(!user);
    CboUserDefinitionFormat->setEnabled(user);
}

QStringList TFrmOptions::NumberSample() const {
    const QString text = MemoNumberFormatSample->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

void TFrmOptions::BitBtn3Click() {
    if (const std::optional<QFont> chosen = FontChooser::current().chooseFont(this, font_))
        SetDialogFont(*chosen);
}

void TFrmOptions::SetDialogFont(const QFont& font) {
    font_ = font;
    FontDisplay();
}

void TFrmOptions::FontDisplay() {
    font_.setBold(false);
    font_.setItalic(false);
    font_.setUnderline(false);
    font_.setStrikeOut(false);
    // A family this system lacks is shown by its name but drawn with the document's
    // fallback, as the document itself draws it.
    const QFont shown = DocumentFont(font_.family(), font_.pointSize(), false, false, false);
    MemoFontSample->setFont(shown);
    REditColorSample->setFont(shown);
    LblFontName->setText(font_.family());
    LblFontSize->setText(QString::number(font_.pointSize()));
    CboBackgroundChange();
}

TColour TFrmOptions::Colour(const QComboBox* list) const {
    const int index = list->currentIndex();
    if (index >= 0 && index < static_cast<int>(kColourNames.size()))
        return kColourNames[index].Value;
    const QComboBox* lists[] = {CboBackground, CboColorExpression, CboColorArrow, CboColorAnswer};
    for (int i = 0; i < 4; ++i)
        if (lists[i] == list) return givenColours_[i];
    return clWindowText;
}

void TFrmOptions::SetColour(QComboBox* list, TColour colour) {
    const QComboBox* lists[] = {CboBackground, CboColorExpression, CboColorArrow, CboColorAnswer};
    for (int i = 0; i < 4; ++i)
        if (lists[i] == list) givenColours_[i] = colour;
    list->setPlaceholderText(QString::fromStdString(ColourToString(colour)));
    list->setCurrentIndex(ColourNameIndex(colour));
    CboBackgroundChange();
}

void TFrmOptions::CboBackgroundChange() {
    QPalette p = REditColorSample->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, ToQColor(Colour(CboBackground)));
    REditColorSample->setPalette(p);

    const QString line = REditColorSample->toPlainText();
    const auto paint = [&](int start, int length, TColour colour) {
        QTextCursor c(REditColorSample->document());
        c.setPosition(start);
        c.setPosition(std::min<int>(start + length, static_cast<int>(line.size())),
                      QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setForeground(ToQColor(colour));
        c.setCharFormat(format);
    };
    paint(0, kSampleExpressionLength, Colour(CboColorExpression));
    paint(kSampleExpressionLength, kSampleArrowLength, Colour(CboColorArrow));
    const int answerStart = kSampleExpressionLength + kSampleArrowLength;
    paint(answerStart, static_cast<int>(line.size()) - answerStart, Colour(CboColorAnswer));
}

}  // namespace tallyon
