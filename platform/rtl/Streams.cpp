#include "platform/rtl/Streams.h"

#include "platform/rtl/FileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

// ---------------------------------------------------------------------------------------
int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t NewSize) {
  throw EStreamError(std::string("Cannot change the size of a ") + ClassName());
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  int64_t result = Count;
  std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(Count, 0xF000)));
  while (Count > 0) {
    int64_t n = std::min<int64_t>(Count, static_cast<int64_t>(buffer.size()));
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    Count -= n;
  }
  return result;
}

uint8_t TStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

int32_t TStream::ReadInt32() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                              uint32_t(b[3]) << 24);
}

void TStream::WriteInt32(int32_t Value) {
  uint32_t v = static_cast<uint32_t>(Value);
  uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBuffer(b, 4);
}

// ---------------------------------------------------------------------------------------
namespace {
int64_t SeekIn(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: return offset;
    case soCurrent: return position + offset;
    case soEnd: return size + offset;
  }
  return position;
}
}  // namespace

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  int64_t size = Size();
  if (Count <= 0 || FPosition >= size) return 0;
  int64_t n = std::min(Count, size - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  int64_t end = FPosition + Count;
  if (end > Size()) FData.resize(static_cast<size_t>(end));
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t pos = SeekIn(FPosition, Size(), Offset, Origin);
  if (pos < 0) throw EStreamError("Stream seek error");
  FPosition = pos;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Stream seek error");
  FData.resize(static_cast<size_t>(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  int64_t size = Stream.Size();
  SetSize(size);
  if (size > 0) Stream.ReadBuffer(FData.data(), size);
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) {
  if (!FData.empty()) Stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  CheckLoadableSize(stream);
  LoadFromStream(stream);
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

void CheckLoadableSize(TStream& Stream) {
  if (Stream.Size() > MaxLoadedFileSize) throw EReadError("File too large to load");
}

// ---------------------------------------------------------------------------------------
TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
  if (Mode == fmCreate || (Mode & 0xFF00) == fmCreate) {
    FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0)
      throw EFCreateError("Cannot create file \"" + FileName + "\". " + std::strerror(errno));
    return;
  }
  int flags = O_CLOEXEC;
  switch (Mode & 0x000F) {
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  if ((flags & O_ACCMODE) == O_RDONLY) {
    // Reading goes through the one open that never blocks and takes regular files only.
    FHandle = OpenFileForReading(FileName);
  } else {
    FHandle = ::open(FileName.c_str(), flags);
    if (FHandle >= 0) {
      struct stat st;
      if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        errno = EISDIR;
      }
    }
  }
  if (FHandle < 0) {
    const int error = errno;
    throw EFOpenError("Cannot open file \"" + FileName + "\". " +
                      (error == EINVAL ? "Not a regular file" : std::strerror(error)));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  int64_t total = 0;
  char* p = static_cast<char*>(Buffer);
  while (total < Count) {
    ssize_t n = ::read(FHandle, p + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  return total;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  int64_t total = 0;
  const char* p = static_cast<const char*>(Buffer);
  while (total < Count) {
    ssize_t n = ::write(FHandle, p + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
  if (r < 0) throw EStreamError("Stream seek error");
  return r;
}

void TFileStream::SetSize(int64_t NewSize) {
  int64_t pos = Position();
  if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EStreamError(std::string("Stream size error. ") + std::strerror(errno));
  if (pos > NewSize) Seek(NewSize, soBeginning);
}

// ---------------------------------------------------------------------------------------
int64_t TStringStream::Read(void* Buffer, int64_t Count) {
  int64_t size = Size();
  if (Count <= 0 || FPosition >= size) return 0;
  int64_t n = std::min(Count, size - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TStringStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  int64_t end = FPosition + Count;
  if (end > Size()) FData.resize(static_cast<size_t>(end));
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t pos = SeekIn(FPosition, Size(), Offset, Origin);
  if (pos < 0) throw EStreamError("Stream seek error");
  FPosition = pos;
  return FPosition;
}

void TStringStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Stream seek error");
  FData.resize(static_cast<size_t>(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

std::string TStringStream::ReadString(int64_t Count) {
  int64_t n = std::max<int64_t>(0, std::min(Count, Size() - FPosition));
  std::string out = FData.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
  FPosition += n;
  return out;
}
