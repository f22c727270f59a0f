// The quick path of the calculation: most lines people type are plain arithmetic such as
// "v3:=(66.42-96.52)^3/(92.91+0.21)" or "SQRT(22.93*70.32)/(11.29+1)", and for them scanning
// into a term list, binding and reducing it in place costs far more than the arithmetic.
//
// The quick path reads such a line once, by precedence climbing over the folded text, and
// gives exactly the value of the stages:
//   - it accepts only numbers of digits and points, names, built-in function names followed
//     by a bracketed argument, round brackets, the operators + - * / ^ between operands, and
//     one optional leading "NAME :=". Tokens end where the scanner ends them, and a function
//     name is recognised by the scanner's own rule over the operator table;
//   - applying the highest priority leftmost first, as the reduction does, is the same as
//     climbing with every operator left-associative; each operator goes through the
//     reduction's own arithmetic, each function through the built-in table;
//   - names bind as the stages bind them: constants first, then the variables list, else 0.
// Anything else, and any failure on the way (a number or variable text that does not read,
// an arithmetic fault, a function outside its domain, brackets nested too deep), makes it
// give up before anything visible has changed; the stages then calculate the line and
// report the failure as they always do. "_RND" is left to the stages, since drawing it
// twice would change the sequence.
#include <span>
#include <string_view>

#include "engine/Arithmetic.h"
#include "engine/AsciiText.h"
#include "engine/Functions.h"
#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

namespace tallyon {

namespace {

// Brackets nest at most this deep on the quick path; deeper lines take the stages, which
// need no recursion.
constexpr int kMaxQuickDepth = 64;

bool IsDigitOrPoint(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

bool IsNameChar(char c) {
    return IsUpperLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

// The characters that may follow an operand on the quick path: the end of a token there is
// also the end the scanner finds.
bool EndsOperand(std::string_view text, size_t at) {
    if (at == text.size()) return true;
    switch (text[at]) {
        case ' ':
        case '+':
        case '-':
        case '*':
        case '/':
        case '^':
        case ')':
            return true;
        default:
            return false;
    }
}

// One line on the quick path; see the top of the file.
class TQuickLine {
public:
    TQuickLine(std::string_view text, const TOpeList& table, const TVariableList* variables,
               TRandomGenerator& random)
        : text_(text), table_(table), variables_(variables), random_(random) {}

    // The value of the line and the name it assigns (empty when it assigns none); false when
    // the line is not for the quick path or a failure was met.
    bool Run(double& value, std::string_view& target) {
        SkipSpaces();
        target = {};
        const size_t start = pos_;
        if (pos_ < text_.size() && BeginsName(text_[pos_]) && FunctionAt(pos_) == nullptr) {
            const std::string_view name = NameAt(pos_);
            pos_ += name.size();
            SkipSpaces();
            if (text_.substr(pos_).starts_with(":=")) {
                target = name;
                pos_ += 2;
            } else {
                pos_ = start;
            }
        }
        if (!Climb(0, 0, value)) return false;
        SkipSpaces();
        return pos_ == text_.size();
    }

private:
    static bool BeginsName(char c) { return IsUpperLetter(c) || c == '_'; }

    void SkipSpaces() {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }

    // The operator table entry the scanner finds at `at` when a token starts there.
    const TOpeList::TEntry* EntryAt(size_t at) const { return table_.EntryAt(text_, at); }

    const TOpeList::TEntry* FunctionAt(size_t at) const {
        const TOpeList::TEntry* entry = EntryAt(at);
        return entry != nullptr && entry->Priority == kPriorityFunction ? entry : nullptr;
    }

    std::string_view NameAt(size_t at) const {
        size_t end = at;
        while (end < text_.size() && IsNameChar(text_[end]))
            ++end;
        return text_.substr(at, end - at);
    }

    // Reads an operand and every operator after it of priority >= minPriority.
    bool Climb(int minPriority, int depth, double& value) {
        if (!Operand(depth, value)) return false;
        for (;;) {
            SkipSpaces();
            if (pos_ == text_.size() || text_[pos_] == ')') return true;
            const TOpeList::TEntry* op = EntryAt(pos_);
            if (op == nullptr || op->Text.size() != 1) return false;
            const char c = op->Text[0];
            if (c != '+' && c != '-' && c != '*' && c != '/' && c != '^') return false;
            if (op->Priority < minPriority) return true;
            ++pos_;
            double right = 0;
            if (!Climb(op->Priority + 1, depth, right)) return false;
            if (!ApplyArithmetic(c, value, right, value)) return false;
        }
    }

    // A bracketed expression at the current position.
    bool Bracketed(int depth, double& value) {
        SkipSpaces();
        if (pos_ == text_.size() || text_[pos_] != '(' || depth >= kMaxQuickDepth) return false;
        ++pos_;
        if (!Climb(0, depth + 1, value)) return false;
        SkipSpaces();
        if (pos_ == text_.size() || text_[pos_] != ')') return false;
        ++pos_;
        return true;
    }

    bool Operand(int depth, double& value) {
        SkipSpaces();
        if (pos_ == text_.size()) return false;
        const char c = text_[pos_];
        if (c == '(') return Bracketed(depth, value);
        if (IsDigitOrPoint(c)) {
            size_t end = pos_;
            while (end < text_.size() && IsDigitOrPoint(text_[end]))
                ++end;
            if (!EndsOperand(text_, end)) return false;
            try {
                value = StoreDouble(RuvoStrToFloat(text_.substr(pos_, end - pos_)));
            } catch (...) {
                return false;
            }
            pos_ = end;
            return true;
        }
        if (!BeginsName(c)) return false;
        if (const TOpeList::TEntry* function = FunctionAt(pos_)) {
            pos_ += function->Text.size();
            double x = 0;
            if (!Bracketed(depth, x)) return false;
            const int index = function->Builtin;
            if (index < 0) return false;
            try {
                value = ApplyBuiltinFunction(index, x, std::span<const double>(), variables_);
            } catch (...) {
                return false;
            }
            return true;
        }
        const std::string_view name = NameAt(pos_);
        if (!EndsOperand(text_, pos_ + name.size()) || name == "_RND") return false;
        pos_ += name.size();
        return Bind(name, value);
    }

    // The value a name stands for: a constant, else a variable, else 0.
    bool Bind(std::string_view name, double& value) const {
        if (LookupConstant(name, random_, value)) return true;
        value = 0;
        if (variables_ == nullptr) return true;
        try {
            if (const std::optional<double> number = variables_->NumberValue(name)) value = *number;
        } catch (...) {
            return false;
        }
        return true;
    }

    std::string_view text_;
    const TOpeList& table_;
    const TVariableList* variables_;
    TRandomGenerator& random_;
    size_t pos_ = 0;
};

}  // namespace

bool TTinyParser::CalculateQuickly() {
    if (sharedTable_) return false;
    scanText_.assign(expression_);
    AsciiUpperInPlace(scanText_);
    TQuickLine line(scanText_, *table_, variables_, context_->Random);
    double value = 0;
    std::string_view target;
    if (!line.Run(value, target)) return false;
    if (!target.empty() && variables_ == nullptr) return false;

    ResetCallContext();
    errorCode_ = TErrorCode::None;
    terms_.Clear();
    if (!target.empty()) {
        try {
            StoreAssignment(target, false, 0, value);
        } catch (...) {
            // A failing assignment leaves the target's value, which was unbound: 0.
            errorCode_ = TErrorCode::OperationFailed;
            value = 0;
        }
    }
    terms_.AddTerm(kKindOperand, {}, value);
    resultValue_ = value;
    GeneralNumberText(resultText_, resultValue_);
    return true;
}

}  // namespace tallyon
