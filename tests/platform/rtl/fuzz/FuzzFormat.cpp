// libFuzzer target: Format and the number conversions take any format and any
// arguments; bad ones raise EConvertError, nothing else escapes.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

TVarRec Argument(FuzzedDataProvider& in, std::vector<std::string>& strings) {
  switch (in.ConsumeIntegralInRange<int>(0, 6)) {
    case 0: return TVarRec(in.ConsumeIntegral<int>());
    case 1: return TVarRec(in.ConsumeIntegral<long long>());
    case 2: return TVarRec(in.ConsumeFloatingPoint<double>());
    case 3: {
      long double v = in.ConsumeFloatingPoint<double>();
      if (in.ConsumeBool()) v *= 1e4000L;  // beyond double range
      return TVarRec(v);
    }
    case 4: return TVarRec(in.ConsumeIntegral<char>());
    case 5: return TVarRec(static_cast<const void*>(nullptr));
    default:
      strings.push_back(in.ConsumeRandomLengthString(64));
      return TVarRec(strings.back());
  }
}

template <class F>
void Try(F f) {
  try {
    f();
  } catch (const EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider in(bytes, size);
  std::vector<std::string> strings;
  strings.reserve(8);
  std::vector<TVarRec> args;
  const int count = in.ConsumeIntegralInRange<int>(0, 8);
  for (int i = 0; i < count; ++i) args.push_back(Argument(in, strings));
  const std::string floatFormat = in.ConsumeRandomLengthString(32);
  const long double value = in.ConsumeFloatingPoint<double>();
  const auto kind = TFloatFormat(in.ConsumeIntegralInRange<int>(ffGeneral, ffCurrency));
  const int precision = in.ConsumeIntegralInRange<int>(-5, 70);
  const int digits = in.ConsumeIntegralInRange<int>(-5, 70);
  const std::string format = in.ConsumeRemainingBytesAsString();

  Try([&] {
    switch (args.size()) {
      case 0: (void)Format(format, {}); break;
      case 1: (void)Format(format, {args[0]}); break;
      case 2: (void)Format(format, {args[0], args[1]}); break;
      case 3: (void)Format(format, {args[0], args[1], args[2]}); break;
      default: (void)Format(format, {args[0], args[1], args[2], args[3], args[args.size() - 1]}); break;
    }
  });
  Try([&] { (void)FormatFloat(floatFormat, value); });
  Try([&] { (void)FloatToStrF(value, kind, precision, digits); });
  Try([&] { (void)StrToFloat(format); });
  Try([&] { (void)StrToInt64(format); });
  Try([&] { (void)StrToInt(floatFormat); });
  return 0;
}
