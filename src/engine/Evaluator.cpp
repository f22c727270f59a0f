// The evaluator: reduces the term list in place and gives every operator its meaning.
//
// Reduction. While more than one term is left: the first ")" or "]" from the second term on
// closes the current stretch and the nearest "(" or "[" below it opens it (round and square
// brackets pair freely; a missing partner counts as the start or the end of the list). Both
// bracket terms are deleted. Inside the stretch the operator of highest priority is applied,
// leftmost first among equals, until one term is left; a stretch of operands without any
// operator collapses to one term of value 0 (JoinOperands).
//
// How it is fast. Live terms are chained by next_/prev_ over their slots in the term vector,
// so deleting a term never moves the others and a slot keeps its term's data until the
// calculation ends. Applying an operator never creates a new operator and never changes
// another operator's priority, so the operators of a stretch can be sorted once by
// (priority descending, position ascending) and applied in that order, skipping those that
// were consumed as operands meanwhile; this is exactly the order of picking the leftmost
// highest priority again and again. The search for the next closing bracket resumes where
// the last stretch began: nothing before it changed. Every line therefore reduces in
// near-linear time, whatever its shape, and without recursion.
//
// Values are doubles; operators compute in extended precision (long double) and round when
// they store. An arithmetic fault of an infix operator (invalid operation, division by zero,
// overflow of the stored double) is detected at that rounding; any error raised while an
// operator runs (faults of functions, conversion errors, a failing user function, whatever
// the assignment handler throws) is caught in ApplyOperator. Both become ErrorCode 1.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "engine/Functions.h"
#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

namespace tallyon {

namespace {

constexpr int kDead = -2;  // prev_ of a deleted slot
constexpr int kMaxElementIndex = 99;

bool IsBracketOpen(const TTerm& term) {
    return term.Is('(') || term.Is('[');
}
bool IsBracketClose(const TTerm& term) {
    return term.Is(')') || term.Is(']');
}

// Arithmetic faults travel as NaN or infinity inside the extended computation and are
// detected once, when the result is stored: an operator fault is common in the long lines
// users type ("2 2 2 ..." overflows at every later step), and raising an exception for each
// would cost microseconds where the check costs nothing.
constexpr long double kFault = std::numeric_limits<long double>::quiet_NaN();

// Rounds to the stored double; false for NaN (invalid operation, 0/0) and for infinity or
// a finite value beyond the double range (division by zero, overflow).
bool TryStore(long double x, double& stored) {
    // From 2^1024 - 2^970 on, rounding to a double gives infinity; the range is checked
    // before converting, because converting a value beyond the target range is undefined.
    constexpr long double kRoundsToInfinity = 0x1p1024L - 0x1p970L;
    if (std::isnan(x) || std::fabs(x) >= kRoundsToInfinity) return false;
    stored = static_cast<double>(x);
    return true;
}

// a / b, with a zero divisor a fault.
long double Divide(long double a, long double b) {
    return b == 0 ? kFault : a / b;
}

// Truncates toward zero to a 64-bit integer; false outside its range.
bool TruncToInt64(double value, int64_t& result) {
    const double t = std::trunc(value);
    if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0)) return false;
    result = static_cast<int64_t>(t);
    return true;
}

// a^b: whole exponents up to 2^31-1 in magnitude by square-and-multiply (exact for small
// integers and defined for negative bases), every other exponent as e^(b ln a).
long double Power(long double a, long double b) {
    if (b == 0) return 1;
    if (a == 0 && b > 0) return 0;
    if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0L) {
        if (a == 0) return kFault;  // zero to a negative power: division by zero
        auto n = static_cast<uint32_t>(std::fabs(b));
        long double result = 1;
        long double base = a;
        while (n != 0) {
            if (n & 1u) result *= base;
            n >>= 1;
            if (n != 0) base *= base;
        }
        return b < 0 ? Divide(1, result) : result;
    }
    if (a < 0) return kFault;  // invalid operation
    return std::exp(b * std::log(a));
}

// Element indexes are 32-bit; an index beyond that range is clamped, which keeps it out of
// the stored range 0..99 all the same.
int32_t ElementIndex(double x) {
    if (!(x < 2147483647.0)) return std::numeric_limits<int32_t>::max();
    if (!(x > -2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(std::trunc(x));
}

// The infix operators by text; anything else leaves the left value as it is.
enum class TInfix {
    None,
    Add,
    Subtract,
    Multiply,
    Divide,
    Quotient,
    Remainder,
    Power,
    Parallel,
    Unparallel,
    Equal,
    NotEqual,
    Greater,
    GreaterEqual,
    Less,
    LessEqual,
    MagnitudeGreater,
    MagnitudeGreaterEqual,
    MagnitudeLess,
    MagnitudeLessEqual,
    And,
    Or,
    Comma,
    Assign,
};

TInfix InfixOf(std::string_view op) {
    if (op.size() == 1) {
        switch (op[0]) {
            case '+':
                return TInfix::Add;
            case '-':
                return TInfix::Subtract;
            case '*':
                return TInfix::Multiply;
            case '/':
                return TInfix::Divide;
            case '%':
                return TInfix::Quotient;
            case '#':
                return TInfix::Remainder;
            case '^':
                return TInfix::Power;
            case '>':
                return TInfix::Greater;
            case '<':
                return TInfix::Less;
            case '&':
                return TInfix::And;
            case '|':
                return TInfix::Or;
            case ',':
                return TInfix::Comma;
            default:
                return TInfix::None;
        }
    }
    if (op == "//") return TInfix::Parallel;
    if (op == "\\\\") return TInfix::Unparallel;
    if (op == "==") return TInfix::Equal;
    if (op == "!=") return TInfix::NotEqual;
    if (op == ">=") return TInfix::GreaterEqual;
    if (op == "<=") return TInfix::LessEqual;
    if (op == ">>") return TInfix::MagnitudeGreater;
    if (op == ">>=") return TInfix::MagnitudeGreaterEqual;
    if (op == "<<") return TInfix::MagnitudeLess;
    if (op == "<<=") return TInfix::MagnitudeLessEqual;
    if (op == ":=") return TInfix::Assign;
    return TInfix::None;
}

double Truth(bool value) {
    return value ? 1.0 : 0.0;
}

}  // namespace

void TTinyParser::LinkTerms() {
    const int count = terms_.Count();
    next_.resize(static_cast<size_t>(count));
    prev_.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        next_[static_cast<size_t>(i)] = i + 1 < count ? i + 1 : -1;
        prev_[static_cast<size_t>(i)] = i - 1;
    }
    head_ = count > 0 ? 0 : -1;
    tail_ = count - 1;
    liveCount_ = count;
}

void TTinyParser::Unlink(int slot) {
    const int before = prev_[static_cast<size_t>(slot)];
    const int after = next_[static_cast<size_t>(slot)];
    if (before >= 0) next_[static_cast<size_t>(before)] = after;
    if (after >= 0) prev_[static_cast<size_t>(after)] = before;
    if (head_ == slot) head_ = after;
    if (tail_ == slot) tail_ = before;
    prev_[static_cast<size_t>(slot)] = kDead;
    next_[static_cast<size_t>(slot)] = -1;
    --liveCount_;
}

void TTinyParser::Evaluate() {
    if (!sharedTable_) ResetCallContext();
    LinkTerms();
    auto term = [this](int slot) -> TTerm& { return terms_[slot]; };
    auto next = [this](int slot) { return next_[static_cast<size_t>(slot)]; };
    auto prev = [this](int slot) { return prev_[static_cast<size_t>(slot)]; };

    // Where the search for the next closing bracket starts; -1 once none is left.
    int closeFrom = head_ >= 0 ? next(head_) : -1;
    while (liveCount_ > 1) {
        int p = head_;
        int q = -1;
        int close = -1;
        for (int s = closeFrom; s >= 0; s = next(s)) {
            if (IsBracketClose(term(s))) {
                close = s;
                break;
            }
        }
        if (close >= 0) {
            q = prev(close);
            Unlink(close);
        } else {
            closeFrom = -1;
            q = tail_;
        }
        // The opening search starts one below q, so "()" finds no partner.
        for (int s = prev(q); s >= 0; s = prev(s)) {
            if (IsBracketOpen(term(s))) {
                p = next(s);
                Unlink(s);
                break;
            }
        }

        int len = 0;
        order_.clear();
        for (int s = p;; s = next(s)) {
            ++len;
            const int kind = term(s).Kind;
            if (kind > 0) {
                order_.push_back((static_cast<uint64_t>(1000 - kind) << 32) |
                                 static_cast<uint32_t>(s));
            }
            if (s == q) break;
        }
        std::sort(order_.begin(), order_.end());
        for (uint64_t key : order_) {
            if (len <= 1) break;
            const int r = static_cast<int>(key & 0xffffffffu);
            if (prev(r) == kDead || term(r).Kind <= 0) continue;
            ApplyOperator(p, q, r, len);
        }
        if (len > 1) JoinOperands(p, q, len);
        if (closeFrom >= 0) closeFrom = p == head_ ? next(p) : p;
    }

    resultValue_ = 0;
    resultText_.clear();
    std::vector<TTerm>& items = terms_.Items();
    if (liveCount_ == 1) {
        if (head_ != 0) items[0] = std::move(items[static_cast<size_t>(head_)]);
        items.resize(1);
        resultValue_ = items[0].Value;
        // Nested components only hand their value back; text is the host's business.
        if (!sharedTable_) resultText_ = GeneralNumberText(resultValue_);
    } else {
        items.clear();
    }
    head_ = items.empty() ? -1 : 0;
    tail_ = head_;
}

void TTinyParser::ApplyOperator(int& p, int& q, int r, int& len) {
    TTerm& op = terms_[r];
    const bool prefix = r == p || (!op.Text.empty() && IsUpperLetter(op.Text[0])) ||
                        op.Kind == kKindArrayName || terms_[prev_[static_cast<size_t>(r)]].Kind > 0;
    if (prefix) {
        if (r == q) {
            op.Kind = kKindOperand;
            errorCode_ = 2;
            return;
        }
        const int operand = next_[static_cast<size_t>(r)];
        const double a = terms_[operand].Value;
        Unlink(r);
        if (p == r) p = operand;
        --len;
        // The operator's slot keeps its text and kind after unlinking.
        TTerm& target = terms_[operand];
        try {
            if (op.Kind == kKindArrayName) {
                ReadElement(operand, op.Text, a);
            } else if (op.Kind == kKindUserFunction) {
                // Failed calls report without raising: a runaway recursion fails at every
                // level of the chain, and unwinding by exceptions would be slow.
                double value = 0;
                if (!CallUserFunction(op.Text, operand, a, value)) errorCode_ = 1;
                target.Value = value;
                target.Kind = kKindOperand;
            } else {
                target.Value = ApplyPrefix(op.Text, op.Kind, operand, a);
                target.Kind = kKindOperand;
            }
        } catch (...) {
            target.Value = 0;
            target.Kind = kKindOperand;
            errorCode_ = 1;
        }
        return;
    }

    if (r == q) {
        op.Kind = kKindOperand;
        errorCode_ = 2;
        return;
    }
    const int left = prev_[static_cast<size_t>(r)];
    const int right = next_[static_cast<size_t>(r)];
    const double b = terms_[right].Value;
    Unlink(right);
    Unlink(r);
    if (q == right) q = left;
    len -= 2;
    TTerm& target = terms_[left];
    try {
        if (!ApplyInfix(op.Text, target, b)) errorCode_ = 1;
    } catch (...) {
        errorCode_ = 1;
    }
    target.Kind = kKindOperand;
}

double TTinyParser::ApplyPrefix(const std::string& op, int kind, int position, double a) {
    if (kind == kPriorityFunction) {
        const int index = FindBuiltinFunction(op);
        if (index >= 0) {
            const std::vector<double>& args = terms_[position].Args;
            return ApplyBuiltinFunction(index, a, args, variables_);
        }
    }
    if (op.size() == 1) {
        switch (op[0]) {
            case '+':
                return a;
            case '-':
                return -a;
            case '!':
                return Truth(a == 0);
            default:
                break;
        }
    }
    return 0;
}

bool TTinyParser::ApplyInfix(const std::string& op, TTerm& left, double b) {
    const double a = left.Value;
    const long double x = a;
    const long double y = b;
    long double exact = 0;  // arithmetic result before rounding
    double result = a;
    switch (InfixOf(op)) {
        case TInfix::None:
            return true;
        case TInfix::Add:
            exact = x + y;
            break;
        case TInfix::Subtract:
            exact = x - y;
            break;
        case TInfix::Multiply:
            exact = x * y;
            break;
        case TInfix::Divide:
            exact = Divide(x, y);
            break;
        case TInfix::Quotient:
            exact = std::trunc(Divide(x, y));
            break;
        case TInfix::Remainder: {
            int64_t dividend = 0;
            int64_t divisor = 0;
            if (!TruncToInt64(a, dividend) || !TruncToInt64(b, divisor) || divisor == 0) {
                return false;
            }
            // INT64_MIN % -1 overflows in C++; the remainder by -1 is always 0.
            exact = divisor == -1 ? 0 : dividend % divisor;
            break;
        }
        case TInfix::Power:
            exact = Power(x, y);
            break;
        case TInfix::Parallel:
            exact = Divide(x * y, x + y);
            break;
        case TInfix::Unparallel:
            exact = Divide(x * y, y - x);
            break;
        case TInfix::Equal:
            exact = Truth(a == b);
            break;
        case TInfix::NotEqual:
            exact = Truth(a != b);
            break;
        case TInfix::Greater:
            exact = Truth(a > b);
            break;
        case TInfix::GreaterEqual:
            exact = Truth(a >= b);
            break;
        case TInfix::Less:
            exact = Truth(a < b);
            break;
        case TInfix::LessEqual:
            exact = Truth(a <= b);
            break;
        case TInfix::MagnitudeGreater:
            exact = Truth(std::fabs(a) > std::fabs(b));
            break;
        case TInfix::MagnitudeGreaterEqual:
            exact = Truth(std::fabs(a) >= std::fabs(b));
            break;
        case TInfix::MagnitudeLess:
            exact = Truth(std::fabs(a) < std::fabs(b));
            break;
        case TInfix::MagnitudeLessEqual:
            exact = Truth(std::fabs(a) <= std::fabs(b));
            break;
        case TInfix::And:
            exact = Truth(x * y != 0);
            break;
        case TInfix::Or:
            exact = Truth(a != 0 || b != 0);
            break;
        case TInfix::Comma:
            left.AddArg(a);
            left.Value = b;
            return true;
        case TInfix::Assign:
            Assign(left, b);
            return true;
    }
    if (!TryStore(exact, result)) return false;
    left.Value = result;
    return true;
}

void TTinyParser::JoinOperands(int p, int& q, int& len) {
    TTerm& first = terms_[p];
    while (next_[static_cast<size_t>(p)] >= 0 && p != q) {
        const int s = next_[static_cast<size_t>(p)];
        first.Text += terms_[s].Text;
        const bool last = s == q;
        Unlink(s);
        if (last) break;
    }
    first.Value = 0;
    first.Kind = kKindOperand;
    q = p;
    len = 1;
}

void TTinyParser::ReadElement(int position, const std::string& name, double x) {
    const int32_t index = ElementIndex(x);
    double value = 0;
    if (variables_ != nullptr) {
        const std::string text = variables_->Get(name);
        if (!text.empty()) {
            const std::vector<std::string> items = ReadCommaList(text);
            if (index >= 0 && static_cast<size_t>(index) < items.size()) {
                value = StoreDouble(RuvoStrToFloat(items[static_cast<size_t>(index)]));
            }
        }
    }
    TTerm& term = terms_[position];
    term.Value = value;
    term.Text = name;
    term.Index = index;
    term.Kind = kKindElement;
}

void TTinyParser::WriteElement(const std::string& name, int index, double x) {
    if (index > kMaxElementIndex) return;
    if (index < 0) throw std::out_of_range("List index out of bounds");
    std::vector<std::string> items = ReadCommaList(variables_->Get(name));
    if (items.size() < static_cast<size_t>(index) + 1)
        items.resize(static_cast<size_t>(index) + 1, "0");
    items[static_cast<size_t>(index)] = GeneralNumberText(x);
    variables_->Set(name, WriteCommaList(items));
}

void TTinyParser::Assign(TTerm& left, double b) {
    if (variables_ == nullptr) return;
    const std::string& target = left.Text;
    if (target.empty() || !(IsUpperLetter(target[0]) || target[0] == '_')) return;
    std::string name = target;
    const std::string text = GeneralNumberText(b);
    std::string shown = text;  // the handler's copy: its changes are not read back
    const int index = left.Kind == kKindElement ? left.Index : -1;
    if (onSubstitute_) onSubstitute_(*this, name, shown, index);
    // The handler may have unlinked the list, or renamed the target to nothing.
    if (variables_ != nullptr && !name.empty()) {
        if (left.Kind == kKindElement) {
            WriteElement(name, left.Index, b);
        } else {
            variables_->Set(name, text);
        }
    }
    left.Value = b;
}

}  // namespace tallyon
