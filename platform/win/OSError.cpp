// System error codes, their texts and the exception that carries them.
#include "platform/win/OSError.h"

#include <cerrno>

#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

uint32_t OSErrorFromErrno(int Errno) {
  switch (Errno) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES: case EPERM: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EROFS: return ERROR_WRITE_PROTECT;
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOSPC: case EFBIG: return ERROR_DISK_FULL;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EBUSY: return ERROR_BUSY;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EIO: return ERROR_IO_DEVICE;
    default: return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno(int Errno) { SetLastError(OSErrorFromErrno(Errno)); }

std::string SysErrorMessage(uint32_t ErrorCode) {
  switch (ErrorCode) {
    case ERROR_SUCCESS: return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND: return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND: return "The system cannot find the path specified.";
    case ERROR_TOO_MANY_OPEN_FILES: return "The system cannot open the file.";
    case ERROR_ACCESS_DENIED: return "Access is denied.";
    case ERROR_INVALID_HANDLE: return "The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY: return "Not enough storage is available to process this command.";
    case ERROR_NOT_SAME_DEVICE: return "The system cannot move the file to a different disk drive.";
    case ERROR_WRITE_PROTECT: return "The media is write protected.";
    case ERROR_GEN_FAILURE: return "A device attached to the system is not functioning.";
    case ERROR_SHARING_VIOLATION:
      return "The process cannot access the file because it is being used by another process.";
    case ERROR_LOCK_VIOLATION:
      return "The process cannot access the file because another process has locked a portion of the file.";
    case ERROR_NOT_SUPPORTED: return "The request is not supported.";
    case ERROR_FILE_EXISTS: return "The file exists.";
    case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
    case ERROR_BROKEN_PIPE: return "The pipe has been ended.";
    case ERROR_DISK_FULL: return "There is not enough space on the disk.";
    case ERROR_DIR_NOT_EMPTY: return "The directory is not empty.";
    case ERROR_BUSY: return "The requested resource is in use.";
    case ERROR_BAD_EXE_FORMAT: return "The file is not a valid application.";
    case ERROR_FILENAME_EXCED_RANGE: return "The filename or extension is too long.";
    case ERROR_IO_DEVICE: return "The request could not be performed because of an I/O device error.";
    case ERROR_INVALID_WINDOW_HANDLE: return "Invalid window handle.";
    case ERROR_CLIPBOARD_NOT_OPEN: return "Thread does not have a clipboard open.";
    default: return {};
  }
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(uint32_t ErrorCode) {
  if (ErrorCode == 0) throw EOSError("A call to an OS function failed", 0);
  throw EOSError(Format("System Error.  Code: %d.\r\n%s", static_cast<int>(ErrorCode),
                        SysErrorMessage(ErrorCode)),
                 ErrorCode);
}
