// Files named by the user or an attacker: a FIFO, folder or device in place of a file is
// refused without blocking, and no reader loads more than the cap.
#include "platform/rtl/FileRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "tests/support/FifoGuard.h"

namespace fs = std::filesystem;

namespace {

class FileReadTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/lorm-fileread-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    Dir = pattern;
    ASSERT_TRUE(MakeFifo((Dir / "fifo").string()));
    fs::create_directory(Dir / "folder");
    std::ofstream(Dir / "text.txt") << "one\ntwo\n";
  }
  void TearDown() override { fs::remove_all(Dir); }
  std::string Path(const char* name) const { return (Dir / name).string(); }

  fs::path Dir;
};

TEST_F(FileReadTest, ReadsRegularFilesAndRefusesEverythingElse) {
  struct Case {
    std::string path;
    std::int64_t max;
    TReadFileResult result;
    std::size_t size;
  };
  const Case cases[] = {
      {Path("text.txt"), MaxLoadedFileSize, TReadFileResult::Ok, 8},
      {Path("text.txt"), 8, TReadFileResult::Ok, 8},
      {Path("text.txt"), 7, TReadFileResult::TooLarge, 0},
      {Path("missing"), MaxLoadedFileSize, TReadFileResult::NotFound, 0},
      {Path("folder"), MaxLoadedFileSize, TReadFileResult::NotRegular, 0},
      {Path("fifo"), MaxLoadedFileSize, TReadFileResult::NotRegular, 0},
      {"/dev/zero", MaxLoadedFileSize, TReadFileResult::NotRegular, 0},
      {"/dev/null", MaxLoadedFileSize, TReadFileResult::NotRegular, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes{1, 2, 3};
    TReadFileResult result = TReadFileResult::ReadFailed;
    ASSERT_TRUE(ReturnsWithoutBlocking(Path("fifo"), [&] { result = ReadFileBytes(c.path, bytes, c.max); }))
        << c.path;
    EXPECT_EQ(result, c.result) << c.path;
    EXPECT_EQ(bytes.size(), c.size) << c.path;
  }
}

TEST_F(FileReadTest, TheOpenNeverBlocksAndReportsWhyItRefuses) {
  int error = 0;
  ASSERT_TRUE(ReturnsWithoutBlocking(Path("fifo"), [&] {
    EXPECT_EQ(OpenFileForReading(Path("fifo")), -1);
    error = errno;
  }));
  EXPECT_EQ(error, EINVAL);
  EXPECT_EQ(OpenFileForReading(Path("folder")), -1);
  EXPECT_EQ(errno, EISDIR);
  const int fd = OpenFileForReading(Path("text.txt"));
  ASSERT_GE(fd, 0);
  char buf[16];
  EXPECT_EQ(::read(fd, buf, sizeof buf), 8);
  ::close(fd);
}

// Every reader of the framework goes through the one open.
TEST_F(FileReadTest, LoadFromFileRefusesAFifoWithoutBlocking) {
  const std::string fifo = Path("fifo");
  const std::function<void()> readers[] = {
      [&] { TStringList().LoadFromFile(fifo); },
      [&] { TMemoryStream().LoadFromFile(fifo); },
      [&] { TFileStream(fifo, fmOpenRead); },
  };
  for (const auto& read : readers) {
    bool refused = false;
    ASSERT_TRUE(ReturnsWithoutBlocking(fifo, [&] {
      try {
        read();
      } catch (const EFOpenError& e) {
        refused = std::string(e.what()).find("Not a regular file") != std::string::npos;
      }
    }));
    EXPECT_TRUE(refused);
  }
  TStringList lines;
  lines.LoadFromFile(Path("text.txt"));
  EXPECT_EQ(lines.Count(), 2);
}

// A (sparse) file beyond the cap is refused before anything is read into memory.
TEST_F(FileReadTest, FilesBeyondTheCapAreRefused) {
  const std::string big = Path("big.bin");
  std::ofstream(big).close();
  fs::resize_file(big, std::uintmax_t(MaxLoadedFileSize) + 1);
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(ReadFileBytes(big, bytes), TReadFileResult::TooLarge);
  EXPECT_TRUE(bytes.empty());
  EXPECT_THROW(TStringList().LoadFromFile(big), EReadError);
  EXPECT_THROW(TMemoryStream().LoadFromFile(big), EReadError);
  fs::resize_file(big, 3);
  EXPECT_EQ(ReadFileBytes(big, bytes), TReadFileResult::Ok);
  EXPECT_EQ(bytes.size(), 3u);
}

}  // namespace
