// The built-in functions and constants of the expression language.
//
// The 49 function names are prefix operators of priority 100 in the operator table; the
// table receives them in the order of BuiltinFunctionNames(). A function sees its operand's
// argument list: the last argument is the operand's value x, the earlier ones its Args.
// Constants are bound by name before evaluation; "_RND" draws from the caller's generator.
#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <string_view>

namespace tallyon {

class TVariableList;

// The 49 function names, TRUNC first and IF last.
std::span<const std::string_view> BuiltinFunctionNames();

// Index of name in BuiltinFunctionNames(), or -1.
int FindBuiltinFunction(std::string_view name);

// Applies function `index` to the argument list (args..., x). `variables` (may be null)
// supplies the frequency "_F" / "_FREQ" for the electronics functions. Raises EMathError on
// an arithmetic fault or domain failure and EConvertError when the frequency text does not
// read; the caller turns both into ErrorCode 1.
double ApplyBuiltinFunction(int index, double x, std::span<const double> args,
                            const TVariableList* variables);

// The generator behind "_RND", seeded from the clock by each parser component.
using TRandomGenerator = std::mt19937_64;

// When name is one of the 24 constant names, stores its value (drawing a new number for
// "_RND") and returns true.
bool LookupConstant(std::string_view name, TRandomGenerator& random, double& value);

}  // namespace tallyon
