// Streams on global memory blocks and over framework streams: positions, sizes, the
// block's handle and lifetime, clones, reference counts, and errors as result codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/win/ComStream.h"

namespace {

// Releases at the end of a test.
struct Ref {
  IStream* p = nullptr;
  ~Ref() {
    if (p) p->Release();
  }
  IStream* operator->() const { return p; }
};

std::string ReadAll(IStream* s) {
  EXPECT_EQ(s->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr), S_OK);
  std::string out;
  char buf[7];
  ULONG got = 0;
  while (s->Read(buf, sizeof buf, &got) == S_OK && got > 0) out.append(buf, got);
  return out;
}

HRESULT WriteText(IStream* s, const std::string& text, ULONG* written = nullptr) {
  return s->Write(text.data(), ULONG(text.size()), written);
}

std::string BlockText(HGLOBAL h) {
  auto* p = static_cast<const char*>(GlobalLock(h));
  std::string s = p ? std::string(p, GlobalSize(h)) : std::string();
  GlobalUnlock(h);
  return s;
}

TEST(ComStream, HGlobalStreamReadsWritesSeeksAndGrowsItsBlock) {
  Ref s;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s.p), S_OK);
  ULONG n = 0;
  EXPECT_EQ(WriteText(s.p, "hello", &n), S_OK);
  EXPECT_EQ(n, 5u);
  ULARGE_INTEGER pos;
  EXPECT_EQ(s->Seek(LARGE_INTEGER{-2}, STREAM_SEEK_CUR, &pos), S_OK);
  EXPECT_EQ(pos.QuadPart, 3u);
  char buf[8] = {};
  EXPECT_EQ(s->Read(buf, 8, &n), S_OK);  // a short read at the end is success
  EXPECT_EQ(std::string(buf, n), "lo");
  EXPECT_EQ(s->Read(buf, 8, &n), S_OK);
  EXPECT_EQ(n, 0u);

  // Past the end: the gap fills with zeros and the block follows the stream's size.
  EXPECT_EQ(s->Seek(LARGE_INTEGER{3}, STREAM_SEEK_END, nullptr), S_OK);
  EXPECT_EQ(WriteText(s.p, "!"), S_OK);
  HGLOBAL h = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(s.p, &h), S_OK);
  EXPECT_EQ(BlockText(h), std::string("hello\0\0\0!", 9));
  STATSTG st;
  EXPECT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(st.type, DWORD(STGTY_STREAM));
  EXPECT_EQ(st.cbSize.QuadPart, 9u);
  EXPECT_EQ(st.pwcsName, nullptr);

  // SetSize cuts or extends and leaves the position alone.
  EXPECT_EQ(s->SetSize(ULARGE_INTEGER{4}), S_OK);
  EXPECT_EQ(s->Seek(LARGE_INTEGER{0}, STREAM_SEEK_CUR, &pos), S_OK);
  EXPECT_EQ(pos.QuadPart, 9u);
  EXPECT_EQ(GlobalSize(h), 4u);
  EXPECT_EQ(ReadAll(s.p), "hell");
  EXPECT_EQ(s->SetSize(ULARGE_INTEGER{6}), S_OK);
  EXPECT_EQ(ReadAll(s.p), std::string("hell\0\0", 6));
}

TEST(ComStream, SeekRefusesPositionsBeforeTheStartAndUnknownOrigins) {
  Ref s;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s.p), S_OK);
  WriteText(s.p, "0123456789");
  struct Case {
    std::int64_t move;
    DWORD origin;
    HRESULT result;
    std::uint64_t position;  // afterwards (the old one stays after a refusal)
  };
  const Case cases[] = {
      {4, STREAM_SEEK_SET, S_OK, 4},
      {-4, STREAM_SEEK_CUR, S_OK, 0},
      {-1, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 0},
      {-10, STREAM_SEEK_END, S_OK, 0},
      {-11, STREAM_SEEK_END, STG_E_INVALIDFUNCTION, 0},
      {INT64_MIN, STREAM_SEEK_END, STG_E_INVALIDFUNCTION, 0},
      {100, STREAM_SEEK_END, S_OK, 110},
      {INT64_MAX, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 110},
      {1, 3, STG_E_INVALIDFUNCTION, 110},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.move << " from " << c.origin);
    EXPECT_EQ(s->Seek(LARGE_INTEGER{c.move}, c.origin, nullptr), c.result);
    ULARGE_INTEGER pos;
    ASSERT_EQ(s->Seek(LARGE_INTEGER{0}, STREAM_SEEK_CUR, &pos), S_OK);
    EXPECT_EQ(pos.QuadPart, c.position);
  }
  STATSTG st;
  s->Stat(&st, STATFLAG_DEFAULT);
  EXPECT_EQ(st.cbSize.QuadPart, 10u);  // seeking alone never grows the stream
}

TEST(ComStream, AnExistingBlockKeepsItsHandleAndLivesAsAsked) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(h), "abc", 3);
  GlobalUnlock(h);
  {
    Ref s;
    ASSERT_EQ(CreateStreamOnHGlobal(h, FALSE, &s.p), S_OK);
    EXPECT_EQ(ReadAll(s.p), "abc");  // the block's contents are the stream's
    EXPECT_EQ(WriteText(s.p, "defgh"), S_OK);
    HGLOBAL got = nullptr;
    EXPECT_EQ(GetHGlobalFromStream(s.p, &got), S_OK);
    EXPECT_EQ(got, h);  // resized in place
    EXPECT_EQ(BlockText(h), "abcdefgh");
  }
  EXPECT_EQ(BlockText(h), "abcdefgh");  // not the stream's to free
  {
    Ref s;
    ASSERT_EQ(CreateStreamOnHGlobal(h, TRUE, &s.p), S_OK);
  }
  EXPECT_EQ(GlobalLock(h), nullptr);  // freed with the stream
  Ref none;
  EXPECT_EQ(CreateStreamOnHGlobal(h, TRUE, &none.p), E_INVALIDARG);  // no block any more
  EXPECT_EQ(none.p, nullptr);
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
}

TEST(ComStream, ClonesShareTheBlockWithTheirOwnPositions) {
  IStream* s = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
  WriteText(s, "abcdef");
  s->Seek(LARGE_INTEGER{2}, STREAM_SEEK_SET, nullptr);
  IStream* c = nullptr;
  ASSERT_EQ(s->Clone(&c), S_OK);
  char buf[2];
  ULONG n;
  c->Read(buf, 2, &n);
  EXPECT_EQ(std::string(buf, n), "cd");  // the clone starts where the original stood
  s->Read(buf, 1, &n);
  EXPECT_EQ(buf[0], 'c');  // and the original did not move
  HGLOBAL h = nullptr;
  GetHGlobalFromStream(c, &h);
  s->Release();
  WriteText(c, "XY");  // the block outlives the original while the clone lives
  EXPECT_EQ(BlockText(h), "abcdXY");
  EXPECT_EQ(c->Release(), 0u);
  EXPECT_EQ(GlobalLock(h), nullptr);
}

TEST(ComStream, ALockedBlockDoesNotMoveUnderItsHolder) {
  Ref s;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s.p), S_OK);
  WriteText(s.p, "abcd");
  HGLOBAL h = nullptr;
  GetHGlobalFromStream(s.p, &h);
  const void* held = GlobalLock(h);
  ULONG n = 99;
  EXPECT_EQ(WriteText(s.p, "more", &n), STG_E_MEDIUMFULL);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(s->SetSize(ULARGE_INTEGER{100}), STG_E_MEDIUMFULL);
  s->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(WriteText(s.p, "AB"), S_OK);  // within the block: no move needed
  EXPECT_EQ(std::string(static_cast<const char*>(held), 4), "ABcd");
  GlobalUnlock(h);
  s->Seek(LARGE_INTEGER{0}, STREAM_SEEK_END, nullptr);
  EXPECT_EQ(WriteText(s.p, "ef"), S_OK);
  EXPECT_EQ(BlockText(h), "ABcdef");
}

TEST(ComStream, InterfacesAndReferenceCounts) {
  IStream* s = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
  for (const IID* iid : {&IID_IUnknown, &IID_ISequentialStream, &IID_IStream}) {
    void* p = nullptr;
    EXPECT_EQ(s->QueryInterface(*iid, &p), S_OK);
    EXPECT_EQ(p, static_cast<void*>(s));
  }
  void* p = reinterpret_cast<void*>(1);
  const IID other = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  EXPECT_EQ(s->QueryInterface(other, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(s->QueryInterface(IID_IStream, nullptr), E_POINTER);
  EXPECT_EQ(s->AddRef(), 5u);  // one at creation, three from QueryInterface
  for (ULONG left = 4; left > 0; --left) EXPECT_EQ(s->Release(), left);
  EXPECT_EQ(s->Release(), 0u);
}

TEST(ComStream, NullBuffersAndForeignStreamsAreRefused) {
  Ref s;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s.p), S_OK);
  ULONG n = 7;
  EXPECT_EQ(s->Read(nullptr, 4, &n), STG_E_INVALIDPOINTER);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(s->Write(nullptr, 4, nullptr), STG_E_INVALIDPOINTER);
  EXPECT_EQ(s->Stat(nullptr, 0), STG_E_INVALIDPOINTER);
  EXPECT_EQ(s->Clone(nullptr), STG_E_INVALIDPOINTER);
  TMemoryStream memory;
  IStream* adapter = new TStreamAdapter(&memory);
  HGLOBAL h = reinterpret_cast<HGLOBAL>(1);
  EXPECT_EQ(GetHGlobalFromStream(adapter, &h), E_INVALIDARG);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(GetHGlobalFromStream(nullptr, &h), E_INVALIDARG);
  adapter->Release();
}

TEST(ComStream, GlobalReAllocResizesInPlaceUnlessLocked) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 2);
  std::memcpy(GlobalLock(h), "ab", 2);
  EXPECT_EQ(GlobalReAlloc(h, 10, GMEM_MOVEABLE), nullptr);  // locked
  GlobalUnlock(h);
  EXPECT_EQ(GlobalReAlloc(h, 4, GMEM_MOVEABLE), h);
  EXPECT_EQ(BlockText(h), std::string("ab\0\0", 4));
  EXPECT_EQ(GlobalReAlloc(h, size_t(-1), GMEM_MOVEABLE), nullptr);  // cannot be had
  EXPECT_EQ(GlobalSize(h), 4u);
  GlobalFree(h);
  EXPECT_EQ(GlobalReAlloc(h, 4, GMEM_MOVEABLE), nullptr);  // no block
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, size_t(-1)), nullptr);
}

// A framework stream that records its end and can be told to fail.
class ProbeStream : public TMemoryStream {
public:
  explicit ProbeStream(bool* gone) : FGone(gone) {}
  ~ProbeStream() override { *FGone = true; }
  int64_t Read(void* b, int64_t n) override {
    if (Fail) throw EReadError("Stream read error");
    return TMemoryStream::Read(b, n);
  }
  int64_t Write(const void* b, int64_t n) override {
    if (Fail) throw EWriteError("Stream write error");
    return TMemoryStream::Write(b, n);
  }
  void SetSize(int64_t n) override {
    if (Fail) throw EStreamError("no");
    TMemoryStream::SetSize(n);
  }
  bool Fail = false;

private:
  bool* FGone;
};

TEST(ComStream, AdapterWorksOnTheFrameworkStream) {
  TMemoryStream memory;
  memory.WriteString("abcdef");
  memory.SetPosition(1);
  IStream* s = new TStreamAdapter(&memory);
  char buf[3];
  ULONG n = 0;
  EXPECT_EQ(s->Read(buf, 3, &n), S_OK);  // from the framework stream's position
  EXPECT_EQ(std::string(buf, n), "bcd");
  ULARGE_INTEGER pos;
  EXPECT_EQ(s->Seek(LARGE_INTEGER{-1}, STREAM_SEEK_END, &pos), S_OK);
  EXPECT_EQ(pos.QuadPart, 5u);
  EXPECT_EQ(s->Seek(LARGE_INTEGER{-6}, STREAM_SEEK_CUR, nullptr), STG_E_INVALIDFUNCTION);
  EXPECT_EQ(memory.Position(), 5);
  EXPECT_EQ(WriteText(s, "XY", &n), S_OK);
  EXPECT_EQ(memory.DataString(), "abcdeXY");
  EXPECT_EQ(s->SetSize(ULARGE_INTEGER{3}), S_OK);
  STATSTG st;
  EXPECT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(st.cbSize.QuadPart, 3u);
  EXPECT_EQ(st.type, DWORD(STGTY_STREAM));
  EXPECT_EQ(s->Commit(STGC_DEFAULT), S_OK);
  EXPECT_EQ(s->Revert(), STG_E_REVERTED);
  EXPECT_EQ(s->LockRegion(ULARGE_INTEGER{0}, ULARGE_INTEGER{1}, LOCK_WRITE), STG_E_INVALIDFUNCTION);
  IStream* clone = reinterpret_cast<IStream*>(1);
  EXPECT_EQ(s->Clone(&clone), E_NOTIMPL);
  EXPECT_EQ(clone, nullptr);
  EXPECT_EQ(s->Release(), 0u);
  EXPECT_EQ(memory.DataString(), "abc");  // a referenced stream stays the caller's
}

TEST(ComStream, AdapterOwnsAStreamWhenToldAndTurnsErrorsIntoResults) {
  bool gone = false;
  auto* probe = new ProbeStream(&gone);
  probe->WriteString("abc");
  probe->Fail = true;
  IStream* s = new TStreamAdapter(probe, soOwned);
  char buf[2];
  ULONG n = 9;
  EXPECT_EQ(s->Read(buf, 2, &n), S_FALSE);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(WriteText(s, "x", &n), STG_E_CANTSAVE);
  EXPECT_EQ(s->SetSize(ULARGE_INTEGER{1}), E_UNEXPECTED);
  s->AddRef();
  s->Release();
  EXPECT_FALSE(gone);
  s->Release();
  EXPECT_TRUE(gone);
}

TEST(ComStream, CopyToMovesBytesBetweenStreams) {
  Ref from;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &from.p), S_OK);
  std::string big(40000, 'a');
  big[39999] = 'z';
  WriteText(from.p, big);
  from->Seek(LARGE_INTEGER{10}, STREAM_SEEK_SET, nullptr);
  TMemoryStream target;
  IStream* to = new TStreamAdapter(&target);
  ULARGE_INTEGER read, written;
  EXPECT_EQ(from->CopyTo(to, ULARGE_INTEGER{1u << 20}, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 39990u);  // as much as there was
  EXPECT_EQ(written.QuadPart, 39990u);
  EXPECT_EQ(target.DataString(), big.substr(10));
  EXPECT_EQ(from->CopyTo(nullptr, ULARGE_INTEGER{1}, &read, nullptr), STG_E_INVALIDPOINTER);
  to->Release();
}

}  // namespace
