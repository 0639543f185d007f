// libFuzzer target: dates and times read from any text and written in any format and
// for any value; bad input raises EConvertError, nothing else escapes.
#include <fuzzer/FuzzedDataProvider.h>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider in(bytes, size);
  TFormatSettings settings = DefaultFormatSettings();
  if (in.ConsumeBool()) {  // Russian-style settings with fuzzed formats
    settings.DateSeparator = '.';
    settings.ShortDateFormat = in.ConsumeRandomLengthString(24);
    settings.LongTimeFormat = in.ConsumeRandomLengthString(24);
    settings.TimeAMString = in.ConsumeRandomLengthString(8);
    settings.TwoDigitYearCenturyWindow = in.ConsumeIntegralInRange<int>(0, 99);
  }
  TFormatSettingsScope scope(settings);
  const double value = in.ConsumeFloatingPoint<double>();
  const int months = in.ConsumeIntegral<int>();
  const std::string format = in.ConsumeRandomLengthString(48);
  const std::string text = in.ConsumeRemainingBytesAsString();

  TDateTime d = 0;
  (void)TryStrToDate(text, d);
  (void)TryStrToTime(text, d);
  (void)TryStrToDateTime(text, d);
  for (auto f : {+[](const std::string& s) { (void)StrToDate(s); }, +[](const std::string& s) { (void)StrToTime(s); },
                 +[](const std::string& s) { (void)StrToDateTime(s); }}) {
    try {
      f(text);
    } catch (const EConvertError&) {
    }
  }
  try {
    (void)FormatDateTime(format, value);
    (void)DateTimeToStr(value);
    (void)IncMonth(value, months);
    int y, m, dd;
    DecodeDate(value, y, m, dd);
  } catch (const EConvertError&) {
  }
  return 0;
}
