// The parser component: the expression, its result, the link to the variables list, the
// assignment handler, and the calculation that runs the pipeline (scan, define or bind,
// reduce). Binding names also lives here: constants first, so that PI stays pi even after
// PI := 3 wrote a variable of that name, then the variables list.
#include <chrono>
#include <stdexcept>

#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

namespace tallyon {

namespace {

bool BeginsName(const std::string& text) {
    return !text.empty() && (IsUpperLetter(text[0]) || text[0] == '_');
}

// Marks a calculation as running for as long as the guard lives.
class TRunningGuard {
public:
    explicit TRunningGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TRunningGuard() { flag_ = false; }
    TRunningGuard(const TRunningGuard&) = delete;
    TRunningGuard& operator=(const TRunningGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

TTinyParser::TTinyParser()
    : ownTable_(std::make_unique<TOpeList>()), ownContext_(std::make_unique<TCallContext>()) {
    BuildOperatorTable(*ownTable_);
    table_ = ownTable_.get();
    context_ = ownContext_.get();
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    context_->Random.seed(
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

TTinyParser::TTinyParser(TTinyParser& creator)
    : variables_(creator.variables_),
      sharedTable_(true),
      table_(creator.table_),
      context_(creator.context_) {}

TTinyParser::~TTinyParser() = default;

void TTinyParser::SetExpression(std::string_view text) {
    expression_.assign(text);  // keeps the storage of the previous expression
    resultText_.clear();
}

const std::string& TTinyParser::Expression() const {
    return expression_;
}

double TTinyParser::ResultValue() {
    if (resultText_.empty()) Calculate();
    return resultValue_;
}

const std::string& TTinyParser::ResultText() {
    if (resultText_.empty()) Calculate();
    return resultText_;
}

TErrorCode TTinyParser::ErrorCode() const {
    return errorCode_;
}

void TTinyParser::SetVariables(TVariableList* list) {
    variables_ = list;
}

TVariableList* TTinyParser::Variables() const {
    return variables_;
}

void TTinyParser::SetOnSubstitute(TSubstituteEvent handler) {
    onSubstitute_ = std::move(handler);
}

void TTinyParser::Calculate() {
    // An assignment handler that reads its sender's result would rebuild the term list the
    // running calculation works on; that read fails instead (and so does the assignment).
    if (running_) throw std::logic_error("TTinyParser: calculation already running");
    TRunningGuard guard(running_);
    errorCode_ = TErrorCode::None;
    resultValue_ = 0;
    resultText_.clear();
    if (quickPath_ && CalculateQuickly()) return;
    Tokenize();
    if (DefineUserFunction()) {
        resultValue_ = 0;
        resultText_.assign(1, '0');
        return;
    }
    BindNames(true, true);
    Evaluate();
}

void TTinyParser::BindNames(bool constants, bool variables) {
    std::vector<TTerm>& items = terms_.Items();
    const size_t count = items.size();
    auto isCandidate = [&](size_t i) {
        return items[i].Kind == kKindUnbound && BeginsName(items[i].Text) &&
               (i + 1 == count || !items[i + 1].IsOperator(":="));
    };
    if (constants) {
        for (size_t i = 0; i < count; ++i) {
            if (!isCandidate(i)) continue;
            double value = 0;
            if (LookupConstant(items[i].Text, context_->Random, value)) {
                items[i].Value = value;
                items[i].Kind = kKindOperand;
            }
        }
    }
    if (variables && variables_ != nullptr) {
        for (size_t i = 0; i < count; ++i) {
            if (!isCandidate(i)) continue;
            // An array named alone stands for its first element.
            const std::optional<double> value = variables_->NumberValue(items[i].Text);
            if (!value) continue;  // no value: stays unbound and counts as 0
            items[i].Value = *value;
            items[i].Kind = kKindOperand;
        }
    }
}

void TTinyParser::SetCallBounds(int maxDepth, long budget) {
    context_->MaxDepth = maxDepth;
    context_->BudgetLimit = budget;
}

void TTinyParser::ResetCallContext() {
    context_->Depth = 0;
    context_->Budget = context_->BudgetLimit;
    context_->Runaway = false;
}

}  // namespace tallyon
