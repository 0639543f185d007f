#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/rtl/FloatCheck.h"

namespace {

template <class E, class F>
std::string MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "<no exception>";
}

TEST(FloatCheckTest, DivisionFaults) {
  EXPECT_EQ(FloatDivide(1, 4), 0.25L);
  EXPECT_EQ(MessageOf<EZeroDivide>([] { FloatDivide(1, 0); }), "Floating point division by zero");
  EXPECT_EQ(MessageOf<EZeroDivide>([] { FloatDivide(-1, -0.0L); }), "Floating point division by zero");
  EXPECT_EQ(MessageOf<EInvalidOp>([] { FloatDivide(0, 0); }), "Invalid floating point operation");
  EXPECT_THROW(FloatDivide(std::numeric_limits<long double>::quiet_NaN(), 1), EInvalidOp);
  EXPECT_EQ(MessageOf<EOverflow>([] { FloatDivide(LDBL_MAX, 0.5L); }), "Floating point overflow");
  // The exceptions are math errors, catchable together.
  EXPECT_THROW(FloatDivide(1, 0), EMathError);
}

TEST(FloatCheckTest, CheckFloatResult) {
  EXPECT_EQ(CheckFloatResult(1.5L), 1.5L);
  EXPECT_THROW(CheckFloatResult(std::numeric_limits<long double>::infinity()), EOverflow);
  EXPECT_THROW(CheckFloatResult(-std::numeric_limits<long double>::infinity()), EOverflow);
  EXPECT_EQ(MessageOf<EInvalidOp>([] { CheckFloatResult(std::nanl("")); }),
            "Invalid floating point operation");
}

} // namespace
