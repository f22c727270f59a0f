// The arithmetic of the infix operators, shared by the reduction and the quick path of the
// calculation so that both compute every operator the same way.
#pragma once

namespace tallyon {

// Applies the one-character infix operator `op` ("+", "-", "*", "/", "%", "#", "^", "<", ">",
// "&", "|") to stored values as the reduction does: in extended precision, rounded to the
// stored double. False on an arithmetic fault (invalid operation, division by zero, overflow
// of the double), `result` then untouched. Any other character leaves `result` untouched.
bool ApplyArithmetic(char op, double a, double b, double& result);

}  // namespace tallyon
