// The per-thread record of a replaced exception.
#include "platform/rtl/Exceptions.h"

namespace {
struct TReplacement {
  std::exception_ptr Current;
  std::exception_ptr Replacement;
};
thread_local TReplacement gReplacement;
}  // namespace

void SetExceptionReplacement(std::exception_ptr Current, std::exception_ptr Replacement) {
  gReplacement = {std::move(Current), std::move(Replacement)};
}

std::exception_ptr ExceptionReplacement(std::exception_ptr Current) {
  // Only for the very exception it was recorded for: a handler that swallowed its
  // exception leaves a record that no later exception may pick up.
  if (Current && gReplacement.Current == Current) return gReplacement.Replacement;
  return Current;
}
