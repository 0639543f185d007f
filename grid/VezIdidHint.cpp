// VezIdid, the office hint object: made in a unit of its own because the hint's picture
// headers and the window headers declare the same helper names.
#include <memory>

#include "foundation/DizHintInfo.h"

std::unique_ptr<TPersistent> NewOfficeHint() { return std::make_unique<TDizHintInfo>(); }
