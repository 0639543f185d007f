#pragma once
// System errors as the framework raises them. Error codes use the Windows numbering
// throughout the layer (GetLastError); a POSIX error met on the way is mapped to it
// where it arises (SetLastErrorFromErrno).
#include <cstdint>
#include <string>

#include "platform/rtl/Exceptions.h"

class EOSError : public Exception {
public:
  EOSError(std::string message, uint32_t errorCode)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  const char* ClassName() const noexcept override { return "EOSError"; }
  uint32_t ErrorCode;
};

enum : uint32_t {
  ERROR_FILE_NOT_FOUND = 2, ERROR_PATH_NOT_FOUND = 3, ERROR_TOO_MANY_OPEN_FILES = 4,
  ERROR_ACCESS_DENIED = 5, ERROR_INVALID_HANDLE = 6, ERROR_NOT_ENOUGH_MEMORY = 8,
  ERROR_NOT_SAME_DEVICE = 17, ERROR_WRITE_PROTECT = 19, ERROR_GEN_FAILURE = 31,
  ERROR_SHARING_VIOLATION = 32, ERROR_LOCK_VIOLATION = 33, ERROR_NOT_SUPPORTED = 50,
  ERROR_FILE_EXISTS = 80, ERROR_BROKEN_PIPE = 109, ERROR_DISK_FULL = 112,
  ERROR_DIR_NOT_EMPTY = 145, ERROR_BUSY = 170, ERROR_BAD_EXE_FORMAT = 193,
  ERROR_FILENAME_EXCED_RANGE = 206, ERROR_IO_DEVICE = 1117,
};

// The Windows code of a POSIX errno value (ERROR_GEN_FAILURE for one without a match).
uint32_t OSErrorFromErrno(int Errno);
// SetLastError(OSErrorFromErrno(Errno)).
void SetLastErrorFromErrno(int Errno);
// The system's text for a code ("Access is denied."); empty for an unknown code.
std::string SysErrorMessage(uint32_t ErrorCode);
// EOSError "System Error.  Code: <code>.\r\n<text>" for the code (the last error by
// default); "A call to an OS function failed" when the code is 0.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(uint32_t ErrorCode);
