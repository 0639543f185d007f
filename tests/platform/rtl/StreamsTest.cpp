#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Streams.h"

namespace {

TEST(StreamsTest, MemoryStreamReadsWritesAndSeeks) {
  TMemoryStream s;
  s.WriteInt32(0x01020304);
  s.WriteString("abc");
  EXPECT_EQ(s.Size(), 7);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadInt32(), 0x01020304);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 3);  // short read at the end
  EXPECT_STREQ(buf, "abc");
  s.Seek(-2, soEnd);
  EXPECT_EQ(s.ReadByte(), 'b');
  s.SetPosition(10);
  s.WriteByte('z');  // writing past the end fills the gap with zeros
  EXPECT_EQ(s.Size(), 11);
  EXPECT_EQ(s.Data()[8], 0);
  EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
}

TEST(StreamsTest, BufferCallsRaiseOnShortTransfers) {
  TStringStream s("ab");
  char buf[4];
  try {
    s.ReadBuffer(buf, 3);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
}

TEST(StreamsTest, CopyFromWholeAndPart) {
  TStringStream src("0123456789"), dst;
  src.SetPosition(5);
  EXPECT_EQ(dst.CopyFrom(src, 3), 3);
  EXPECT_EQ(dst.DataString(), "567");
  TStringStream all;
  EXPECT_EQ(all.CopyFrom(src, 0), 10);  // zero copies the whole source from its start
  EXPECT_EQ(all.DataString(), "0123456789");
}

TEST(StreamsTest, FileStreamModesAndErrors) {
  std::string path = ::testing::TempDir() + "streams_test.bin";
  {
    TFileStream f(path, fmCreate);
    f.WriteString("hello world");
  }
  {
    TFileStream f(path, fmOpenReadWrite | fmShareDenyNone);
    EXPECT_EQ(f.Size(), 11);
    f.Seek(6, soBeginning);
    f.WriteString("there");
    f.SetSize(8);
  }
  {
    TFileStream f(path, fmOpenRead);
    std::string data(8, '\0');
    f.ReadBuffer(data.data(), 8);
    EXPECT_EQ(data, "hello th");
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
  }
  try {
    TFileStream f(path + ".none", fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot open file \"" + path + ".none\". ", 0), 0u) << e.Message();
  }
  try {
    TFileStream f(::testing::TempDir() + "no/such/dir/x.bin", fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"", 0), 0u);
  }
}

}  // namespace
