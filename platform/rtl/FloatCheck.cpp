#include "platform/rtl/FloatCheck.h"

#include <cmath>

namespace {
[[noreturn]] void RaiseInvalidOp() { throw EInvalidOp("Invalid floating point operation"); }
[[noreturn]] void RaiseZeroDivide() { throw EZeroDivide("Floating point division by zero"); }
[[noreturn]] void RaiseOverflow() { throw EOverflow("Floating point overflow"); }
} // namespace

long double FloatDivide(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) RaiseInvalidOp();
  if (b == 0) {
    if (a == 0) RaiseInvalidOp();
    RaiseZeroDivide();
  }
  if (std::isinf(a) && std::isinf(b)) RaiseInvalidOp();
  long double q = a / b;
  if (std::isinf(q) && !std::isinf(a)) RaiseOverflow();
  return q;
}

long double CheckFloatResult(long double value) {
  if (std::isnan(value)) RaiseInvalidOp();
  if (std::isinf(value)) RaiseOverflow();
  return value;
}
