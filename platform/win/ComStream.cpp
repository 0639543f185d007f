// COM-style streams on global memory blocks and over framework streams.
#include "platform/win/ComStream.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <new>

namespace {

bool IsStreamInterface(REFIID riid) {
  return riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream;
}

// The largest stream size these streams take: positions and sizes stay within the signed
// 64-bit range of LARGE_INTEGER and of the framework's streams.
constexpr std::uint64_t kMaxStreamSize = std::uint64_t(std::numeric_limits<std::int64_t>::max());

// The new position for a seek from base by move; false when it would fall before the
// start or beyond the representable range.
bool SeekTarget(std::uint64_t base, std::int64_t move, std::uint64_t* target) {
  if (move < 0) {
    const std::uint64_t back = std::uint64_t(-(move + 1)) + 1;  // |move| without overflow
    if (back > base) return false;
    *target = base - back;
    return true;
  }
  if (std::uint64_t(move) > kMaxStreamSize - std::min(base, kMaxStreamSize)) return false;
  *target = base + std::uint64_t(move);
  return true;
}

// CopyTo for any stream: reads from `from` in pieces and writes them to `to`.
HRESULT CopyBetween(IStream* from, IStream* to, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                    ULARGE_INTEGER* pcbWritten) {
  if (pcbRead) pcbRead->QuadPart = 0;
  if (pcbWritten) pcbWritten->QuadPart = 0;
  if (!to) return STG_E_INVALIDPOINTER;
  std::uint8_t buffer[16384];
  std::uint64_t left = cb.QuadPart, read = 0, written = 0;
  HRESULT result = S_OK;
  while (left > 0) {
    const ULONG want = ULONG(std::min<std::uint64_t>(left, sizeof buffer));
    ULONG got = 0;
    const HRESULT r = from->Read(buffer, want, &got);
    if (FAILED(r)) {
      result = r;
      break;
    }
    got = std::min(got, want);
    if (got == 0) break;
    read += got;
    left -= got;
    ULONG put = 0;
    const HRESULT w = to->Write(buffer, got, &put);
    written += std::min(put, got);
    if (FAILED(w)) {
      result = w;
      break;
    }
    if (put < got) {
      result = STG_E_MEDIUMFULL;
      break;
    }
  }
  if (pcbRead) pcbRead->QuadPart = read;
  if (pcbWritten) pcbWritten->QuadPart = written;
  return result;
}

// The block shared by a stream on global memory and its clones.
struct TGlobalBlock {
  HGLOBAL Handle = nullptr;
  bool DeleteOnRelease = false;
  ~TGlobalBlock() {
    if (DeleteOnRelease) GlobalFree(Handle);
  }
};

class THGlobalStream final : public IStream {
public:
  explicit THGlobalStream(std::shared_ptr<TGlobalBlock> block, std::uint64_t position = 0)
      : FBlock(std::move(block)), FPosition(position) {}

  HGLOBAL Handle() const { return FBlock->Handle; }

  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsStreamInterface(riid)) return E_NOINTERFACE;
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++FRefCount; }
  ULONG Release() override {
    const ULONG left = --FRefCount;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (pcbRead) *pcbRead = 0;
    if (!pv) return STG_E_INVALIDPOINTER;
    const std::uint64_t size = GlobalSize(Handle());
    if (FPosition >= size || cb == 0) return S_OK;
    const ULONG n = ULONG(std::min<std::uint64_t>(cb, size - FPosition));
    const auto* data = static_cast<const std::uint8_t*>(GlobalLock(Handle()));
    if (!data) return STG_E_READFAULT;  // the block was freed under the stream
    std::memcpy(pv, data + FPosition, n);
    GlobalUnlock(Handle());
    FPosition += n;
    if (pcbRead) *pcbRead = n;
    return S_OK;
  }

  HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv) return STG_E_INVALIDPOINTER;
    if (cb == 0) return S_OK;
    if (FPosition > kMaxStreamSize - cb) return STG_E_MEDIUMFULL;
    const std::uint64_t end = FPosition + cb;
    if (end > GlobalSize(Handle())) {
      const HRESULT r = Resize(end);
      if (FAILED(r)) return r;
    }
    auto* data = static_cast<std::uint8_t*>(GlobalLock(Handle()));
    if (!data) return STG_E_WRITEFAULT;
    std::memcpy(data + FPosition, pv, cb);
    GlobalUnlock(Handle());
    FPosition = end;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override {
    std::uint64_t base;
    switch (dwOrigin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = FPosition; break;
      case STREAM_SEEK_END: base = GlobalSize(Handle()); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    std::uint64_t target;
    if (!SeekTarget(base, dlibMove.QuadPart, &target)) return STG_E_INVALIDFUNCTION;
    FPosition = target;
    if (plibNewPosition) plibNewPosition->QuadPart = FPosition;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER libNewSize) override {
    if (libNewSize.QuadPart == GlobalSize(Handle())) return S_OK;
    return Resize(libNewSize.QuadPart);
  }

  HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override {
    return CopyBetween(this, pstm, cb, pcbRead, pcbWritten);
  }
  HRESULT Commit(DWORD) override { return S_OK; }  // nothing is transacted
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

  HRESULT Stat(STATSTG* pstatstg, DWORD) override {
    if (!pstatstg) return STG_E_INVALIDPOINTER;
    *pstatstg = STATSTG{};
    pstatstg->type = STGTY_STREAM;
    pstatstg->cbSize.QuadPart = GlobalSize(Handle());
    pstatstg->grfMode = STGM_READWRITE;
    return S_OK;
  }

  HRESULT Clone(IStream** ppstm) override {
    if (!ppstm) return STG_E_INVALIDPOINTER;
    *ppstm = new (std::nothrow) THGlobalStream(FBlock, FPosition);
    return *ppstm ? S_OK : E_OUTOFMEMORY;
  }

private:
  ~THGlobalStream() override = default;

  HRESULT Resize(std::uint64_t size) {
    if (size > std::numeric_limits<size_t>::max() || size > kMaxStreamSize) return STG_E_MEDIUMFULL;
    return GlobalReAlloc(Handle(), size_t(size), GMEM_MOVEABLE) ? S_OK : STG_E_MEDIUMFULL;
  }

  std::shared_ptr<TGlobalBlock> FBlock;
  std::uint64_t FPosition;
  std::atomic<ULONG> FRefCount{1};
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL deleteOnRelease, IStream** stream) {
  if (!stream) return E_INVALIDARG;
  *stream = nullptr;
  bool ownBlock = false;
  if (!hGlobal) {
    hGlobal = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!hGlobal) return E_OUTOFMEMORY;
    ownBlock = true;
  } else {
    if (!GlobalLock(hGlobal)) return E_INVALIDARG;  // not a live block
    GlobalUnlock(hGlobal);
  }
  std::shared_ptr<TGlobalBlock> block;
  try {
    block = std::make_shared<TGlobalBlock>();
  } catch (const std::bad_alloc&) {
    if (ownBlock) GlobalFree(hGlobal);
    return E_OUTOFMEMORY;
  }
  block->Handle = hGlobal;
  block->DeleteOnRelease = deleteOnRelease != FALSE;
  *stream = new (std::nothrow) THGlobalStream(std::move(block));
  return *stream ? S_OK : E_OUTOFMEMORY;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* hGlobal) {
  if (!hGlobal) return E_INVALIDARG;
  *hGlobal = nullptr;
  auto* own = dynamic_cast<THGlobalStream*>(stream);
  if (!own) return E_INVALIDARG;
  *hGlobal = own->Handle();
  return S_OK;
}

// ---- TStreamAdapter ----------------------------------------------------------------------------

TStreamAdapter::TStreamAdapter(TStream* stream, TStreamOwnership ownership)
    : FStream(stream), FOwnership(ownership) {}

TStreamAdapter::~TStreamAdapter() {
  if (FOwnership == soOwned) delete FStream;
}

HRESULT TStreamAdapter::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsStreamInterface(riid)) return E_NOINTERFACE;
  *object = static_cast<IStream*>(this);
  AddRef();
  return S_OK;
}

ULONG TStreamAdapter::AddRef() { return ++FRefCount; }

ULONG TStreamAdapter::Release() {
  const ULONG left = --FRefCount;
  if (left == 0) delete this;
  return left;
}

HRESULT TStreamAdapter::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (pcbRead) *pcbRead = 0;
  if (!pv) return STG_E_INVALIDPOINTER;
  if (!FStream) return STG_E_READFAULT;
  try {
    const int64_t n = FStream->Read(pv, cb);
    if (pcbRead) *pcbRead = ULONG(std::clamp<int64_t>(n, 0, cb));
    return S_OK;
  } catch (...) {
    return S_FALSE;
  }
}

HRESULT TStreamAdapter::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
  if (pcbWritten) *pcbWritten = 0;
  if (!pv) return STG_E_INVALIDPOINTER;
  if (!FStream) return STG_E_CANTSAVE;
  try {
    const int64_t n = FStream->Write(pv, cb);
    if (pcbWritten) *pcbWritten = ULONG(std::clamp<int64_t>(n, 0, cb));
    return S_OK;
  } catch (...) {
    return STG_E_CANTSAVE;
  }
}

HRESULT TStreamAdapter::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) {
  if (dwOrigin > STREAM_SEEK_END || !FStream) return STG_E_INVALIDFUNCTION;
  try {
    // The target is checked here: the framework's streams differ in what they do with a
    // position before the start.
    std::uint64_t base = 0;
    if (dwOrigin == STREAM_SEEK_CUR) base = std::uint64_t(std::max<int64_t>(0, FStream->Position()));
    else if (dwOrigin == STREAM_SEEK_END) base = std::uint64_t(std::max<int64_t>(0, FStream->Size()));
    std::uint64_t target;
    if (!SeekTarget(base, dlibMove.QuadPart, &target)) return STG_E_INVALIDFUNCTION;
    const int64_t now = FStream->Seek(int64_t(target), soBeginning);
    if (now < 0) return STG_E_INVALIDFUNCTION;
    if (plibNewPosition) plibNewPosition->QuadPart = std::uint64_t(now);
    return S_OK;
  } catch (...) {
    return STG_E_INVALIDFUNCTION;
  }
}

HRESULT TStreamAdapter::SetSize(ULARGE_INTEGER libNewSize) {
  if (!FStream) return E_UNEXPECTED;
  if (libNewSize.QuadPart > kMaxStreamSize) return STG_E_MEDIUMFULL;
  try {
    FStream->SetSize(int64_t(libNewSize.QuadPart));
    return FStream->Size() == int64_t(libNewSize.QuadPart) ? S_OK : E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TStreamAdapter::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                               ULARGE_INTEGER* pcbWritten) {
  return CopyBetween(this, pstm, cb, pcbRead, pcbWritten);
}

HRESULT TStreamAdapter::Commit(DWORD) { return S_OK; }
HRESULT TStreamAdapter::Revert() { return STG_E_REVERTED; }
HRESULT TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }
HRESULT TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT TStreamAdapter::Stat(STATSTG* pstatstg, DWORD) {
  if (!pstatstg) return STG_E_INVALIDPOINTER;
  *pstatstg = STATSTG{};
  pstatstg->type = STGTY_STREAM;
  if (!FStream) return S_OK;
  try {
    pstatstg->cbSize.QuadPart = std::uint64_t(std::max<int64_t>(0, FStream->Size()));
    return S_OK;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TStreamAdapter::Clone(IStream** ppstm) {
  if (ppstm) *ppstm = nullptr;
  return E_NOTIMPL;
}
