// Clipboard exchange over the clipboard interface; see ClipboardExchange.h.
#include "clipboard/ClipboardExchange.h"

#include <stdexcept>
#include <vector>

#include "clipboard/ArrayText.h"
#include "document/AnswerFormat.h"
#include "document/CalcDocument.h"
#include "engine/RuvoSub.h"
#include "engine/VariableList.h"
#include "settings/SettingsRecord.h"

namespace tallyon {

namespace {

constexpr std::string_view kClipName = "_CLIP";

bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

}  // namespace

TClipboardExchange::TClipboardExchange(IClipboardText& clipboard, TVariableList& variables,
                                       TSettingsRecord& settings)
    : clipboard_(clipboard), variables_(variables), settings_(settings) {
    PatternStr1.SetLineSeparator(TLineSeparator::lsCRLF);
    PatternStr1.SetUseFuzzyDictionary(false);
    PatternStr1.SetUseSynonymDictionary(false);
}

std::string TClipboardExchange::NormaliseClipboardText(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsTrimmed(text[begin]))
        ++begin;
    while (end > begin && IsTrimmed(text[end - 1]))
        --end;
    std::string result(text.substr(begin, end - begin));
    if (result.empty()) return result;
    PatternStr1.SetRegExp(ArrayFormat(settings_.OptNumFormatArray).Pattern);
    PatternStr1.GSub(",", result);
    return result;
}

void TClipboardExchange::LoadClipboardVariable() {
    variables_.Set(kClipName, NormaliseClipboardText(clipboard_.text()));
}

void TClipboardExchange::PutClipboardValue(const std::string& value, int index) {
    if (index < -1) throw std::out_of_range("List index out of bounds");
    std::string sent = value;
    if (settings_.OptNumFormatClipboard == 1)
        sent = FormatAnswer(static_cast<double>(RuvoStrToFloat(value)), settings_);
    if (index == -1) {
        clipboard_.setText(sent);
        return;
    }
    const int arrayFormat = settings_.OptNumFormatArray;
    std::vector<std::string> items = ReadArrayText(clipboard_.text(), arrayFormat);
    const size_t at = static_cast<size_t>(index);
    if (at >= items.size()) {
        if (index > kMaxPaddedClipboardIndex) throw std::out_of_range("List index out of bounds");
        items.resize(at + 1, "0");
    }
    items[at] = sent;
    clipboard_.setText(JoinArrayText(WriteCommaList(items), arrayFormat));
}

void TClipboardExchange::CopyAnswerToClipboard(const std::string& answer, double value) {
    if (!settings_.OptAutomaticallyCopyState) return;
    clipboard_.setText(settings_.OptNumFormatClipboard == 1 ? answer : GeneralNumberText(value));
}

bool TClipboardExchange::AutomaticCopy() const {
    return settings_.OptAutomaticallyCopyState;
}

bool TClipboardExchange::ToggleAutomaticCopy() {
    settings_.OptAutomaticallyCopyState = !settings_.OptAutomaticallyCopyState;
    return settings_.OptAutomaticallyCopyState;
}

void TClipboardExchange::ConnectHooks(TCalcHooks& hooks) {
    hooks.LoadClipboardVariable = [this] { LoadClipboardVariable(); };
    hooks.PutClipboardValue = [this](const std::string& value, int index) {
        PutClipboardValue(value, index);
    };
    hooks.CopyAnswerToClipboard = [this](const std::string& answer, double value) {
        CopyAnswerToClipboard(answer, value);
    };
}

}  // namespace tallyon
