#include "app/GasBaseFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileRead.h"
#include "platform/rtl/MessageService.h"

namespace {
using namespace GasBaseMessages;

class TFileDescriptor {
public:
  explicit TFileDescriptor(int fd = -1) : FFd(fd) {}
  ~TFileDescriptor() { Close(); }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return FFd; }
  void Reset(int fd) {
    Close();
    FFd = fd;
  }
  bool Valid() const { return FFd >= 0; }
  // Closes the file; false when the close itself reports a failure (a delayed write error).
  bool Close() {
    if (FFd < 0) return true;
    const int result = ::close(FFd);
    FFd = -1;
    return result == 0;
  }

private:
  int FFd;
};

enum class TReadResult { Whole, Short, Failed };

// Reads exactly `size` bytes unless the file ends first; retries interrupted reads.
TReadResult ReadExactly(int fd, unsigned char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, buffer + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return TReadResult::Failed;
    }
    if (n == 0) return TReadResult::Short;
    done += static_cast<std::size_t>(n);
  }
  return TReadResult::Whole;
}

// Reads up to `size` bytes, stopping early only at the end of the file; `done` receives
// the bytes read, also when the read fails part-way.
TReadResult ReadUpTo(int fd, unsigned char* buffer, std::size_t size, std::size_t& done) {
  done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, buffer + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return TReadResult::Failed;
    }
    if (n == 0) return TReadResult::Short;
    done += static_cast<std::size_t>(n);
  }
  return TReadResult::Whole;
}

// Records decoded per read: 4096 images of 56 bytes.
constexpr std::size_t ChunkRecords = 4096;

bool WriteExactly(int fd, const unsigned char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, buffer + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void Warn(const char* text, const char* caption) { ShowMessageBox(text, caption, MB_ICONWARNING); }
void Stop(const char* text, const char* caption) { ShowMessageBox(text, caption, MB_ICONSTOP); }

std::int32_t DecodeCount(const unsigned char (&bytes)[4]) {
  const std::uint32_t bits = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                             std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  return static_cast<std::int32_t>(bits);
}

constexpr char TemporaryPrefix[] = ".converting-";

// A name mkstemp makes from TemporaryPrefix + "XXXXXX".
bool IsTemporaryName(const std::string& name) {
  const std::size_t prefix = sizeof TemporaryPrefix - 1;
  if (name.size() != prefix + 6 || name.compare(0, prefix, TemporaryPrefix) != 0) return false;
  for (std::size_t i = prefix; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

// Removes the temporaries that saves killed part-way left in the folder. A save holds
// an exclusive lock on its temporary while it runs, so a temporary that can be locked
// belongs to no running save; a temporary of a save in progress is left alone.
void RemoveStaleTemporaries(const std::string& folder, const std::string& own) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name)) continue;
    const std::string path = folder + "/" + name;
    if (path == own) continue;
    TFileDescriptor stale(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!stale.Valid()) continue;
    struct stat info {};
    if (::fstat(stale.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
      continue;
    if (::flock(stale.Get(), LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

// The folder of a path, for the temporary file that must live beside the target.
std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}
} // namespace

bool LoadGasBase(const std::string& fileName, TRecordList& list,
                 const std::function<void()>& refresh) {
  // Reading never writes, so the file is opened for reading only: a database the user
  // may not modify still loads. The open never blocks, so a FIFO or device named
  // "converting.cnv" is refused instead of hanging the program at start-up.
  TFileDescriptor file(OpenFileForReading(fileName));
  if (!file.Valid()) {
    if (errno != ENOENT) {
      // The file exists but cannot be read: it must not be replaced by an empty one.
      Warn(CannotOpenExisting, ReadCaption);
      return false;
    }
    Warn(CannotOpen, ReadCaption);
    // Only a file that does not exist is created; O_EXCL keeps a file that appeared
    // meanwhile from being emptied.
    TFileDescriptor created(
        ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!created.Valid()) {
      Warn(CannotCreate, ReadCaption);
      return false;
    }
    created.Close();
    file.Reset(OpenFileForReading(fileName));
    if (!file.Valid()) {
      Warn(CannotCreate, ReadCaption);
      return false;
    }
  }

  struct stat info {};
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    Warn(CannotOpenExisting, ReadCaption);
    return false;
  }

  unsigned char countBytes[4];
  switch (ReadExactly(file.Get(), countBytes, sizeof countBytes)) {
  case TReadResult::Whole: break;
  case TReadResult::Short: Warn(Empty, ReadCaption); return true;
  case TReadResult::Failed: Stop(ReadError, ReadCaption); return false;
  }
  const std::int32_t count = DecodeCount(countBytes);
  if (count < 1) {
    Warn(Empty, ReadCaption);
    return true;
  }

  // No more records are read than the file's bytes hold (a huge count in a sparse file
  // announces records that are not there), and the list never grows beyond the number of
  // records the program can hold and show. A file holding more stops at that ceiling with
  // the read error; the records read until then stay.
  const std::int64_t held = (static_cast<std::int64_t>(info.st_size) - 4) / std::int64_t(TMyRecord::ImageSize);
  const std::int64_t room =
      list.size() >= MaxGasRecords ? 0 : static_cast<std::int64_t>(MaxGasRecords - list.size());
  const std::int64_t wanted = std::min<std::int64_t>(count, std::max<std::int64_t>(held, 0));
  const bool overflow = wanted > room;

  // Records are read in chunks of a fixed size; the list is grown once, by what is read.
  try {
    std::vector<unsigned char> chunk(ChunkRecords * TMyRecord::ImageSize);
    std::vector<TMyRecord> records;
    records.reserve(ChunkRecords);
    std::size_t loaded = 0;
    std::int64_t left = std::min(wanted, room);
    list.reserve(list.size() + static_cast<std::size_t>(left));
    while (left > 0) {
      const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(left, ChunkRecords));
      std::size_t got = 0;
      const TReadResult result = ReadUpTo(file.Get(), chunk.data(), want * TMyRecord::ImageSize, got);
      const std::size_t whole = got / TMyRecord::ImageSize; // a trailing partial record is ignored
      records.clear();
      for (std::size_t k = 0; k < whole; ++k) {
        unsigned char image[TMyRecord::ImageSize];
        std::memcpy(image, chunk.data() + k * TMyRecord::ImageSize, sizeof image);
        records.push_back(TMyRecord::FromImage(image));
      }
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(loaded), records.begin(), records.end());
      loaded += whole;
      left -= static_cast<std::int64_t>(whole);
      if (result == TReadResult::Failed) throw EInOutError("read error");
      if (result == TReadResult::Short) break;
    }
    if (overflow && left == 0) throw EInOutError("more records than the program can hold");
  } catch (const std::exception&) {
    Stop(ReadError, ReadCaption);
  }

  if (refresh) refresh();
  return true;
}

void IgnoreFileSizeSignal() {
  struct sigaction current {};
  if (::sigaction(SIGXFSZ, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGXFSZ, &ignore, nullptr);
}

bool SaveGasBase(const std::string& fileName, const TRecordList& list) {
  IgnoreFileSizeSignal();
  // Write through the real file when the name is a symbolic link, so the link survives.
  std::string target = fileName;
  if (char* resolved = ::realpath(fileName.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
    Warn(CannotCreate, WriteCaption);
    return false;
  }
  if (list.size() > static_cast<std::size_t>(INT32_MAX)) {
    Stop(WriteError, WriteCaption);
    return false;
  }

  const std::string folder = FolderOf(target);
  std::string temporary = folder + "/" + TemporaryPrefix + "XXXXXX";
  TFileDescriptor file(::mkstemp(temporary.data()));
  if (!file.Valid()) {
    Warn(CannotCreate, WriteCaption);
    return false;
  }
  ::flock(file.Get(), LOCK_EX);
  RemoveStaleTemporaries(folder, temporary);
  // The new file keeps the old one's permissions; a new database gets the usual ones.
  if (exists) {
    ::fchmod(file.Get(), old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(file.Get(), 0666 & ~mask);
  }

  bool written = true;
  const auto count = static_cast<std::uint32_t>(list.size());
  const unsigned char countBytes[4] = {
      static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
      static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
  written = WriteExactly(file.Get(), countBytes, sizeof countBytes);
  for (std::size_t i = 0; written && i < list.size(); ++i) {
    unsigned char image[TMyRecord::ImageSize];
    list[i].ToImage(image);
    written = WriteExactly(file.Get(), image, sizeof image);
  }
  written = written && ::fsync(file.Get()) == 0;
  written = file.Close() && written;
  written = written && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!written) {
    ::unlink(temporary.c_str());
    Stop(WriteError, WriteCaption);
    return false;
  }
  return true;
}
