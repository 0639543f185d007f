#pragma once
// COM-style streams: the IUnknown, ISequentialStream and IStream interfaces, streams on
// movable global memory blocks (CreateStreamOnHGlobal, GetHGlobalFromStream) and
// TStreamAdapter, an IStream over a framework TStream.
//
// The interfaces are pure and header-only: a layer that only calls them (GDI+ reading an
// image from a stream) needs this header but no link to the window layer.
//
// Reference counting follows COM: an object made by `new` or handed out by a creating
// function starts with one reference owned by the caller, who Release()s it; the object
// deletes itself when the last reference goes. No method lets an exception escape.
#include <atomic>
#include <cstdint>

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Streams.h"
#include "platform/win/GlobalMemory.h"

#ifndef LORM_GUID_DEFINED
#define LORM_GUID_DEFINED
struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
inline bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
using CLSID = GUID;
#endif
using IID = GUID;
using ULONG = std::uint32_t;
using REFIID = const IID&;

// Result codes (S_OK, S_FALSE, E_NOTIMPL, E_FAIL, E_INVALIDARG and E_POINTER come with
// GDI's base types).
inline constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
inline constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);
inline constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFFu);
inline constexpr HRESULT STG_E_INVALIDFUNCTION = HRESULT(0x80030001u);
inline constexpr HRESULT STG_E_ACCESSDENIED = HRESULT(0x80030005u);
inline constexpr HRESULT STG_E_INSUFFICIENTMEMORY = HRESULT(0x80030008u);
inline constexpr HRESULT STG_E_INVALIDPOINTER = HRESULT(0x80030009u);
inline constexpr HRESULT STG_E_SEEKERROR = HRESULT(0x80030019u);
inline constexpr HRESULT STG_E_WRITEFAULT = HRESULT(0x8003001Du);
inline constexpr HRESULT STG_E_READFAULT = HRESULT(0x8003001Eu);
inline constexpr HRESULT STG_E_INVALIDPARAMETER = HRESULT(0x80030057u);
inline constexpr HRESULT STG_E_MEDIUMFULL = HRESULT(0x80030070u);
inline constexpr HRESULT STG_E_REVERTED = HRESULT(0x80030102u);
inline constexpr HRESULT STG_E_CANTSAVE = HRESULT(0x80030103u);
inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct LARGE_INTEGER {
  std::int64_t QuadPart = 0;
};
struct ULARGE_INTEGER {
  std::uint64_t QuadPart = 0;
};
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

enum : DWORD { STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2 };
enum : DWORD { STGTY_STORAGE = 1, STGTY_STREAM = 2, STGTY_LOCKBYTES = 3, STGTY_PROPERTY = 4 };
enum : DWORD { STATFLAG_DEFAULT = 0, STATFLAG_NONAME = 1, STATFLAG_NOOPEN = 2 };
enum : DWORD { STGM_READ = 0x0, STGM_WRITE = 0x1, STGM_READWRITE = 0x2 };
enum : DWORD { STGC_DEFAULT = 0 };
enum : DWORD { LOCK_WRITE = 1, LOCK_EXCLUSIVE = 2, LOCK_ONLYONCE = 4 };

// What Stat tells. These streams have no names: pwcsName is always null.
struct STATSTG {
  char16_t* pwcsName = nullptr;
  DWORD type = 0;
  ULARGE_INTEGER cbSize;
  FILETIME mtime, ctime, atime;
  DWORD grfMode = 0;
  DWORD grfLocksSupported = 0;
  CLSID clsid{};
  DWORD grfStateBits = 0;
  DWORD reserved = 0;
};

inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ISequentialStream = {0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
inline constexpr IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IUnknown {
  // E_POINTER for no out pointer; E_NOINTERFACE (and *object null) for an unknown IID.
  virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;  // the count left

protected:
  virtual ~IUnknown() = default;  // objects go through Release
};

struct ISequentialStream : IUnknown {
  // Up to cb bytes; fewer (0 at the end) is success. The counts may be null.
  virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
  virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
};

struct IStream : ISequentialStream {
  // Origin STREAM_SEEK_SET/CUR/END; a position before the start is refused
  // (STG_E_INVALIDFUNCTION), one past the end is allowed (a write there fills the gap
  // with zeros).
  virtual HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER libNewSize) = 0;  // the position stays
  virtual HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) = 0;
  virtual HRESULT Commit(DWORD grfCommitFlags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  virtual HRESULT Stat(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
  virtual HRESULT Clone(IStream** ppstm) = 0;
};

// A stream on a movable global memory block (GlobalAlloc with GMEM_MOVEABLE). hGlobal null:
// a new empty block. The stream's size is the block's size; writing past the end and
// SetSize resize the block in place (its handle stays), which fails with
// STG_E_MEDIUMFULL while someone holds the block locked. deleteOnRelease: the block is
// freed with the last of the stream and its clones. Clones share the block and keep
// their own positions. E_INVALIDARG for no out pointer or a handle that is no block.
HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL deleteOnRelease, IStream** stream);
// The block under a stream made by CreateStreamOnHGlobal; E_INVALIDARG for other streams.
HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* hGlobal);

// An IStream over a framework stream. soOwned: the adapter frees the stream with its
// last reference; soReference: the stream stays the caller's and must outlive the
// adapter. The framework stream's errors come back as result codes (Read S_FALSE, Write
// STG_E_CANTSAVE, Seek STG_E_INVALIDFUNCTION, SetSize E_UNEXPECTED). Commit does nothing;
// Revert answers STG_E_REVERTED, region locks STG_E_INVALIDFUNCTION, Clone E_NOTIMPL.
enum TStreamOwnership { soReference, soOwned };

class TStreamAdapter : public IStream {
public:
  explicit TStreamAdapter(TStream* stream, TStreamOwnership ownership = soReference);

  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
  HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
  HRESULT SetSize(ULARGE_INTEGER libNewSize) override;
  HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override;
  HRESULT Commit(DWORD grfCommitFlags) override;
  HRESULT Revert() override;
  HRESULT LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  HRESULT UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  HRESULT Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
  HRESULT Clone(IStream** ppstm) override;

  TStream* Stream() const { return FStream; }
  TStreamOwnership StreamOwnership() const { return FOwnership; }
  void SetStreamOwnership(TStreamOwnership ownership) { FOwnership = ownership; }

protected:
  ~TStreamAdapter() override;

private:
  TStream* FStream;
  TStreamOwnership FOwnership;
  std::atomic<ULONG> FRefCount{1};
};
