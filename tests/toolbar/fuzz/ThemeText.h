#pragma once
// The theme text a tool bar styler saves, for comparing stylers in the fuzz targets.
#include <sstream>
#include <string>

#include "toolbar/VivIzizEzu.h"

inline std::string ThemeText(VivIzizEzu::TCustomVivIzizEzuStyler& Styler) {
  std::ostringstream out;
  Styler.SavePropToFile(out);
  return out.str();
}
