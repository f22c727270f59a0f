// The calculation document's operations over an abstract line document.
#include "document/CalcDocument.h"

#include "document/AnswerFormat.h"
#include "document/LineModel.h"
#include "engine/RuvoSub.h"

namespace tallyon {

namespace {

// The largest column <= `column` that starts a character of the UTF-8 text.
int CharacterBoundary(std::string_view text, int column) {
    while (column > 0 && column < static_cast<int>(text.size()) &&
           (static_cast<unsigned char>(text[column]) & 0xC0) == 0x80)
        --column;
    return column;
}

}  // namespace

int KeyMapAction(const TSettingsRecord& settings, bool shift, bool ctrl) {
    if (ctrl) return settings.OptCtrlReturn;
    if (shift) return settings.OptShiftReturn;
    return settings.OptReturn;
}

TCalcDocument::TCalcDocument(TLineDocument& document, TVariableList& variables,
                             const TSettingsRecord& settings)
    : Document_(document), Variables_(variables), Settings_(settings) {
    Parser_.SetVariables(&Variables_);
    Parser_.SetOnSubstitute([this](TTinyParser&, std::string& name, std::string& value, int index) {
        OnSubstitute(name, value, index);
    });
}

void TCalcDocument::SetHooks(TCalcHooks hooks) {
    Hooks_ = std::move(hooks);
}

void TCalcDocument::OnSubstitute(std::string& name, std::string& value, int index) {
    // Names arrive folded to upper case, so "_clip" in an expression also lands here.
    if (name == "_CLIP") {
        if (Hooks_.PutClipboardValue) Hooks_.PutClipboardValue(value, index);
    } else if (Hooks_.ShowAssignment) {
        Hooks_.ShowAssignment(name, value, index);
    }
}

void TCalcDocument::MoveToNextLine(int n) {
    if (n >= Document_.LineCount() - 1) Document_.AppendEmptyLine();
    Document_.SetCaret(n + 1, 0);
}

void TCalcDocument::CalculateLine(bool mayCopy) {
    const int n = Document_.CaretLine();
    const std::string body = StripAnswer(Document_.Line(n));
    const TSplitExpression split = SplitExpression(body);

    std::string answer;
    double value = 0;
    if (split.Expression.empty()) {
        // Nothing to evaluate: the old answer goes and "ANS" keeps its value.
        Document_.ReplaceLine(n, body);
    } else {
        Parser_.SetExpression(split.Expression);
        try {
            value = Parser_.ResultValue();
            answer = FormatAnswer(value, Settings_);
        } catch (...) {
            // A raised calculation error raises again here and leaves the line untouched; a
            // refused pattern leaves the engine's own result text as the answer.
            answer = Parser_.ResultText();
            value = 0;
        }
        const std::string ans = GeneralNumberText(value);
        if (Hooks_.ShowVariable) Hooks_.ShowVariable("ANS", ans);
        Variables_.Set("ANS", ans);
        if (Hooks_.ShowVariable) Hooks_.ShowVariable("_ANS", ans);
        Variables_.Set("_ANS", ans);

        const bool error = Parser_.ErrorCode() != TErrorCode::None;
        if (!split.Silent || error)
            Document_.ReplaceLine(n, ComposeAnswerLine(body, error, answer));
        else
            Document_.ReplaceLine(n, body);
    }
    MoveToNextLine(n);
    if (mayCopy && Hooks_.CopyAnswerToClipboard) Hooks_.CopyAnswerToClipboard(answer, value);
}

void TCalcDocument::NextLine() {
    const int n = Document_.CaretLine();
    Document_.ReplaceLine(n, StripAnswer(Document_.Line(n)));
    MoveToNextLine(n);
}

void TCalcDocument::BreakLine() {
    const int n = Document_.CaretLine();
    const int column = Document_.CaretColumn();
    const std::string body = StripAnswer(Document_.Line(n));
    Document_.ReplaceLine(n, body);
    // A caret that stood in the removed answer goes to the end of the shorter line, so the
    // line break the editor inserts next opens a new line below this one.
    const int length = static_cast<int>(body.size());
    Document_.SetCaret(n, column <= length ? CharacterBoundary(body, column) : length);
}

void TCalcDocument::RunKeyAction(int action) {
    switch (action) {
        case 1:
            if (Hooks_.LoadClipboardVariable) Hooks_.LoadClipboardVariable();
            CalculateLine(true);
            break;
        case 2:
            NextLine();
            break;
        default:
            BreakLine();
            break;
    }
}

void TCalcDocument::CalculateAgain() {
    if (Hooks_.LoadClipboardVariable) Hooks_.LoadClipboardVariable();
    // Bounded by the count at the start: the empty line that calculating the last line
    // appends is not visited.
    const int count = Document_.LineCount();
    for (int i = 0; i < count; ++i) {
        const bool last = i == Document_.LineCount() - 1;
        if (last && Document_.Line(i).empty()) break;
        Document_.SetCaret(i, 0);
        CalculateLine(last);
    }
}

void TCalcDocument::RemoveAnswers() {
    const int count = Document_.LineCount();
    for (int i = 0; i < count; ++i)
        Document_.ReplaceLine(i, StripAnswer(Document_.Line(i)));
}

}  // namespace tallyon
