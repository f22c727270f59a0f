// The calculation document's operations over an abstract line document.
#include "document/CalcDocument.h"

#include "engine/AsciiText.h"

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

// The number of characters that trimming removes from the front of `line`.
int LeadingBlanks(std::string_view line) {
    int count = 0;
    while (count < static_cast<int>(line.size()) && IsBlankCode(line[count]))
        ++count;
    return count;
}

}  // namespace

TKeyAction KeyMapAction(const TSettingsRecord& settings, bool shift, bool ctrl) {
    if (ctrl) return KeyActionOf(settings.OptCtrlReturn);
    if (shift) return KeyActionOf(settings.OptShiftReturn);
    return KeyActionOf(settings.OptReturn);
}

TCalcDocument::TCalcDocument(TLineDocument& document, TVariableList& variables,
                             const TSettingsRecord& settings)
    : document_(document), variables_(variables), settings_(settings) {
    parser_.SetVariables(&variables_);
}

void TCalcDocument::SetHooks(TCalcHooks hooks) {
    hooks_ = std::move(hooks);
    // Assignments are routed only when a hook wants to see them: without one the parser
    // skips preparing the notification altogether.
    if (hooks_.PutClipboardValue || hooks_.ShowAssignment) {
        parser_.SetOnSubstitute(
            [this](TTinyParser&, std::string& name, std::string& value, int index) {
                OnSubstitute(name, value, index);
            });
    } else {
        parser_.SetOnSubstitute(nullptr);
    }
}

void TCalcDocument::OnSubstitute(std::string& name, std::string& value, int index) {
    // Names arrive folded to upper case, so "_clip" in an expression also lands here.
    if (name == "_CLIP") {
        if (hooks_.PutClipboardValue) hooks_.PutClipboardValue(value, index);
    } else if (hooks_.ShowAssignment) {
        hooks_.ShowAssignment(name, value, index);
    }
}

void TCalcDocument::MoveToNextLine(int n) {
    if (n >= document_.LineCount() - 1) document_.AppendEmptyLine();
    document_.SetCaret(n + 1, 0);
}

void TCalcDocument::CalculateLine(bool mayCopy) {
    const int n = document_.CaretLine();
    document_.ReadLine(n, line_);
    const std::string_view body = AnswerBody(line_);
    const TSplitExpression split = SplitExpression(body);

    std::string& answer = answer_;
    answer.clear();
    double value = 0;
    if (split.Expression.empty()) {
        // Nothing to evaluate: the old answer goes and "ANS" keeps its value.
        document_.ReplaceLine(n, body);
    } else {
        parser_.SetExpression(split.Expression);
        try {
            value = parser_.ResultValue();
            FormatAnswer(answer, value, settings_);
        } catch (...) {
            // A raised calculation error raises again here and leaves the line untouched; a
            // refused pattern leaves the engine's own result text as the answer.
            answer = parser_.ResultText();
            value = 0;
        }
        std::string& ans = ans_;
        GeneralNumberText(ans, value);
        if (hooks_.ShowVariable) hooks_.ShowVariable("ANS", ans);
        variables_.Set("ANS", ans, ansHint_);
        if (hooks_.ShowVariable) hooks_.ShowVariable("_ANS", ans);
        variables_.Set("_ANS", ans, underscoreAnsHint_);

        const bool error = parser_.ErrorCode() != TErrorCode::None;
        if (!split.Silent || error) {
            ComposeAnswerLine(answered_, body, error, answer);
            document_.ReplaceAnsweredLine(n, answered_);
        } else {
            document_.ReplaceLine(n, body);
        }
    }
    MoveToNextLine(n);
    if (mayCopy && hooks_.CopyAnswerToClipboard) hooks_.CopyAnswerToClipboard(answer, value);
}

void TCalcDocument::NextLine() {
    const int n = document_.CaretLine();
    document_.ReplaceLine(n, StripAnswer(document_.Line(n)));
    MoveToNextLine(n);
}

void TCalcDocument::BreakLine() {
    const int n = document_.CaretLine();
    const std::string line = document_.Line(n);
    const int column = document_.CaretColumn() - LeadingBlanks(line);
    const std::string body = StripAnswer(line);
    document_.ReplaceLine(n, body);
    // The caret keeps its place in the body: it moves left by the blanks that stripping took
    // from the front of the line (a caret among them goes to the start). A caret that stood
    // in the removed answer goes to the end of the shorter line, so the line break the
    // editor inserts next opens a new line below this one.
    const int length = static_cast<int>(body.size());
    document_.SetCaret(n, column <= 0        ? 0
                          : column <= length ? CharacterBoundary(body, column)
                                             : length);
}

void TCalcDocument::RunKeyAction(TKeyAction action) {
    switch (action) {
        case TKeyAction::Calculate:
            if (hooks_.LoadClipboardVariable) hooks_.LoadClipboardVariable();
            CalculateLine(true);
            break;
        case TKeyAction::CarriageReturn:
            NextLine();
            break;
        case TKeyAction::LineBreak:
            BreakLine();
            break;
    }
}

void TCalcDocument::CalculateAgain() {
    if (hooks_.LoadClipboardVariable) hooks_.LoadClipboardVariable();
    // Bounded by the count at the start: the empty line that calculating the last line
    // appends is not visited.
    const int count = document_.LineCount();
    for (int i = 0; i < count; ++i) {
        const bool last = i == document_.LineCount() - 1;
        if (last && document_.Line(i).empty()) break;
        document_.SetCaret(i, 0);
        CalculateLine(last);
    }
}

void TCalcDocument::RemoveAnswers() {
    const int count = document_.LineCount();
    for (int i = 0; i < count; ++i)
        document_.ReplaceLine(i, StripAnswer(document_.Line(i)));
}

}  // namespace tallyon
