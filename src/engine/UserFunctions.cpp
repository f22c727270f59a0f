// User-defined functions: definitions stored in the variables list and calls that evaluate
// them in a nested component.
//
// A definition F(X, Y) := body is stored as the line F(X,Y)=body. The body is rebuilt from its
// terms without blanks, with variables frozen at their current values and parameters and
// constants kept as names, so a later change of a variable does not change the function.
//
// A call F(a, b) finds the first line that begins with "F(", scans it again as the definition
// F(X,Y):=body in a nested component that shares this component's operator table, variables
// list and call context, binds constants and then the parameters to the arguments, and
// evaluates. The nested component's own ErrorCode stays with it.
//
// Bounds. Calls nest at most kMaxCallDepth deep, and the calls of one calculation together
// may scan at most kCallBudget characters of bodies, so neither a recursive definition (which
// never stops by itself: IF evaluates all its arguments) nor a chain of functions that call
// each other twice can exhaust the stack or run for long. Hitting a bound marks the context
// as runaway: every call still open then fails as it returns, so the failure reaches the
// host's component as a failed operation and not only the innermost one.
#include <algorithm>

#include "engine/TinyParseEngine.h"

namespace tallyon {

int TTinyParser::DefinitionHeaderEnd() const {
    const int count = terms_.Count();
    if (count <= 4 || terms_[0].Kind != kKindUserFunction || !terms_[1].Is('(')) return -1;
    for (int r = 2; r <= count - 2; ++r) {
        if (terms_[r].Is(')') && terms_[r + 1].IsOperator(":=")) return r;
    }
    return -1;
}

bool TTinyParser::DefineUserFunction() {
    const int r = DefinitionHeaderEnd();
    if (r < 0) return false;
    std::vector<TTerm>& items = terms_.Items();
    std::string header;
    std::vector<std::string> parameters;
    for (int i = 0; i <= r; ++i) {
        header += items[static_cast<size_t>(i)].Text;
        if (i >= 1 && items[static_cast<size_t>(i)].Kind == kKindUnbound) {
            parameters.push_back(items[static_cast<size_t>(i)].Text);
        }
    }
    items.erase(items.begin(), items.begin() + r + 2);
    BindNames(false, true);

    std::string body;
    for (const TTerm& term : items) {
        // Operators, brackets, unbound names and parameters keep their text; numbers and
        // bound variables are written as values.
        const bool named =
            term.Kind != kKindOperand ||
            std::find(parameters.begin(), parameters.end(), term.Text) != parameters.end();
        if (named) {
            body += term.Text;
        } else if (term.Value < 0) {
            // A negative frozen value is bracketed: written bare after an operator ("X*-3")
            // the minus would be taken as an operand of the "*" and the product would be 0.
            body.append("(").append(GeneralNumberText(term.Value)).append(")");
        } else {
            body += GeneralNumberText(term.Value);
        }
    }
    if (variables_ != nullptr) variables_->Set(header, body);
    return true;
}

bool TTinyParser::CallUserFunction(const std::string& name, int position, double x,
                                   double& result) {
    const std::string* line = FindDefinitionLine(name);
    if (line == nullptr) return false;
    TTinyParser& nested = NestedForCurrentDepth();
    struct TDepthGuard {
        int& depth;
        explicit TDepthGuard(int& d) : depth(d) { ++depth; }
        ~TDepthGuard() { --depth; }
    } depthGuard(context_->Depth);
    // The operand is a term of this component's list: the nested scan does not touch it.
    if (!nested.BindCall(*line, terms_[position], x)) return false;
    return nested.EvaluateCall(result);
}

const std::string* TTinyParser::FindDefinitionLine(const std::string& name) {
    if (variables_ == nullptr) return nullptr;
    const std::string* line = nullptr;
    long scanned = 0;
    for (const std::string& candidate : variables_->Lines()) {
        ++scanned;
        if (candidate.size() > name.size() && candidate[name.size()] == '(' &&
            candidate.compare(0, name.size(), name) == 0) {
            line = &candidate;
            break;
        }
    }
    // The search counts as work too: bodies that assign may grow the list with every call.
    TCallContext& context = *context_;
    const long searchCost = scanned / kLinesPerCost;
    if (line == nullptr) {
        context.Budget -= searchCost;
        return nullptr;
    }
    const long cost = std::max<long>(kCallCost, static_cast<long>(line->size())) + searchCost;
    if (context.Runaway || context.Depth >= context.MaxDepth || context.Budget < cost) {
        context.Runaway = true;
        return nullptr;
    }
    context.Budget -= cost;
    return line;
}

TTinyParser& TTinyParser::NestedForCurrentDepth() {
    // Nested components live on the heap, so deep call chains keep the stack small.
    TCallContext& context = *context_;
    const auto depth = static_cast<size_t>(context.Depth);
    if (context.Nested.size() <= depth) {
        context.Nested.push_back(std::unique_ptr<TTinyParser>(new TTinyParser(*this)));
    }
    TTinyParser& nested = *context.Nested[depth];
    nested.variables_ = variables_;
    return nested;
}

bool TTinyParser::BindCall(const std::string& line, const TTerm& operand, double x) {
    std::string definition = line;
    const size_t equals = definition.find('=');
    if (equals != std::string::npos) definition.replace(equals, 1, ":=");
    SetExpression(std::move(definition));

    Tokenize();
    const int r = DefinitionHeaderEnd();
    if (r < 0) return false;
    std::vector<TTerm>& items = terms_.Items();
    std::vector<std::string> parameters;
    for (int i = 0; i <= r; ++i) {
        if (items[static_cast<size_t>(i)].Kind == kKindUnbound) {
            parameters.push_back(items[static_cast<size_t>(i)].Text);
        }
    }
    items.erase(items.begin(), items.begin() + r + 2);
    BindNames(true, false);

    // The caller's arguments are the operand's Args followed by x.
    const int argCount = operand.ArgCount();
    for (TTerm& term : items) {
        if (term.Kind != kKindUnbound) continue;
        const auto found = std::find(parameters.begin(), parameters.end(), term.Text);
        if (found == parameters.end()) continue;
        const int j = static_cast<int>(found - parameters.begin());
        term.Value = j == argCount ? x : operand.Arg(j);
    }
    return true;
}

bool TTinyParser::EvaluateCall(double& result) {
    Evaluate();
    TCallContext& context = *context_;
    if (context.Runaway) {
        // The outermost call clears the mark, so later calls of this calculation run again.
        if (context.Depth == 1) context.Runaway = false;
        return false;
    }
    result = resultValue_;
    return true;
}

}  // namespace tallyon
