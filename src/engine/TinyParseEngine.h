// The expression engine as its host sees it: TTinyParser holds one expression text,
// calculates it on demand, reads names from a linked variables list and reports every
// assignment through OnSubstitute.
//
// Pipeline: Tokenize folds the text to upper case and splits it into terms (numbers read by
// RuvoStrToFloat, operators found in the operator table, names left as text), marks array
// and user-function names and inserts implied "*"; DefineUserFunction stores a definition;
// BindNames replaces constants and variables by their values; Evaluate reduces the term list
// in place by operator priority until one operand is left.
//
// PUBLIC INTERFACE SKETCH: the engine's implementation fills in the private part; the public
// members below are what the document core and the window rely on.
#pragma once

#include <functional>
#include <string>

#include "engine/RuvoSub.h"
#include "engine/VariableList.h"

class TTinyParser;

// Assignment notification: called once per executed ":=", before the value is stored.
// Name (upper case) may be changed by the handler and the changed name is stored; Value is
// the general number text of the new value (changes are ignored); Idx is -1 for a plain
// variable, else the element index.
using TSubstituteEvent =
    std::function<void(TTinyParser& Sender, std::string& Name, std::string& Value, int Idx)>;

class TTinyParser {
public:
    TTinyParser();
    ~TTinyParser();
    TTinyParser(const TTinyParser&) = delete;
    TTinyParser& operator=(const TTinyParser&) = delete;

    // Stores the text and clears the result text; nothing is calculated yet.
    void SetExpression(std::string text);
    const std::string& Expression() const;

    // Calculates first when there is no result text. Raise EConvertError (a number text that
    // does not read) or EMathError (a numeric token beyond the double range); after such a
    // raise the result text stays empty and every later read calculates and raises again.
    double ResultValue();
    const std::string& ResultText();

    // 0 success, 1 an operation failed, 2 an operand was missing; valid after a calculation.
    int ErrorCode() const;

    // Links the host's variables list (never owned); nullptr unlinks.
    void SetVariables(TVariableList* list);
    TVariableList* Variables() const;

    void SetOnSubstitute(TSubstituteEvent handler);

    void Calculate();
};
