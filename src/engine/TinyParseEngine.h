// The expression engine as its host sees it: TTinyParser holds one expression text,
// calculates it on demand, reads names from a linked variables list and reports every
// assignment through OnSubstitute.
//
// Pipeline: Tokenize folds the text to upper case and splits it into terms (numbers read by
// RuvoStrToFloat, operators found in the operator table, names left as text), marks array
// and user-function names and inserts implied "*"; DefineUserFunction stores a definition;
// BindNames replaces constants and variables by their values; Evaluate reduces the term list
// in place by operator priority until one operand is left. Calculate first offers the line to
// a quick path that reads plain arithmetic in one pass with the same result, and runs the
// stages for everything else.
//
// The stages live in their own files: Scanner.cpp (Tokenize), Evaluator.cpp (Evaluate and the
// operators), UserFunctions.cpp (definitions and calls), QuickEvaluator.cpp (the quick path)
// and TinyParser.cpp (the component).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Functions.h"
#include "engine/RuvoSub.h"
#include "engine/Terms.h"
#include "engine/VariableList.h"

namespace tallyon {

class TTinyParser;
class TReducer;
struct TReductionScratch;

// What a calculation reports without raising; the last failure of a calculation stays.
enum class TErrorCode : int32_t {
    // The calculation met no failure.
    None = 0,
    // An operation failed: an arithmetic fault, a function outside its domain, an element or
    // variable text that does not read, a failing assignment handler or user-function call.
    // A prefix operation then yields 0 and an infix one keeps its left value.
    OperationFailed = 1,
    // An operator stood at the end of its stretch with nothing to apply to; the reduction goes
    // on without it.
    MissingOperand = 2,
};

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
    void SetExpression(std::string_view text);
    const std::string& Expression() const;

    // Calculates first when there is no result text. Raises EConvertError (a number text that
    // does not read) or EMathError (a numeric token beyond the double range); after such a
    // raise the result text stays empty and every later read calculates and raises again.
    double ResultValue();
    const std::string& ResultText();

    // The failure the last calculation reported, if any; valid after a calculation.
    TErrorCode ErrorCode() const;

    // Links the host's variables list (never owned); nullptr unlinks.
    void SetVariables(TVariableList* list);
    TVariableList* Variables() const;

    void SetOnSubstitute(TSubstituteEvent handler);

    // Scans, stores a definition or binds names, and evaluates; see the stages below.
    void Calculate();

    // ---- Stages, public so that tests and tools can drive them one by one ----

    // Rebuilds the term list from Expression(): clears the result text and ErrorCode. Raises
    // EConvertError for a numeric token that does not read and EMathError for one beyond the
    // double range; the term list then holds what was built so far.
    void Tokenize();
    // Replaces unbound names by constants and/or variable values. Names followed by ":=" stay
    // unbound; a name without a value stays unbound and counts as 0. Raises EConvertError when
    // a variable's value text does not read.
    void BindNames(bool constants, bool variables);
    // Reduces the term list to at most one term and publishes the result value and text.
    void Evaluate();
    // Stores the term list as a user-function definition when it has that shape.
    bool DefineUserFunction();

    const TTrmList& Terms() const { return terms_; }
    TTrmList& Terms() { return terms_; }
    const TOpeList& OperatorTable() const { return *table_; }

    // Calls of user functions nest at most this deep; a deeper call fails.
    static constexpr int kMaxCallDepth = 256;
    // Work allowed to the user-function calls of one calculation, counted in characters of
    // bodies scanned (each call counts at least kCallCost) plus one per kLinesPerCost lines
    // of the variables list searched for definitions. Exhausting it fails the call.
    static constexpr long kCallBudget = 50'000;
    static constexpr long kCallCost = 32;
    static constexpr long kLinesPerCost = 16;

    // Replaces the two bounds above for this component and its nested calls, from the next
    // calculation on. Production code keeps the defaults; tests and the fuzzer lower them so
    // that a runaway definition reaches its bound after a few calls instead of thousands.
    void SetCallBounds(int maxDepth, long budget);

    // Whether Calculate may take the quick path (it may by default). Production code leaves
    // it on; tests and the fuzzer turn it off to compare the quick path with the stages.
    void SetQuickPath(bool enabled) { quickPath_ = enabled; }

private:
    friend class TReducer;  // the reduction (Evaluator.cpp) works on the term list in place

    // Storage of the reduction, kept between calculations so that it is reused.
    struct TScratchDeleter {
        void operator()(TReductionScratch* scratch) const;
    };

    // State shared by a component and the nested components of its user-function calls.
    struct TCallContext {
        TRandomGenerator Random;
        int Depth = 0;         // user-function calls currently running
        long Budget = 0;       // work left for calls in this calculation
        int MaxDepth = kMaxCallDepth;       // calls nest at most this deep
        long BudgetLimit = kCallBudget;     // Budget at the start of each calculation
        bool Runaway = false;  // a call hit the depth or work bound; every open call fails
        // Nested components by call depth, kept between calls so that their storage is
        // reused; the one at depth d serves the call running at depth d.
        std::vector<std::unique_ptr<TTinyParser>> Nested;
    };

    // A nested component for a user-function call: shares the creator's operator table,
    // variables list and call context, and has no handler.
    explicit TTinyParser(TTinyParser& creator);

    // User functions (UserFunctions.cpp).
    // Calls user function name with the operand at position (its Args, then x). False when
    // the call fails: no list, no definition, a malformed one, or a bound reached. Raises
    // what scanning the stored body raises.
    bool CallUserFunction(const std::string& name, int position, double x, double& result);
    // Look-up: the first line of the list that begins with name and "(", charged with its
    // search to the call budget. nullptr when there is none, or when a bound is reached (the
    // context is then runaway).
    const std::string* FindDefinitionLine(const std::string& name);
    // The nested component that serves a call at the current depth, created on first use.
    TTinyParser& NestedForCurrentDepth();
    // Binding, on the nested component: scans line as the definition it stores, drops the
    // header, binds constants and gives each parameter its argument (the Args of `operand`,
    // then x, then 0). False when the line does not have the shape of a definition.
    bool BindCall(const std::string& line, const TTerm& operand, double x);
    // Evaluation, on the nested component: reduces the bound body into result. False when a
    // bound was reached meanwhile; the outermost call then clears the runaway mark.
    bool EvaluateCall(double& result);
    // Position of the ")" of a definition's header ")" ":=", or -1 when the list is not one.
    int DefinitionHeaderEnd() const;

    void ResetCallContext();

    // Assignment (Evaluator.cpp): tells the handler, then stores b under the folded target
    // name, as a whole variable or as element `index` of an array. Raises what the handler
    // or the element store raises.
    void StoreAssignment(std::string_view target, bool element, int index, double b);

    // The quick path of Calculate (QuickEvaluator.cpp): calculates expressions made only of
    // numbers, names, built-in function calls, brackets and + - * / ^, optionally assigned
    // to one name, straight from the text, with the result the stages would give. False,
    // with nothing changed, for anything else; the stages then calculate.
    bool CalculateQuickly();

    std::string expression_;
    std::string resultText_;
    double resultValue_ = 0;
    TErrorCode errorCode_ = TErrorCode::None;
    TVariableList* variables_ = nullptr;  // linked, never owned
    TSubstituteEvent onSubstitute_;
    bool sharedTable_ = false;  // nested components use their creator's table and context
    bool running_ = false;      // a calculation is under way
    bool quickPath_ = true;     // Calculate may take the quick path

    std::unique_ptr<TOpeList> ownTable_;
    const TOpeList* table_ = nullptr;
    std::unique_ptr<TCallContext> ownContext_;
    TCallContext* context_ = nullptr;

    TTrmList terms_;
    std::string scanText_;  // the folded expression, kept to reuse its storage
    std::string assignedText_;  // the text an assignment stores, kept to reuse its storage
    std::unique_ptr<TReductionScratch, TScratchDeleter> scratch_;  // created on first use
};

}  // namespace tallyon
