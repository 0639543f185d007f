#pragma once
// Byte streams: the abstract TStream, memory, file and string streams.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
// The framework's older origin names.
enum : int { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream : public TObject {
  LORM_CLASS(TStream, TObject)
public:
  ~TStream() override = default;

  // Read and Write move up to Count bytes and return how many moved.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);

  // Move exactly Count bytes or raise EReadError "Stream read error" /
  // EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source's position (Count 0: all of Source from its start).
  int64_t CopyFrom(TStream& Source, int64_t Count);

  // Little-endian helpers.
  uint8_t ReadByte();
  int32_t ReadInt32();
  void WriteByte(uint8_t Value) { WriteBuffer(&Value, 1); }
  void WriteInt32(int32_t Value);
  void WriteString(const std::string& Bytes) { WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size())); }
};

// A growable block of memory.
class TMemoryStream : public TStream {
  LORM_CLASS(TMemoryStream, TStream)
public:
  TMemoryStream() = default;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();

  void* Memory() { return FData.data(); }
  const std::vector<uint8_t>& Data() const { return FData; }
  std::string DataString() const { return std::string(FData.begin(), FData.end()); }

  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// File modes: one of the open modes (or fmCreate) combined with a sharing mode.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// A file on disk. Creating (fmCreate) makes or empties the file and opens it for
// reading and writing; failures raise EFCreateError / EFOpenError with the file name
// and the system's reason. Sharing modes are accepted and not enforced. Opening for
// reading only never blocks and takes regular files only (OpenFileForReading).
class TFileStream : public TStream {
  LORM_CLASS(TFileStream, TStream)
public:
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const std::string& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

private:
  std::string FFileName;
  int FHandle = -1;
};

// Raises EReadError when the stream holds more than a reader may load into memory
// (MaxLoadedFileSize); the LoadFromFile methods check every file with it.
void CheckLoadableSize(TStream& Stream);

// A stream over a string of bytes.
class TStringStream : public TStream {
  LORM_CLASS(TStringStream, TStream)
public:
  explicit TStringStream(std::string AString = {}) : FData(std::move(AString)) {}
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  const std::string& DataString() const { return FData; }
  std::string ReadString(int64_t Count);
  void WriteString(const std::string& AString) { Write(AString.data(), static_cast<int64_t>(AString.size())); }

private:
  std::string FData;
  int64_t FPosition = 0;
};
