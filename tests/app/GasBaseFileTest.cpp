#include "app/GasBaseFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/rtl/MessageService.h"
#include "tests/support/FifoGuard.h"

namespace fs = std::filesystem;
using namespace GasBaseMessages;

namespace {
using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void AppendInt32(Bytes& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

Bytes RecordImage(const TMyRecord& record) {
  unsigned char image[TMyRecord::ImageSize];
  record.ToImage(image);
  return Bytes(image, image + sizeof image);
}

TMyRecord Gas(const std::string& name, const std::string& formula, float density) {
  TMyRecord record;
  record.SetFields(name, formula, density, 1.05f, 26.2f, 17.1f);
  return record;
}

class GasBaseFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/lorm-gasbase-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    Dir = pattern;
  }
  void TearDown() override { fs::remove_all(Dir); }

  bool Load(const fs::path& path, TRecordList& list) {
    return LoadGasBase(path.string(), list, [this] { ++Refreshes; });
  }

  std::vector<TRecordedMessageBox> Shown() const { return Boxes.Shown(); }

  fs::path Dir;
  int Refreshes = 0;
  TMessageBoxRecorder Boxes;
};
} // namespace

TEST_F(GasBaseFileTest, SaveThenLoadReproducesEveryRecordAndTheFileByteForByte) {
  TRecordList list = {Gas("Метан", "CH4", 0.717f), Gas("Воздух", "", 1.24f),
                      Gas("Очень длинное название газовой смеси", "C10H22O12X", 123.456f)};
  const fs::path first = Dir / "a.cnv";
  ASSERT_TRUE(SaveGasBase(first.string(), list));
  const Bytes bytes = ReadAll(first);
  ASSERT_EQ(bytes.size(), 4 + 56 * list.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{3, 0, 0, 0}));

  TRecordList loaded;
  ASSERT_TRUE(Load(first, loaded));
  ASSERT_EQ(loaded.size(), list.size());
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(RecordImage(loaded[i]), RecordImage(list[i]));
  EXPECT_EQ(Refreshes, 1);

  const fs::path second = Dir / "b.cnv";
  ASSERT_TRUE(SaveGasBase(second.string(), loaded));
  EXPECT_EQ(ReadAll(second), bytes);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(GasBaseFileTest, ReadsAFileWrittenInWindows1251) {
  // "Азот" in Windows-1251, formula "N2", then the four floats.
  Bytes file;
  AppendInt32(file, 1);
  Bytes name = {0xC0, 0xE7, 0xEE, 0xF2};
  name.resize(30, 0);
  Bytes formula = {'N', '2'};
  formula.resize(10, 0);
  file.insert(file.end(), name.begin(), name.end());
  file.insert(file.end(), formula.begin(), formula.end());
  const float values[4] = {1.25f, 1.04f, 24.3f, 16.6f};
  for (float v : values) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    AppendInt32(file, static_cast<std::int32_t>(bits));
  }
  WriteAll(Dir / "n2.cnv", file);

  TRecordList list;
  ASSERT_TRUE(Load(Dir / "n2.cnv", list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].GetName(), "Азот");
  EXPECT_EQ(list[0].GetFormula(), "N2");
  EXPECT_EQ(list[0].Density(), 1.25f);
  EXPECT_EQ(list[0].Viscosity(), 16.6f);

  ASSERT_TRUE(SaveGasBase((Dir / "again.cnv").string(), list));
  EXPECT_EQ(ReadAll(Dir / "again.cnv"), file);
}

TEST_F(GasBaseFileTest, LoadedRecordsGoInFrontOfTheExistingOnes) {
  ASSERT_TRUE(SaveGasBase((Dir / "x.cnv").string(), {Gas("a", "", 1), Gas("b", "", 2)}));
  TRecordList list = {Gas("c", "", 3), Gas("d", "", 4)};
  ASSERT_TRUE(Load(Dir / "x.cnv", list));
  std::vector<std::string> names;
  for (const auto& r : list) names.push_back(r.GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(GasBaseFileTest, EmptyOrNonPositiveCountShowsFileEmptyAndChangesNothing) {
  struct Case { const char* label; Bytes contents; };
  Bytes zero, negative, shortCount = {1, 0};
  AppendInt32(zero, 0);
  AppendInt32(negative, -5);
  for (const Case& c : {Case{"empty", {}}, Case{"zero", zero}, Case{"negative", negative},
                        Case{"short count", shortCount}}) {
    SCOPED_TRACE(c.label);
    Boxes.Clear();
    Refreshes = 0;
    WriteAll(Dir / "e.cnv", c.contents);
    TRecordList list = {Gas("keep", "", 1)};
    EXPECT_TRUE(Load(Dir / "e.cnv", list));
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(Refreshes, 0);
    EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{Empty, ReadCaption, 0x30}}));
    EXPECT_EQ(ReadAll(Dir / "e.cnv"), c.contents);
  }
}

TEST_F(GasBaseFileTest, ShortFileLoadsTheWholeRecordsSilently) {
  Bytes file;
  AppendInt32(file, 3);
  for (const auto& r : {Gas("one", "", 1), Gas("two", "", 2), Gas("three", "", 3)}) {
    const Bytes image = RecordImage(r);
    file.insert(file.end(), image.begin(), image.end());
  }
  file.resize(4 + 56 * 2 + 28);
  WriteAll(Dir / "short.cnv", file);
  TRecordList list;
  EXPECT_TRUE(Load(Dir / "short.cnv", list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].GetName(), "two");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Refreshes, 1);
}

TEST_F(GasBaseFileTest, HugeAnnouncedCountReadsOnlyWhatIsThere) {
  Bytes file;
  AppendInt32(file, 0x7FFFFFFF);
  const Bytes image = RecordImage(Gas("only", "", 1));
  file.insert(file.end(), image.begin(), image.end());
  WriteAll(Dir / "huge.cnv", file);
  TRecordList list;
  EXPECT_TRUE(Load(Dir / "huge.cnv", list));
  EXPECT_EQ(list.size(), 1u);
}

TEST_F(GasBaseFileTest, TrailingBytesAfterTheAnnouncedRecordsAreIgnored) {
  Bytes file;
  AppendInt32(file, 1);
  const Bytes image = RecordImage(Gas("first", "", 1));
  file.insert(file.end(), image.begin(), image.end());
  file.insert(file.end(), image.begin(), image.end());
  WriteAll(Dir / "long.cnv", file);
  TRecordList list;
  EXPECT_TRUE(Load(Dir / "long.cnv", list));
  EXPECT_EQ(list.size(), 1u);
}

TEST_F(GasBaseFileTest, MissingFileIsCreatedEmpty) {
  TRecordList list;
  EXPECT_TRUE(Load(Dir / "converting.cnv", list));
  EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{CannotOpen, ReadCaption, 0x30},
                                                       {Empty, ReadCaption, 0x30}}));
  EXPECT_TRUE(fs::exists(Dir / "converting.cnv"));
  EXPECT_EQ(fs::file_size(Dir / "converting.cnv"), 0u);
  EXPECT_EQ(Refreshes, 0);
}

TEST_F(GasBaseFileTest, UncreatableFileReportsBothMessagesAndFails) {
  TRecordList list;
  EXPECT_FALSE(Load(Dir / "no-such-folder" / "x.cnv", list));
  EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{CannotOpen, ReadCaption, 0x30},
                                                       {CannotCreate, ReadCaption, 0x30}}));
}

TEST_F(GasBaseFileTest, ExistingFileThatCannotBeReadIsNeverEmptied) {
  fs::create_directory(Dir / "folder.cnv");
  TRecordList list;
  EXPECT_FALSE(Load(Dir / "folder.cnv", list));
  EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{CannotOpenExisting, ReadCaption, 0x30}}));
  EXPECT_TRUE(fs::is_directory(Dir / "folder.cnv"));
}

TEST_F(GasBaseFileTest, SavingAnEmptyListWritesAZeroCount) {
  ASSERT_TRUE(SaveGasBase((Dir / "empty.cnv").string(), {}));
  EXPECT_EQ(ReadAll(Dir / "empty.cnv"), (Bytes{0, 0, 0, 0}));
}

TEST_F(GasBaseFileTest, SaveIntoAMissingFolderFailsWithTheCreateMessage) {
  EXPECT_FALSE(SaveGasBase((Dir / "missing" / "x.cnv").string(), {Gas("a", "", 1)}));
  EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{CannotCreate, WriteCaption, 0x30}}));
}

TEST_F(GasBaseFileTest, FailedWriteLeavesTheOldFileIntactAndReportsTheError) {
  const fs::path path = Dir / "converting.cnv";
  ASSERT_TRUE(SaveGasBase(path.string(), {Gas("old", "", 1)}));
  const Bytes before = ReadAll(path);

  TRecordList big(20, Gas("new", "", 2));
  // Simulate a full disk: writes beyond 100 bytes fail with EFBIG.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = SaveGasBase(path.string(), big);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{WriteError, WriteCaption, 0x10}}));
  EXPECT_EQ(ReadAll(path), before);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Dir)) ++files;
  EXPECT_EQ(files, 1u) << "the temporary file must be removed";
}

// A save that reaches the file-size limit in a process that never touched SIGXFSZ (as the
// program starts) is not killed by the signal: the write fails, the temporary file goes
// and the error is shown. Run in a child, since the limit and the signal are per process.
TEST_F(GasBaseFileTest, ASaveBeyondTheFileSizeLimitFailsCleanlyInsteadOfBeingKilled) {
  const fs::path path = Dir / "converting.cnv";
  ASSERT_TRUE(SaveGasBase(path.string(), {Gas("old", "", 1)}));
  const Bytes before = ReadAll(path);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit small{};
    ::getrlimit(RLIMIT_FSIZE, &small);
    small.rlim_cur = 100;
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) ::_exit(3);
    TMessageBoxRecorder boxes;
    const bool saved = SaveGasBase(path.string(), TRecordList(20, Gas("new", "", 2)));
    const bool reported = boxes.Shown() == std::vector<TRecordedMessageBox>{{WriteError, WriteCaption, 0x10}};
    ::_exit(saved ? 1 : reported ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success, 2: no error box";
  EXPECT_EQ(ReadAll(path), before);
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(Dir)) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"converting.cnv"})) << "the temporary file must be removed";
}

TEST_F(GasBaseFileTest, SaveReplacesTheTargetOfASymbolicLinkAndKeepsTheLink) {
  const fs::path real = Dir / "real.cnv";
  ASSERT_TRUE(SaveGasBase(real.string(), {}));
  fs::create_symlink(real, Dir / "link.cnv");
  ASSERT_TRUE(SaveGasBase((Dir / "link.cnv").string(), {Gas("a", "", 1)}));
  EXPECT_TRUE(fs::is_symlink(Dir / "link.cnv"));
  EXPECT_EQ(fs::file_size(real), 60u);
}

TEST_F(GasBaseFileTest, AFifoInPlaceOfTheDatabaseIsRefusedWithoutHanging) {
  const fs::path fifo = Dir / "converting.cnv";
  ASSERT_TRUE(MakeFifo(fifo.string()));
  TRecordList list;
  bool loaded = true;
  ASSERT_TRUE(ReturnsWithoutBlocking(fifo.string(), [&] { loaded = Load(fifo, list); }));
  EXPECT_FALSE(loaded);
  EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{CannotOpenExisting, ReadCaption, 0x30}}));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// Records come in bounded chunks: more records than one chunk holds, under a count far
// beyond them, all arrive in file order in front of the records already there.
TEST_F(GasBaseFileTest, ManyRecordsUnderAHugeCountLoadInOrderAcrossChunks) {
  const int n = 9000;
  Bytes file;
  AppendInt32(file, 0x7FFFFFFF);
  for (int i = 0; i < n; ++i) {
    const Bytes image = RecordImage(Gas("g" + std::to_string(i), "", float(i)));
    file.insert(file.end(), image.begin(), image.end());
  }
  file.resize(file.size() + 30);  // and a partial record at the end
  WriteAll(Dir / "many.cnv", file);
  TRecordList list{Gas("kept", "", 1)};
  EXPECT_TRUE(Load(Dir / "many.cnv", list));
  ASSERT_EQ(list.size(), std::size_t(n) + 1);
  for (int i : {0, 1, 4095, 4096, 4097, 8191, 8192, n - 1}) EXPECT_EQ(list[i].GetName(), "g" + std::to_string(i));
  EXPECT_EQ(list.back().GetName(), "kept");
  EXPECT_LT(list.capacity(), 4 * list.size());
  EXPECT_TRUE(Shown().empty());
}

// The count is believed only as far as the file's bytes go, and the list never grows
// beyond what the program can hold: a sparse 2 GiB file announcing 2147483647 records
// loads up to the ceiling and reports the read error, keeping the records read so far
// and those the list already held.
TEST_F(GasBaseFileTest, RecordsBeyondTheFilesBytesOrTheCeilingAreNotRead) {
  const std::int64_t ceiling = std::int64_t(MaxGasRecords);
  const struct Case {
    const char* name;
    std::int32_t count;
    std::int64_t fileSize;
    std::size_t kept;    // records in the list before loading
    std::size_t loaded;  // records expected from the file
    bool error;
  } cases[] = {
      {"sparse 2 GiB, huge count", 0x7FFFFFFF, std::int64_t(2) << 30, 0, MaxGasRecords, true},
      {"sparse 2 GiB, list not empty", 0x7FFFFFFF, std::int64_t(2) << 30, 2, MaxGasRecords - 2, true},
      {"one record over the ceiling", std::int32_t(ceiling + 1), 4 + 56 * (ceiling + 1), 0, MaxGasRecords, true},
      {"exactly the ceiling", std::int32_t(ceiling), 4 + 56 * ceiling, 0, MaxGasRecords, false},
      {"count beyond the bytes", 5000000, 4 + 56 * 2000 + 17, 1, 2000, false},
      {"full list", 3, 4 + 56 * 3, MaxGasRecords, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = Dir / "sparse.cnv";
    Bytes head;
    AppendInt32(head, c.count);
    const Bytes first = RecordImage(Gas("first", "", 1));
    head.insert(head.end(), first.begin(), first.end());
    WriteAll(path, head);
    ASSERT_EQ(::truncate(path.c_str(), c.fileSize), 0);

    TRecordList list(c.kept, Gas("kept", "", 2));
    Boxes.Clear();
    Refreshes = 0;
    EXPECT_TRUE(Load(path, list));
    ASSERT_EQ(list.size(), c.kept + c.loaded);
    EXPECT_LE(list.capacity(), std::max<std::size_t>(MaxGasRecords, c.kept + 1));
    if (c.loaded) {
      EXPECT_EQ(list.front().GetName(), "first");
      EXPECT_EQ(list[c.loaded - 1].GetName(), c.loaded > 1 ? "" : "first");
    }
    if (c.kept) EXPECT_EQ(list.back().GetName(), "kept");
    if (c.error) EXPECT_EQ(Shown(), (std::vector<TRecordedMessageBox>{{ReadError, ReadCaption, 0x10}}));
    else EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Refreshes, 1);
  }
}

// A save killed part-way leaves its temporary behind; the next save removes such
// temporaries, but not the one of a save still running (it holds a lock), nor other files.
TEST_F(GasBaseFileTest, ASaveRemovesTemporariesThatKilledSavesLeftBehind) {
  WriteAll(Dir / ".converting-Ab3xY9", Bytes{1, 2, 3});
  WriteAll(Dir / ".converting-running", Bytes{});  // not a name mkstemp makes
  char running[64];
  std::snprintf(running, sizeof running, "%s/.converting-XXXXXX", Dir.c_str());
  const int held = ::mkstemp(running);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  WriteAll(Dir / "notes.txt", Bytes{1});

  ASSERT_TRUE(SaveGasBase((Dir / "converting.cnv").string(), {Gas("a", "", 1)}));
  ::close(held);
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(Dir)) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"converting.cnv", ".converting-running", "notes.txt",
                                          fs::path(running).filename().string()}));
}
