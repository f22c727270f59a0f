// The insert commands' rows and texts (see InsertCommands.h).
#include "app/InsertCommands.h"

#include <QTextCursor>
#include <cstring>

#include "app/MainWnd.h"
#include "document/editor/DocumentEditor.h"

namespace tallyon {

namespace {

constexpr char kConstPrefix[] = "AtnInsertConst";
constexpr char kFuncPrefix[] = "AtnInsertFunc";

// An insert command's hint is its caption.
constexpr CommandRow Insert(const char* name, const char* en, const char* ja,
                            CommandHandler handler) {
    return {name,   en, en, ja, ja, "", QKeySequence::UnknownKey, "", "", false, EnableRule::Always,
            handler};
}
constexpr CommandRow Const(const char* name, const char* en, const char* ja) {
    return Insert(name, en, ja, &TFrmMain::AtnInsertConstExecute);
}
constexpr CommandRow Func(const char* name, const char* en, const char* ja) {
    return Insert(name, en, ja, &TFrmMain::AtnInsertFuncExecute);
}

// clang-format off
constexpr CommandRow kInsertCommands[] = {
    Const("AtnInsertConstA0", "Bohr's radius(_A0)", "ボーア半径(_A0)"),
    Const("AtnInsertConstC0", "Velocity of light in free space(_C)", "真空における高速(_C)"),
    Const("AtnInsertConstE", "Base of the natural logarithm(_E)", "自然対数の底(_E)"),
    Const("AtnInsertConstE0", "Permittivity of free space(_E0)", "真空の誘電率(_E0)"),
    Const("AtnInsertConstEU", "Electron charge(_EU)", "素電荷(_EU)"),
    Const("AtnInsertConstFALSE", "Logical false(_FALSE)", "偽(_FALSE)"),
    Const("AtnInsertConstH", "Planck constant(_H)", "プランク定数(_H)"),
    Const("AtnInsertConstK", "Boltzmann's constant(_K)", "ボルツマン定数(_K)"),
    Const("AtnInsertConstME", "Electron mass(_ME)", "電子質量(_ME)"),
    Const("AtnInsertConstMN", "Neutron mass(_MN)", "中性子質量(_MN)"),
    Const("AtnInsertConstMP", "Proton mass(_MP)", "陽子質量(_MP)"),
    Const("AtnInsertConstNA", "Avogadro constant(_NA)", "アボガドロ数(_NA)"),
    Const("AtnInsertConstPI", "Pi(_PI)", "円周率(_PI)"),
    Const("AtnInsertConstR", "Molar gas constant(_R)", "1モルの気体定数(_R)"),
    Const("AtnInsertConstRND", "Random number less than 1(_RND)", "1未満の実数乱数(_RND)"),
    Const("AtnInsertConstTRUE", "Logical true(_TRUE)", "真(_TRUE)"),
    Const("AtnInsertConstU0", "Permeability of free space(_U0)", "真空の透磁率(_U0)"),
    Const("AtnInsertConstUB", "Bohr magnetron(_UB)", "ボーアマグネトロン(_UB)"),
    Const("AtnInsertConstUE", "Magnetic momentum of electron(_UE)", "電子磁気モーメント(_UE)"),
    Const("AtnInsertConstUP", "Magnetic momentum of proton(_UP)", "陽子磁気モーメント(_UP)"),
    Const("AtnInsertConstVM", "Standard volume of ideal gas(_VM)", "理想気体1モルの体積(_VM)"),
    // Electronics
    Func("AtnInsertFuncIND", "Impedance of inductor(IND)", "インダクタインピーダンス(IND)"),
    Func("AtnInsertFuncCAP", "Impedance of capacitor(CAP)", "キャパシタインピーダンス(CAP)"),
    Func("AtnInsertFuncACAP", "Inverse of impedance of capacitor(ACAP)", "逆キャパシタインピーダンス(ACAP)"),
    Func("AtnInsertFuncAIND", "Inverse of impedance of inductor(AIND)", "逆インダクタインピーダンス(AIND)"),
    // Trigonometrical, in radians
    Func("AtnInsertFuncCOS", "Cosine(COS)", "余弦(COS)"),
    Func("AtnInsertFuncSIN", "Sine(SIN)", "正弦(SIN)"),
    Func("AtnInsertFuncTAN", "Tangent(TAN)", "正接(TAN)"),
    Func("AtnInsertFuncARCSIN", "Arcsine(ARCSIN)", "逆正弦(ARCSIN)"),
    Func("AtnInsertFuncARCCOS", "Arccosine(ARCCOS)", "逆余弦(ARCCOS)"),
    Func("AtnInsertFuncARCTAN", "Arctangent(ARCTAN)", "逆正接(ARCTAN)"),
    Func("AtnInsertFuncCOSH", "Hyperbolic cosine(COSH)", "双曲線余弦(COSH)"),
    Func("AtnInsertFuncSINH", "Hyperbolic sine(SINH)", "双曲線正弦(SINH)"),
    Func("AtnInsertFuncTANH", "Hyperbolic tangent(TANH)", "双曲線正接(TANH)"),
    Func("AtnInsertFuncARCCOSH", "Hyperbolic arccosine(ARCCOSH)", "逆双曲線余弦(ARCCOSH)"),
    Func("AtnInsertFuncARCSINH", "Hyperbolic arcsine(ARCSINH)", "逆双曲線正弦(ARCSINH)"),
    Func("AtnInsertFuncARCTANH", "Hyperbolic arctangent(ARCTANH)", "逆双曲線正接(ARCTANH)"),
    // Trigonometrical, in degrees
    Func("AtnInsertFuncSIND", "Sine in degree(SIND)", "正弦(度)(SIND)"),
    Func("AtnInsertFuncCOSD", "Cosine in degree(COSD)", "余弦(度)(COSD)"),
    Func("AtnInsertFuncTAND", "Tangent in degree(TAND)", "正接(度)(TAND)"),
    Func("AtnInsertFuncARCSIND", "Arcsine in degree(ARCSIND)", "逆正弦(度)(ARCSIND)"),
    Func("AtnInsertFuncARCCOSD", "Arccosine in degree(ARCCOSD)", "逆余弦(度)(ARCCOSD)"),
    Func("AtnInsertFuncARCTAND", "Arctangent in degree(ARCTAND)", "逆正接(度)(ARCTAND)"),
    Func("AtnInsertFuncSINHD", "Hyperbolic sine in degree(SINHD)", "双曲線正弦(度)(SINHD)"),
    Func("AtnInsertFuncCOSHD", "Hyperbolic cosine in degree(COSHD)", "双曲線余弦(度)(COSHD)"),
    Func("AtnInsertFuncTANHD", "Hyperbolic tangent in degree(TANHD)", "双曲線正接(度)(TANHD)"),
    Func("AtnInsertFuncARCSINHD", "Hyperbolic arcsine in degree(ARCSINHD)", "逆双曲線正弦(度)(ARCSINHD)"),
    Func("AtnInsertFuncARCCOSHD", "Hyperbolic arccosine in degree(ARCCOSHD)", "逆双曲線余弦(度)(ARCCOSHD)"),
    Func("AtnInsertFuncARCTANHD", "Hyperbolic arctangent in degree(ARCTANHD)", "逆双曲線正接(度)(ARCTANHD)"),
    // Conversion
    Func("AtnInsertFuncDEGTORAD", "Convert degree into radian(DEGTORAD)", "度をラジアンへ変換(DEGTORAD)"),
    Func("AtnInsertFuncRADTODEG", "Convert radian into degree(RADTODEG)", "ラジアンを度へ変換(RADTODEG)"),
    Func("AtnInsertFuncDB", "Decibel of power(DB)", "電力デシベル(DB)"),
    Func("AtnInsertFuncDB2", "Decibel of voltage(DB2)", "電圧デシベル(DB2)"),
    Func("AtnInsertFuncADB", "Inverse of decibel of power(ADB)", "逆電力デシベル(ADB)"),
    Func("AtnInsertFuncADB2", "Inverse of decibel of voltage(ADB2)", "逆電圧デシベル(ADB2)"),
    // Exponent and logarithmic
    Func("AtnInsertFuncLN", "Natural logarithm(LN)", "自然対数(LN)"),
    Func("AtnInsertFuncLOG", "Common logarithm(LOG)", "常用対数(LOG)"),
    Func("AtnInsertFuncEXP", "Exponent(EXP)", "指数関数(EXP)"),
    Func("AtnInsertFuncSQRT", "Square root(SQRT)", "平方根(SQRT)"),
    // Statistics and truncation
    Func("AtnInsertFuncCEIL", "Round up(CEIL)", "正方向へ切り上げ(CEIL)"),
    Func("AtnInsertFuncFLOOR", "Round off(FLOOR)", "負方向へ切り下げ(FLOOR)"),
    Func("AtnInsertFuncFRAC", "Decimal fraction part(FRAC)", "小数部抽出(FRAC)"),
    Func("AtnInsertFuncMAX", "Maximum value(MAX)", "最大値(MAX)"),
    Func("AtnInsertFuncMEAN", "Average(MEAN)", "平均(MEAN)"),
    Func("AtnInsertFuncMIN", "Minimum value(MIN)", "最小値(MIN)"),
    Func("AtnInsertFuncROUND", "Round up numbers of five and above(ROUND)", "四捨五入(ROUND)"),
    Func("AtnInsertFuncSUM", "Summation(SUM)", "合計(SUM)"),
    Func("AtnInsertFuncTRUNC", "Drop decimal fractions(TRUNC)", "小数部切り捨て(TRUNC)"),
    // Miscellaneous
    Func("AtnInsertFuncABS", "Absolute value(ABS)", "絶対値(ABS)"),
    Func("AtnInsertFuncIF", "Conditional evaluation(IF)", "条件判断(IF)"),
};

constexpr const char* kConstantsMenu[] = {
    "AtnInsertConstA0", "AtnInsertConstC0", "AtnInsertConstE", "AtnInsertConstE0",
    "AtnInsertConstEU", "AtnInsertConstFALSE", "AtnInsertConstH", "AtnInsertConstK",
    "AtnInsertConstME", "AtnInsertConstMN", "AtnInsertConstMP", "AtnInsertConstNA",
    "AtnInsertConstPI", "AtnInsertConstR", "AtnInsertConstRND", "AtnInsertConstTRUE",
    "AtnInsertConstU0", "AtnInsertConstUB", "AtnInsertConstUE", "AtnInsertConstUP",
    "AtnInsertConstVM"};
constexpr const char* kElectronicsMenu[] = {"AtnInsertFuncIND", "AtnInsertFuncCAP",
                                            "AtnInsertFuncACAP", "AtnInsertFuncAIND"};
constexpr const char* kTrigonometricalMenu[] = {
    "AtnInsertFuncCOS", "AtnInsertFuncSIN", "AtnInsertFuncTAN", "AtnInsertFuncARCSIN",
    "AtnInsertFuncARCCOS", "AtnInsertFuncARCTAN", "AtnInsertFuncCOSH", "AtnInsertFuncSINH",
    "AtnInsertFuncTANH", "AtnInsertFuncARCCOSH", "AtnInsertFuncARCSINH", "AtnInsertFuncARCTANH",
    "-",
    "AtnInsertFuncSIND", "AtnInsertFuncCOSD", "AtnInsertFuncTAND", "AtnInsertFuncARCSIND",
    "AtnInsertFuncARCCOSD", "AtnInsertFuncARCTAND", "AtnInsertFuncSINHD", "AtnInsertFuncCOSHD",
    "AtnInsertFuncTANHD", "AtnInsertFuncARCSINHD", "AtnInsertFuncARCCOSHD",
    "AtnInsertFuncARCTANHD"};
constexpr const char* kConversionMenu[] = {"AtnInsertFuncDEGTORAD", "AtnInsertFuncRADTODEG",
                                           "AtnInsertFuncDB", "AtnInsertFuncDB2",
                                           "AtnInsertFuncADB", "AtnInsertFuncADB2"};
constexpr const char* kExponentMenu[] = {"AtnInsertFuncLN", "AtnInsertFuncLOG",
                                         "AtnInsertFuncEXP", "AtnInsertFuncSQRT"};
// FRAC is a built-in function like the others, so it has its place in alphabetical order.
constexpr const char* kStatisticsMenu[] = {
    "AtnInsertFuncCEIL", "AtnInsertFuncFLOOR", "AtnInsertFuncFRAC", "AtnInsertFuncMAX",
    "AtnInsertFuncMEAN", "AtnInsertFuncMIN", "AtnInsertFuncROUND", "AtnInsertFuncSUM",
    "AtnInsertFuncTRUNC"};
constexpr const char* kMiscellaneousMenu[] = {"AtnInsertFuncABS", "AtnInsertFuncIF"};
// clang-format on

struct NamedLayout {
    const char* name;
    Layout layout;
};
const NamedLayout kInsertLayouts[] = {
    {"Constants1", kConstantsMenu},
    {"Electronics1", kElectronicsMenu},
    {"Trigonometrical1", kTrigonometricalMenu},
    {"Conversion1", kConversionMenu},
    {"ExponentandLogarithmic1", kExponentMenu},
    {"Statistics1", kStatisticsMenu},
    {"Miscellaneous1", kMiscellaneousMenu},
};

// Command names whose constant is not the rest of the name.
struct ConstantAlias {
    const char* rest;
    const char* constant;
};
constexpr ConstantAlias kConstantAliases[] = {{"C0", "C"}};

}  // namespace

std::span<const CommandRow> InsertCommands() {
    return kInsertCommands;
}

Layout InsertMenuLayout(const char* name) {
    for (const NamedLayout& l : kInsertLayouts)
        if (std::strcmp(l.name, name) == 0) return l.layout;
    return {};
}

InsertedText ConstantText(const QString& commandName) {
    if (!commandName.startsWith(QLatin1StringView(kConstPrefix), Qt::CaseSensitive)) return {};
    QString rest = commandName.mid(qsizetype(sizeof kConstPrefix) - 1);
    for (const ConstantAlias& alias : kConstantAliases)
        if (rest == QLatin1StringView(alias.rest)) rest = QString::fromLatin1(alias.constant);
    return {'_' + rest, 0};
}

InsertedText FunctionText(const QString& commandName) {
    if (!commandName.startsWith(QLatin1StringView(kFuncPrefix), Qt::CaseSensitive)) return {};
    return {commandName.mid(qsizetype(sizeof kFuncPrefix) - 1) + "()", 1};
}

void InsertIntoDocument(TDocumentEditor& editor, const InsertedText& inserted) {
    if (inserted.text.isEmpty()) return;
    editor.insertUserText(inserted.text);
    QTextCursor c = editor.textCursor();
    c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::MoveAnchor, inserted.caretBack);
    editor.setTextCursor(c);
}

}  // namespace tallyon
