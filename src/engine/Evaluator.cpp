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
// the assignment handler throws) is caught in ApplyOperator. Both are reported as a failed
// operation (TErrorCode::OperationFailed).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "engine/Arithmetic.h"
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

// Applies an operator of the value kind (every infix operator but ",", ":=" and an unknown
// text) to stored values: computes in extended precision and rounds to `result`. False on an
// arithmetic fault, `result` then untouched.
bool Arithmetic(TInfix infix, double a, double b, double& result) {
    const long double x = a;
    const long double y = b;
    long double exact = 0;  // arithmetic result before rounding
    switch (infix) {
        case TInfix::None:
        case TInfix::Comma:
        case TInfix::Assign:
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
    }
    return TryStore(exact, result);
}

}  // namespace

bool ApplyArithmetic(char op, double a, double b, double& result) {
    return Arithmetic(InfixOf(std::string_view(&op, 1)), a, b, result);
}

// ---- The reducer ---------------------------------------------------------------------------

// The reduction's storage, kept by its component between calculations so that the vectors
// keep their capacity.
struct TReductionScratch {
    std::vector<int> Next;        // next live slot, -1 after the last
    std::vector<int> Prev;        // previous live slot, -1 before the first, kDead when deleted
    std::vector<uint64_t> Order;  // operators of one stretch: (1000 - priority) << 32 | slot
};

void TTinyParser::TScratchDeleter::operator()(TReductionScratch* scratch) const {
    delete scratch;
}

// One reduction of a component's term list. Terms are addressed by slot in the term vector;
// live slots are chained by next_/prev_, so that deleting a term never moves the others. In
// the operations below p, q and r are slots and len is the number of live terms from p to q.
class TReducer {
public:
    TReducer(TTinyParser& parser, TReductionScratch& scratch);

    // Reduces the term list to at most one live term, reporting failures in the component's
    // ErrorCode, then moves that term to the front and drops the others.
    void Run();

private:
    TTerm& Term(int slot) { return terms_[slot]; }
    int Next(int slot) const { return next_[slot]; }
    int Prev(int slot) const { return prev_[slot]; }

    // Chains every slot of the term list; the vectors are sized here and never again.
    void LinkTerms();
    void Unlink(int slot);
    // Applies the operator at r, as a prefix when nothing operand-like stands before it.
    void ApplyOperator(int& p, int& q, int r, int& len);
    // Collapses the stretch p..q of operands without operator into one term of value 0.
    void JoinOperands(int p, int& q, int& len);
    double ApplyPrefix(const std::string& op, int kind, int position, double a);
    // False on an arithmetic fault (the left value is then unchanged); raises what the
    // assignment raises.
    bool ApplyInfix(const std::string& op, TTerm& left, double b);
    void ReadElement(int position, const std::string& name, double x);
    void Assign(TTerm& left, double b);
    void Fail(TErrorCode code) { parser_.errorCode_ = code; }

    TTinyParser& parser_;
    TTrmList& terms_;
    TReductionScratch& scratch_;
    int* next_ = nullptr;  // scratch_.Next.data(), valid from LinkTerms on
    int* prev_ = nullptr;
    int head_ = -1;  // first and last live slot, -1 when none
    int tail_ = -1;
    int liveCount_ = 0;
};

TReducer::TReducer(TTinyParser& parser, TReductionScratch& scratch)
    : parser_(parser), terms_(parser.terms_), scratch_(scratch) {}

void TReducer::LinkTerms() {
    const int count = terms_.Count();
    scratch_.Next.resize(static_cast<size_t>(count));
    scratch_.Prev.resize(static_cast<size_t>(count));
    next_ = scratch_.Next.data();
    prev_ = scratch_.Prev.data();
    for (int i = 0; i < count; ++i) {
        next_[i] = i + 1 < count ? i + 1 : -1;
        prev_[i] = i - 1;
    }
    head_ = count > 0 ? 0 : -1;
    tail_ = count - 1;
    liveCount_ = count;
}

void TReducer::Unlink(int slot) {
    const int before = prev_[slot];
    const int after = next_[slot];
    if (before >= 0) next_[before] = after;
    if (after >= 0) prev_[after] = before;
    if (head_ == slot) head_ = after;
    if (tail_ == slot) tail_ = before;
    prev_[slot] = kDead;
    next_[slot] = -1;
    --liveCount_;
}

void TReducer::Run() {
    LinkTerms();
    std::vector<uint64_t>& order = scratch_.Order;

    // Where the search for the next closing bracket starts; -1 once none is left.
    int closeFrom = head_ >= 0 ? Next(head_) : -1;
    while (liveCount_ > 1) {
        int p = head_;
        int q = -1;
        int close = -1;
        for (int s = closeFrom; s >= 0; s = Next(s)) {
            if (IsBracketClose(Term(s))) {
                close = s;
                break;
            }
        }
        if (close >= 0) {
            q = Prev(close);
            Unlink(close);
        } else {
            closeFrom = -1;
            q = tail_;
        }
        // The opening search starts one below q, so "()" finds no partner.
        for (int s = Prev(q); s >= 0; s = Prev(s)) {
            if (IsBracketOpen(Term(s))) {
                p = Next(s);
                Unlink(s);
                break;
            }
        }

        int len = 0;
        order.clear();
        for (int s = p;; s = Next(s)) {
            ++len;
            const int kind = Term(s).Kind;
            if (kind > 0) {
                order.push_back((static_cast<uint64_t>(1000 - kind) << 32) |
                                static_cast<uint32_t>(s));
            }
            if (s == q) break;
        }
        std::sort(order.begin(), order.end());
        for (uint64_t key : order) {
            if (len <= 1) break;
            const int r = static_cast<int>(key & 0xffffffffu);
            if (Prev(r) == kDead || Term(r).Kind <= 0) continue;
            ApplyOperator(p, q, r, len);
        }
        if (len > 1) JoinOperands(p, q, len);
        if (closeFrom >= 0) closeFrom = p == head_ ? Next(p) : p;
    }

    std::vector<TTerm>& items = terms_.Items();
    if (liveCount_ == 1) {
        if (head_ != 0) items[0] = std::move(items[static_cast<size_t>(head_)]);
        items.resize(1);
    } else {
        items.clear();
    }
}

void TReducer::ApplyOperator(int& p, int& q, int r, int& len) {
    TTerm& op = Term(r);
    const bool prefix = r == p || (!op.Text.empty() && IsUpperLetter(op.Text[0])) ||
                        op.Kind == kKindArrayName || Term(Prev(r)).Kind > 0;
    if (prefix) {
        if (r == q) {
            op.Kind = kKindOperand;
            Fail(TErrorCode::MissingOperand);
            return;
        }
        const int operand = Next(r);
        const double a = Term(operand).Value;
        Unlink(r);
        if (p == r) p = operand;
        --len;
        // The operator's slot keeps its text and kind after unlinking.
        TTerm& target = Term(operand);
        try {
            if (op.Kind == kKindArrayName) {
                ReadElement(operand, op.Text, a);
            } else if (op.Kind == kKindUserFunction) {
                // Failed calls report without raising: a runaway recursion fails at every
                // level of the chain, and unwinding by exceptions would be slow.
                double value = 0;
                if (!parser_.CallUserFunction(op.Text, operand, a, value)) {
                    Fail(TErrorCode::OperationFailed);
                }
                target.Value = value;
                target.Kind = kKindOperand;
            } else {
                target.Value = ApplyPrefix(op.Text, op.Kind, operand, a);
                target.Kind = kKindOperand;
            }
        } catch (...) {
            target.Value = 0;
            target.Kind = kKindOperand;
            Fail(TErrorCode::OperationFailed);
        }
        return;
    }

    if (r == q) {
        op.Kind = kKindOperand;
        Fail(TErrorCode::MissingOperand);
        return;
    }
    const int left = Prev(r);
    const int right = Next(r);
    const double b = Term(right).Value;
    Unlink(right);
    Unlink(r);
    if (q == right) q = left;
    len -= 2;
    TTerm& target = Term(left);
    try {
        if (!ApplyInfix(op.Text, target, b)) Fail(TErrorCode::OperationFailed);
    } catch (...) {
        Fail(TErrorCode::OperationFailed);
    }
    target.Kind = kKindOperand;
}

double TReducer::ApplyPrefix(const std::string& op, int kind, int position, double a) {
    if (kind == kPriorityFunction) {
        const int index = FindBuiltinFunction(op);
        if (index >= 0) {
            const std::vector<double>& args = Term(position).Args;
            return ApplyBuiltinFunction(index, a, args, parser_.variables_);
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

bool TReducer::ApplyInfix(const std::string& op, TTerm& left, double b) {
    const TInfix infix = InfixOf(op);
    switch (infix) {
        case TInfix::None:
            return true;
        case TInfix::Comma:
            left.AddArg(left.Value);
            left.Value = b;
            return true;
        case TInfix::Assign:
            Assign(left, b);
            return true;
        default:
            return Arithmetic(infix, left.Value, b, left.Value);
    }
}

void TReducer::JoinOperands(int p, int& q, int& len) {
    TTerm& first = Term(p);
    while (Next(p) >= 0 && p != q) {
        const int s = Next(p);
        first.Text += Term(s).Text;
        const bool last = s == q;
        Unlink(s);
        if (last) break;
    }
    first.Value = 0;
    first.Kind = kKindOperand;
    q = p;
    len = 1;
}

void TReducer::ReadElement(int position, const std::string& name, double x) {
    const int32_t index = ElementIndex(x);
    double value = 0;
    if (const TVariableList* variables = parser_.variables_; variables != nullptr) {
        const std::string text = variables->Get(name);
        if (!text.empty()) {
            const std::vector<std::string> items = ReadCommaList(text);
            if (index >= 0 && static_cast<size_t>(index) < items.size()) {
                value = StoreDouble(RuvoStrToFloat(items[static_cast<size_t>(index)]));
            }
        }
    }
    TTerm& term = Term(position);
    term.Value = value;
    term.Text = name;
    term.Index = index;
    term.Kind = kKindElement;
}

void TReducer::Assign(TTerm& left, double b) {
    if (parser_.variables_ == nullptr) return;
    const std::string& target = left.Text;
    if (target.empty() || !(IsUpperLetter(target[0]) || target[0] == '_')) return;
    parser_.StoreAssignment(target, left.Kind == kKindElement, left.Index, b);
    left.Value = b;
}

void TTinyParser::StoreAssignment(std::string_view target, bool element, int index, double b) {
    std::string name(target);
    std::string& text = assignedText_;
    GeneralNumberText(text, b);
    if (onSubstitute_) {
        std::string shown = text;  // the handler's copy: its changes are not read back
        onSubstitute_(*this, name, shown, element ? index : -1);
    }
    // The handler may have unlinked the list, or renamed the target to nothing.
    if (variables_ == nullptr || name.empty()) return;
    if (!element) {
        variables_->Set(name, text);
        return;
    }
    if (index > kMaxElementIndex) return;
    if (index < 0) throw std::out_of_range("List index out of bounds");
    std::vector<std::string> items = ReadCommaList(variables_->Get(name));
    if (items.size() < static_cast<size_t>(index) + 1)
        items.resize(static_cast<size_t>(index) + 1, "0");
    items[static_cast<size_t>(index)] = GeneralNumberText(b);
    variables_->Set(name, WriteCommaList(items));
}

// ---- The component's stage -----------------------------------------------------------------

void TTinyParser::Evaluate() {
    if (!sharedTable_) ResetCallContext();
    if (!scratch_) scratch_.reset(new TReductionScratch);
    TReducer(*this, *scratch_).Run();

    resultValue_ = 0;
    resultText_.clear();
    if (terms_.Count() == 1) {
        resultValue_ = terms_[0].Value;
        // Nested components only hand their value back; text is the host's business.
        if (!sharedTable_) GeneralNumberText(resultText_, resultValue_);
    }
}

}  // namespace tallyon
