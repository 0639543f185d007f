#include "platform/rtl/FileRead.h"

#include <cerrno>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets errno for a file that exists but is no regular file.
void RefuseKind(mode_t mode) { errno = S_ISDIR(mode) ? EISDIR : EINVAL; }

}  // namespace

int OpenFileForReading(const std::string& Name) {
  // Refuse what is plainly no regular file before opening it at all (opening a device
  // may have effects of its own), then check again on the descriptor: the name may have
  // been replaced in between.
  struct stat before {};
  if (::stat(Name.c_str(), &before) != 0) return -1;
  if (!S_ISREG(before.st_mode)) {
    RefuseKind(before.st_mode);
    return -1;
  }
  int fd;
  do {
    fd = ::open(Name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  if (!known || !S_ISREG(info.st_mode)) {
    const int error = errno;
    ::close(fd);
    if (known) RefuseKind(info.st_mode);
    else errno = error;
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

TReadFileResult ReadFileBytes(const std::string& Name, std::vector<std::uint8_t>& Bytes,
                              std::int64_t MaxSize) {
  Bytes.clear();
  const int fd = OpenFileForReading(Name);
  if (fd < 0) {
    switch (errno) {
      case ENOENT:
      case ENOTDIR:
      case ENAMETOOLONG:
      case ELOOP: return TReadFileResult::NotFound;
      case EACCES:
      case EPERM: return TReadFileResult::AccessDenied;
      case EISDIR:
      case EINVAL: return TReadFileResult::NotRegular;
      default: return TReadFileResult::ReadFailed;
    }
  }
  TReadFileResult result = TReadFileResult::Ok;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result = TReadFileResult::ReadFailed;
  } else if (info.st_size > MaxSize) {
    result = TReadFileResult::TooLarge;
  } else {
    try {
      // The size is a hint only: files of /proc report none, and a file may change.
      Bytes.reserve(static_cast<std::size_t>(info.st_size));
      std::uint8_t chunk[65536];
      for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
          result = TReadFileResult::ReadFailed;
          break;
        }
        if (n == 0) break;
        if (static_cast<std::int64_t>(Bytes.size()) + n > MaxSize) {
          result = TReadFileResult::TooLarge;
          break;
        }
        Bytes.insert(Bytes.end(), chunk, chunk + n);
      }
    } catch (const std::bad_alloc&) {
      result = TReadFileResult::TooLarge;
    }
  }
  ::close(fd);
  if (result != TReadFileResult::Ok) {
    Bytes.clear();
    Bytes.shrink_to_fit();
  }
  return result;
}
