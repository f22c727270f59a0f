// The calculation document: what pressing Return, Calculate, Calculate again and Remove
// answers do to the lines of a document, written once over an abstract line document so that
// the editor window and the command-line calculator (and the tests, over lines in memory)
// share every rule.
//
// A line is calculated in these steps: the caret's line is stripped of its old answer and its
// expression cut out (LineModel.h); the parser evaluates it, reading and assigning names in
// the linked variables list; the value is formatted (AnswerFormat.h); "ANS" and "_ANS" take
// the general number text of the value; the line is rewritten as body, arrow, answer and one
// blank (a silent line without error keeps only its body); the caret moves to the start of
// the next line, which is appended when the line was the last one; and the answer may be
// copied to the clipboard.
//
// The undo history, the busy mark, colouring and protection belong to the editor adapter:
// it wraps each call in its busy mark and colours the lines that are written with an answer;
// every other rewritten line is plain expression text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/TinyParseEngine.h"
#include "engine/VariableList.h"
#include "settings/SettingsRecord.h"

namespace tallyon {

// The document as the calculation sees it: a sequence of text lines (UTF-8, no line breaks)
// and a caret. Lines are numbered from 0. Columns count bytes of the line's UTF-8 text.
class TLineDocument {
public:
    virtual ~TLineDocument() = default;

    // The number of lines of the text, except that an empty last line is not counted: a text
    // ending with a line break has as many lines as line breaks; an empty text has 0 lines.
    virtual int LineCount() const = 0;
    // The text of line n; n may name the uncounted empty last line (which reads empty).
    virtual std::string Line(int n) const = 0;
    // Puts `text` in place of the characters of line n, its line break untouched. The editor
    // shows it as plain expression text, even when it still holds an arrow.
    virtual void ReplaceLine(int n, std::string_view text) = 0;
    // As ReplaceLine, for a line the calculation has just given an answer: the editor colours
    // and protects the arrow and answer of the new text (FindAnswer) as its own change.
    virtual void ReplaceAnsweredLine(int n, std::string_view text) = 0;
    // Inserts one line break at the very end of the text, whether or not it ends with one.
    virtual void AppendEmptyLine() = 0;
    // The text of line n into `text`, whose storage is reused: the calculation reads every
    // line through here.
    virtual void ReadLine(int n, std::string& text) const { text = Line(n); }
    // The line and column of the selection start.
    virtual int CaretLine() const = 0;
    virtual int CaretColumn() const = 0;
    // Collapses the selection to an empty one at line n, column `column`.
    virtual void SetCaret(int n, int column) = 0;
};

// Where the calculation reports to the rest of the program. Every hook may be empty.
struct TCalcHooks {
    // Shows a value in the variables window's rows (used for "ANS" and "_ANS").
    std::function<void(const std::string& name, const std::string& value)> ShowVariable;
    // Shows an assignment the parser is about to store (index -1 for the whole name, else the
    // element index); never called for "_CLIP".
    std::function<void(const std::string& name, const std::string& value, int index)>
        ShowAssignment;
    // An assignment to "_CLIP": the value (general number text) for the clipboard.
    std::function<void(const std::string& value, int index)> PutClipboardValue;
    // Reads the clipboard into "_CLIP" of the variables list; run before a calculation
    // started by the key map, the Calculate command, and once before Calculate again.
    std::function<void()> LoadClipboardVariable;
    // After a calculated line that may copy: the answer as written and its value (0 when the
    // line had no expression or the answer is the engine's result text). The clipboard side
    // decides whether automatic copying is on.
    std::function<void(const std::string& answer, double value)> CopyAnswerToClipboard;
};

// The action of a Return key with the given modifiers: the key map setting chosen (Ctrl wins
// over Shift; Alt is not looked at).
TKeyAction KeyMapAction(const TSettingsRecord& settings, bool shift, bool ctrl);

// The calculation over one document. Owns the parser component; links (never owns) the
// document, the variables list and the settings record, which must outlive it.
class TCalcDocument {
public:
    TCalcDocument(TLineDocument& document, TVariableList& variables,
                  const TSettingsRecord& settings);
    TCalcDocument(const TCalcDocument&) = delete;
    TCalcDocument& operator=(const TCalcDocument&) = delete;

    // Installs the hooks; the parser's assignment notification routes through them.
    void SetHooks(TCalcHooks hooks);

    TTinyParser& Parser() { return parser_; }
    TVariableList& Variables() { return variables_; }

    // Calculates the line that holds the caret and rewrites it; `mayCopy` allows the copy
    // hook. An error the parser raises (a number text that does not read, for one) leaves the
    // method at once: the line keeps its old text, "ANS" and the caret are unchanged.
    void CalculateLine(bool mayCopy);

    // "Carriage return": strips the caret line's answer and moves to the start of the next
    // line (appending one after the last).
    void NextLine();

    // "Line break": strips the caret line's answer and leaves the caret at the same place in
    // the body (the blanks stripped from the line's front taken into account, a caret in the
    // old answer at the body's end); the editor then inserts the line break itself.
    void BreakLine();

    // Runs one key map action: 1 loads "_CLIP" and calculates (may copy), 2 NextLine, any other
    // value BreakLine.
    void RunKeyAction(TKeyAction action);

    // Calculate again: loads "_CLIP" once, then calculates every line from the top, stopping
    // at an empty last counted line; only the last counted line may copy. An error raised by
    // a line ends the loop there and propagates, with the caret at the start of that line
    // (`CaretLine()` names it).
    void CalculateAgain();

    // Remove answers: every line becomes its stripped body (also lines without an answer).
    void RemoveAnswers();

private:
    void MoveToNextLine(int n);
    void OnSubstitute(std::string& name, std::string& value, int index);

    TLineDocument& document_;
    TVariableList& variables_;
    const TSettingsRecord& settings_;
    TTinyParser parser_;
    TCalcHooks hooks_;
    // Storage of one line's calculation, kept so that calculating many lines reuses it.
    std::string line_;      // the line as read
    std::string answered_;  // the line as written back
    std::string answer_;    // the answer behind the arrow
    std::string ans_;       // the general number text of the value, for "ANS" and "_ANS"
    // Where "ANS" and "_ANS" were last set in the variables list.
    TVariableList::THint ansHint_;
    TVariableList::THint underscoreAnsHint_;
};

}  // namespace tallyon
