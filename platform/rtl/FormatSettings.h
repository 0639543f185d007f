#pragma once
// Locale format settings read by every text, number and date conversion at each call.
// Taken from the process locale at start; tests set the fields they need (see
// TFormatSettingsScope) and restore them afterwards.
#include <array>
#include <string>

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string CurrencyString = "$";
  unsigned char CurrencyFormat = 0;   // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  unsigned char NegCurrFormat = 0;
  unsigned char CurrencyDecimals = 2;
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{};
  std::array<std::string, 12> LongMonthNames{};
  std::array<std::string, 7> ShortDayNames{};  // Sunday first
  std::array<std::string, 7> LongDayNames{};
  int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings. Conversions read them at each call and keep no state.
TFormatSettings& FormatSettings();

// Settings for the process locale (LC_NUMERIC, LC_TIME); used once at start.
TFormatSettings FormatSettingsFromLocale();

// The neutral settings: '.' decimal, ',' thousand, '/' date, ':' time, English names.
TFormatSettings DefaultFormatSettings();

// Replaces the process-wide settings for the lifetime of the scope (tests).
class TFormatSettingsScope {
public:
  explicit TFormatSettingsScope(const TFormatSettings& settings)
      : FSaved(FormatSettings()) { FormatSettings() = settings; }
  ~TFormatSettingsScope() { FormatSettings() = FSaved; }
  TFormatSettingsScope(const TFormatSettingsScope&) = delete;
  TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;
private:
  TFormatSettings FSaved;
};
