#pragma once
// Helpers shared by the VxCoreUtils sources.
#include <string>

#include "platform/rtl/CodePage.h"

namespace VxCoreUtils {

// Number of code points of UTF-8 text.
inline int CodePoints(const std::string& S) { return static_cast<int>(Utf8Length(S)); }

// Bytes of the first N code points of UTF-8 text.
inline std::size_t CodePointBytes(const std::string& S, int N) {
  std::size_t pos = 0;
  for (int i = 0; i < N && pos < S.size(); ++i) Utf8Next(S, pos);
  return pos;
}

}  // namespace VxCoreUtils
