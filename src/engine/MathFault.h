// Arithmetic faults of the engine: invalid operation, division by zero and overflow of the
// double a result is stored in. Operations raise EMathError; the reduction catches it and
// turns it into ErrorCode 1, so no infinity or NaN ever reaches a stored value.
#pragma once

#include <cmath>
#include <stdexcept>

namespace tallyon {

class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void RaiseInvalidOperation() {
    throw EMathError("Invalid floating point operation");
}
[[noreturn]] inline void RaiseZeroDivide() {
    throw EMathError("Floating point division by zero");
}
[[noreturn]] inline void RaiseOverflow() {
    throw EMathError("Floating point overflow");
}

// Rounds an extended result to the double it is stored in. A NaN is an invalid operation,
// and an infinity, or a finite value beyond the double range, is an overflow.
inline double StoreDouble(long double x) {
    if (std::isnan(x)) RaiseInvalidOperation();
    const double d = static_cast<double>(x);
    if (std::isinf(d)) RaiseOverflow();
    return d;
}

}  // namespace tallyon
