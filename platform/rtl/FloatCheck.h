#pragma once
// Floating-point faults raised as exceptions. The hardware here does not trap, so code
// that relies on a fault being reported divides and checks through these.
#include "platform/rtl/Exceptions.h"

// a / b. b == 0 raises EInvalidOp "Invalid floating point operation" when a is 0 or
// NaN and EZeroDivide "Floating point division by zero" otherwise; a finite quotient
// that overflows raises EOverflow "Floating point overflow".
long double FloatDivide(long double a, long double b);

// Returns the value; raises EOverflow "Floating point overflow" for an infinity and
// EInvalidOp "Invalid floating point operation" for a NaN.
long double CheckFloatResult(long double value);
