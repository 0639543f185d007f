// VxCoreUtils system functions: path texts, folders, files, locks, the command line,
// desktop links, programs started without a shell, system errors and instances.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "label/VxCoreUtils.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/CommandLine.h"
#include "platform/win/OSError.h"
#include "platform/win/WinUser.h"

using namespace VxCoreUtils;
namespace fs = std::filesystem;

namespace {

class TempDir : public ::testing::Test {
protected:
  TempDir() {
    dir = fs::temp_directory_path() / ("lorm-vxfiles-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~TempDir() override { fs::remove_all(dir); }
  std::string P(const std::string& Name) const { return (dir / Name).string(); }
  void Write(const std::string& Name, const std::string& Data) const {
    fs::create_directories(fs::path(P(Name)).parent_path());
    std::ofstream(P(Name), std::ios::binary) << Data;
  }
  static std::string Read(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir;
};

std::vector<std::string> Items(const TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

// Runs a program with an argument vector and gives its exit status.
int RunProgram(std::vector<std::string> argv) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<char*> a;
    for (auto& s : argv) a.push_back(s.data());
    a.push_back(nullptr);
    ::execvp(a[0], a.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The system interpreter (a version manager's shim starts slowly).
const char* const PY = "/usr/bin/python3";

bool Have(const char* Program) { return RunProgram({"sh", "-c", std::string("command -v ") + Program + " >/dev/null"}) == 0; }

}  // namespace

TEST(VxCoreUtilsPaths, PathTexts) {
  EXPECT_EQ(ParentPath("D:\\a\\b"), "D:\\a\\");
  EXPECT_EQ(ParentPath("D:\\a\\b\\"), "D:\\a\\");
  EXPECT_EQ(ParentPath("/usr/lib/x"), "/usr/lib/");
  EXPECT_EQ(AddSlash2(""), "");
  EXPECT_EQ(AddSlash2("D:\\dir\\"), "D:\\dir\\");
  EXPECT_EQ(AddSlash2("/tmp"), "/tmp/");
  EXPECT_EQ(AddPath("D:\\x.txt", "E:\\p"), "D:\\x.txt");
  EXPECT_EQ(AddPath("x.txt", "E:\\p"), "E:\\p\\x.txt");
  EXPECT_EQ(AddPath("\\\\srv\\x.txt", "E:\\p"), "\\\\srv\\x.txt");
  EXPECT_EQ(AddPaths("a;b;;c", "E:\\p"), "E:\\p\\a;E:\\p\\b");
  EXPECT_EQ(FileNewExt("d.x\\name.txt", ".bak"), "d.x\\name.bak");
  EXPECT_EQ(FileNewExt("d.x\\name", ".bak"), "d.x\\name.bak");
  EXPECT_EQ(MakeValidFileName("a:b?c", "_"), "a_b_c");
  EXPECT_EQ(MakeValidFileName("<a>|", "_"), "<a>|");
  EXPECT_EQ(NormalDir("c"), "c:\\");
  EXPECT_EQ(NormalDir("c:"), "c:");
  EXPECT_EQ(NormalDir("D:\\Dir"), "D:\\Dir\\");
  EXPECT_EQ(RemoveBackSlash("D:\\"), "D:\\");
  EXPECT_EQ(RemoveBackSlash("D:\\Dir\\"), "D:\\Dir");
  EXPECT_EQ(RemoveBackSlash("\\"), "\\");
  EXPECT_EQ(ExtractFilePath2("a\\b/c"), "a\\b/");
  EXPECT_TRUE(ValidFileName("D:\\Dir\\a.txt"));
  EXPECT_FALSE(ValidFileName("a?.txt"));
  EXPECT_FALSE(ValidFileName(""));
  const std::string arg = "D:\\short\\x";
  ShortToLongPath(arg);
  EXPECT_EQ(arg, "D:\\short\\x");
}

TEST(VxCoreUtilsPaths, FileMasks) {
  struct Case {
    const char* Name;
    const char* Mask;
    bool CaseSensitive;
    bool Expected;
  } cases[] = {
      {"D:\\Docs\\Read.me", "r*.M?", false, true},  {"D:\\Docs\\Read.me", "r*.M?", true, false},
      {"a.b.txt", "*.txt", false, false},           {"readme", "*.*", false, true},
      {"/home/u/report.DOC", "*.doc", false, true}, {"abc", "a?c", false, false}, {"abc.d", "a?c.?", false, true},
      {"ab", "a?c", false, false},                  {"x", "", false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileEquMask(c.Name, c.Mask, c.CaseSensitive), c.Expected) << c.Name << " ~ " << c.Mask;
  EXPECT_FALSE(FileEquMasks("x.doc", "*.txt;;*.doc"));
  EXPECT_TRUE(FileEquMasks("x.doc", "*.txt; *.doc "));
}

TEST(VxCoreUtilsPaths, SwitchesAndParameters) {
  SetCmdLine("prog /DEBUGGER \\debug -n=5 \\m=7 \"\"");
  EXPECT_TRUE(HasSwitch("debug"));
  EXPECT_TRUE(HasParam("\\DEBUG"));
  EXPECT_EQ(Switch("n"), "=5");
  EXPECT_EQ(Switch("m"), "=7");
  EXPECT_EQ(Switch("zz"), "");
  SetCmdLine("prog \\debug");
  EXPECT_FALSE(HasSwitch("debug"));
  SetCmdLine("prog");
  EXPECT_EQ(GetParameter(), "");
}

TEST_F(TempDir, FoldersAndEntries) {
  Write("a.txt", "1");
  Write("b.doc", "2");
  Write(".hidden", "3");
  fs::create_directory(dir / "sub");
  fs::create_directory(dir / ".hsub");
  TStringList names;
  EXPECT_EQ(ReadFolder(dir.string(), "*.txt", &names), 0);
  EXPECT_EQ(Items(names), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(ReadFolders(dir.string(), &names), 0);
  names.Sort();
  EXPECT_EQ(Items(names), (std::vector<std::string>{".hsub", "sub"}));
  EXPECT_NE(ReadFolder(P("missing"), "*", &names), 0);
  EXPECT_TRUE(HasSubFolder(dir.string()));
  EXPECT_FALSE(IsEmptyFolder(dir.string()));

  fs::create_directory(dir / "h");
  Write("h/.only", "x");
  fs::create_directory(dir / "h/.hiddensub");
  EXPECT_TRUE(IsEmptyFolder(P("h")));
  EXPECT_FALSE(HasSubFolder(P("h")));

  TVxSearchRec rec;
  ASSERT_TRUE(FileGetInfo(P("A.TXT"), rec));
  EXPECT_EQ(rec.Name, "a.txt");
  EXPECT_EQ(GetLongFileName(P("A.TXT")), P("a.txt"));
  EXPECT_EQ(FindInPath("b.doc", ";" + dir.string()), "");
  EXPECT_EQ(FindInPath("b.doc", "/nonexistent;" + dir.string()), dir.string() + "/b.doc");
  EXPECT_EQ(GetUniqueFileNameInDir(dir.string(), "File%d.txt"), "File0.txt");
  Write("File0.txt", "");
  Write("File1.txt", "");
  EXPECT_EQ(GetUniqueFileNameInDir(dir.string(), "File%d.txt"), "File2.txt");
  EXPECT_TRUE(HasAttr(P("sub"), faDirectory));
  EXPECT_TRUE(HasAttr(P(".hidden"), faHidden));
  EXPECT_FALSE(HasAttr(P("a.txt"), faDirectory));
  EXPECT_GT(FileDateTime(P("a.txt")), 40000.0);
  EXPECT_EQ(FileDateTime(P("none")), NullDate);
}

TEST_F(TempDir, DeleteFilesReportsEveryFailure) {
  Write("d/a.tmp", "");
  Write("d/b.tmp", "");
  Write("d/keep.txt", "");
  fs::create_directory(dir / "d/x.tmp");  // a folder that matches is not a file to delete
  EXPECT_TRUE(DeleteFiles(P("d"), "*.tmp"));
  EXPECT_FALSE(fs::exists(dir / "d/a.tmp"));
  EXPECT_TRUE(fs::exists(dir / "d/keep.txt"));
  EXPECT_FALSE(DeleteFiles(P("d"), "*.tmp"));  // nothing matched

  if (::geteuid() != 0) {
    // One deletion fails (a folder we may not write), another succeeds: the result is false.
    Write("ro/a.tmp", "");
    Write("ro/b.tmp", "");
    Write("rw/c.tmp", "");
    ::chmod(P("ro").c_str(), 0555);
    EXPECT_FALSE(DeleteFiles(P("ro"), "a.tmp;b.tmp"));
    ::chmod(P("ro").c_str(), 0755);
  }
  Write("e1/z.tmp", "");
  EXPECT_FALSE(DeleteFilesEx({P("e1/none.tmp"), P("e1/z.tmp")}));
  EXPECT_TRUE(fs::exists(dir / "e1/z.tmp"));
  EXPECT_TRUE(DeleteFilesEx({P("e1/z.tmp")}));
  EXPECT_TRUE(DeleteFilesEx({}));
}

TEST_F(TempDir, CopyAndClearNeverFollowFolderLinks) {
  Write("outside/precious.txt", "keep me");
  Write("src/a.txt", "A");
  Write("src/sub/b.txt", "B");
  fs::create_directory_symlink(dir / "outside", dir / "src/link");
  ASSERT_TRUE(CopyDir(P("src"), P("dst")));
  EXPECT_EQ(Read(P("dst/sub/b.txt")), "B");
  EXPECT_TRUE(fs::is_symlink(dir / "dst/link"));
  EXPECT_FALSE(CopyDir(P("src"), P("dst")));  // the destination exists
  Write("dst2/a.txt", "other");
  fs::remove(dir / "dst2/a.txt");
  fs::remove(dir / "dst2");

  ASSERT_TRUE(ClearDir(P("dst")));
  EXPECT_TRUE(fs::is_empty(dir / "dst"));
  EXPECT_EQ(Read(P("outside/precious.txt")), "keep me");
  ASSERT_TRUE(DeleteDir(P("src")));
  EXPECT_FALSE(fs::exists(dir / "src"));
  EXPECT_EQ(Read(P("outside/precious.txt")), "keep me");
}

TEST_F(TempDir, TextFilesAndIniSections) {
  SaveTextFile(P("t.txt"), "one\ntwo\r\nthree");
  EXPECT_EQ(Read(P("t.txt")), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(LoadTextFile(P("t.txt")), "one\r\ntwo\r\nthree\r\n");
  EXPECT_THROW(LoadTextFile(P("none.txt")), EFOpenError);
  EXPECT_THROW(SaveTextFile(P("no/such/dir/t.txt"), "x"), EFCreateError);
  for (const auto& e : fs::directory_iterator(dir)) EXPECT_EQ(e.path().filename().string().rfind(".~VX", 0), std::string::npos);

  Write("s.ini", "[A]\nx=1\n\n; c\n[ b ]\n[b]\ny=2\n  [not]\n[C]\nz");
  TStringList lines;
  lines.Add("old");
  EXPECT_FALSE(IniReadSection(P("s.ini"), "Q", &lines));
  EXPECT_EQ(Items(lines), std::vector<std::string>{"old"});
  ASSERT_TRUE(IniReadSection(P("s.ini"), "a", &lines));
  EXPECT_EQ(Items(lines), (std::vector<std::string>{"x=1", "", "; c"}));
  ASSERT_TRUE(IniReadSection(P("s.ini"), "B", &lines));
  EXPECT_EQ(Items(lines), (std::vector<std::string>{"y=2", "  [not]"}));
  PrepareIniSection(&lines);
  lines.Clear();
  lines.Add("a");
  lines.Add("  ");
  lines.Add(" #x");
  lines.Add(";y");
  PrepareIniSection(&lines);
  EXPECT_EQ(Items(lines), std::vector<std::string>{"a"});
}

TEST_F(TempDir, TempFileNamesKeepTheirFile) {
  ::setenv("TMPDIR", dir.string().c_str(), 1);
  EXPECT_EQ(GetTempDir(), dir.string() + "/");
  const std::string a = GenTempFileName(""), b = GenTempFileName("");
  EXPECT_NE(a, b);
  EXPECT_EQ(fs::path(a).filename().string().rfind("~VX", 0), 0u);
  struct stat st;
  ASSERT_EQ(::stat(a.c_str(), &st), 0);  // kept, so no one else can take the name
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  fs::create_directory(dir / "beside");
  const std::string c = GenTempFileNameExt(P("beside/target.txt"), ".res");
  EXPECT_EQ(fs::path(c).parent_path(), dir / "beside");
  EXPECT_EQ(fs::path(c).extension(), ".res");
  EXPECT_TRUE(fs::exists(c));
  ::setenv("TMPDIR", (dir / "missing").string().c_str(), 1);
  EXPECT_EQ(GenTempFileName(""), "~VXLTemp.tmp");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(GetTempDir(), "/tmp/");
}

TEST_F(TempDir, FileLockKeepsOtherProcessesOut) {
  Write("lock.bin", std::string(100, 'x'));
  const int fd = ::open(P("lock.bin").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(FileLock(fd, int32_t{10}, int32_t{20}), 0);
  auto pyLock = [&](int start, int len) {
    return RunProgram({PY, "-c",
                "import fcntl,sys\nf=open(sys.argv[1],'r+b')\ntry:\n fcntl.lockf(f,fcntl.LOCK_EX|fcntl.LOCK_NB," +
                    std::to_string(len) + "," + std::to_string(start) + ")\nexcept OSError:\n sys.exit(3)\n",
                P("lock.bin")});
  };
  if (Have(PY)) {
    EXPECT_EQ(pyLock(15, 2), 3);  // inside the held range
    EXPECT_EQ(pyLock(40, 5), 0);  // outside it
  }
  const int fd2 = ::open(P("lock.bin").c_str(), O_RDWR);
  EXPECT_EQ(FileLock(fd2, int64_t{29}, int64_t{5}), static_cast<int>(ERROR_LOCK_VIOLATION));
  EXPECT_EQ(FileUnlock(fd, int64_t{10}, int64_t{20}), 0);
  EXPECT_EQ(FileLock(fd2, int64_t{29}, int64_t{5}), 0);
  EXPECT_NE(FileLock(fd2, int32_t{0}, int32_t{0}), 0);
  if (Have(PY)) {
    EXPECT_EQ(pyLock(15, 2), 0);
  }
  ::close(fd2);
  ::close(fd);
}

TEST_F(TempDir, DesktopLinks) {
  ::setenv("XDG_DATA_HOME", P("data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", P("config").c_str(), 1);
  ::setenv("XDG_DESKTOP_DIR", P("desk").c_str(), 1);
  Write("bin/my tool", "#!/bin/sh\n");
  ::chmod(P("bin/my tool").c_str(), 0755);
  Write("doc 100%.txt", "x");
  CreateFileLink(P("bin/my tool"), "Tool", 2);
  CreateFileLink(P("doc 100%.txt"), "Doc", 0);
  CreateFileLink(P("bin/my tool"), "Auto", 7);
  const std::string app = Read(P("data/applications/Tool.desktop"));
  EXPECT_NE(app.find("Type=Application\n"), std::string::npos);
  EXPECT_NE(app.find("Exec=\"" + P("bin/my tool") + "\"\n"), std::string::npos);
  const std::string doc = Read(P("desk/Doc.desktop"));
  EXPECT_NE(doc.find("URL=file://" + dir.string() + "/doc%20100%25.txt\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "config/autostart/Auto.desktop"));
  if (Have("desktop-file-validate")) {
    for (const char* f : {"data/applications/Tool.desktop", "desk/Doc.desktop", "config/autostart/Auto.desktop"})
      EXPECT_EQ(RunProgram({"desktop-file-validate", P(f)}), 0) << f;
  }
  EXPECT_THROW(CreateFileLink(P("x"), "../evil", 2), EOleSysError);
  EXPECT_THROW(CreateFileLink(P("x"), "a/b", 2), EOleSysError);
  EXPECT_THROW(CreateFileLink(P("x"), "Name", 3), EOleSysError);
  DeleteFileLink("Tool", 2);
  EXPECT_FALSE(fs::exists(dir / "data/applications/Tool.desktop"));
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_DESKTOP_DIR");
}

TEST_F(TempDir, ComputerAndResources) {
  EXPECT_LE(GetComputerName().size(), 15u);
  const std::string id = GetComputerID();
  EXPECT_TRUE(id == "None" || (id.size() == 8 && id.find_first_not_of("0123456789ABCDEF") == std::string::npos));
  std::string s = "unchanged";
  EXPECT_FALSE(ResSaveToString(nullptr, "RCDATA", "NO_SUCH_RESOURCE", s));
  EXPECT_EQ(s, "unchanged");
  EXPECT_FALSE(ResSaveToFile("RCDATA", "NO_SUCH_RESOURCE", false, P("r.bin")));
  EXPECT_FALSE(fs::exists(dir / "r.bin"));
  EXPECT_FALSE(LZFileExpand(P("a"), P("b")));
}

// --- programs, errors, instances -----------------------------------------------------------

TEST_F(TempDir, ExecuteAndWaitPassesArgumentsWhole) {
  const std::string target = P("a b;touch injected");
  EXPECT_EQ(ExecuteAndWait("touch \"" + target + "\"", 1), 0);
  EXPECT_TRUE(fs::exists(target));
  EXPECT_FALSE(fs::exists("injected"));
  EXPECT_EQ(ExecuteAndWait("false", 1), 1);
  EXPECT_EQ(ExecuteAndWait(P("no-such-program"), 1), -1);
  EXPECT_EQ(ExecuteAndWait("", 1), -1);
}

TEST_F(TempDir, OpenObjectHandsAnAbsolutePathToXdgOpen) {
  static std::vector<std::string> seen;
  static std::string seenDir;
  seen.clear();
  detail::SpawnHook = [](const std::vector<std::string>& argv, const std::string& d) -> int {
    seen = argv;
    seenDir = d;
    return 4242;
  };
  char cwd[4096];
  ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
  EXPECT_TRUE(OpenObject("some file.txt"));
  EXPECT_EQ(seen, (std::vector<std::string>{"xdg-open", std::string(cwd) + "/some file.txt"}));
  EXPECT_TRUE(OpenObject("https://example.org/a b"));
  EXPECT_EQ(seen.at(1), "https://example.org/a b");
  Exec("ls", "-l \"a b\"", "D:\\x");
  EXPECT_EQ(seen, (std::vector<std::string>{"ls", "-l", "a b"}));
  EXPECT_EQ(seenDir, "D:/x");
  Write("doc.txt", "");
  Exec(P("doc.txt"), "", "");
  EXPECT_EQ(seen, (std::vector<std::string>{"xdg-open", P("doc.txt")}));
  detail::SpawnHook = nullptr;
}

TEST_F(TempDir, XdgOpenReachesTheDefaultHandler) {
  if (!Have("xdg-open") || !Have("xdg-mime")) GTEST_SKIP() << "xdg-utils missing";
  // A private desktop: a stub handler for plain text that records its argument.
  const std::string out = P("received");
  Write("data/applications/stub.desktop", "[Desktop Entry]\nType=Application\nName=Stub\nExec=" + P("bin/stub") +
                                              " %f\nMimeType=text/plain;\n");
  Write("bin/stub", "#!/bin/sh\nprintf '%s' \"$1\" > '" + out + "'\n");
  ::chmod(P("bin/stub").c_str(), 0755);
  Write("config/mimeapps.list", "[Default Applications]\ntext/plain=stub.desktop\n");
  ::setenv("XDG_DATA_HOME", P("data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", P("config").c_str(), 1);
  ::setenv("XDG_DATA_DIRS", (P("data") + ":/usr/local/share:/usr/share").c_str(), 1);
  const char* de = std::getenv("XDG_CURRENT_DESKTOP");
  std::string saved = de ? de : "";
  ::unsetenv("XDG_CURRENT_DESKTOP");
  // xdg-open hands a file to the desktop's default handler only when a display is named;
  // no server needs to answer there.
  const char* disp = std::getenv("DISPLAY");
  const std::string savedDisplay = disp ? disp : "";
  if (!disp) ::setenv("DISPLAY", ":987", 1);
  Write("file with space.txt", "hello");
  ASSERT_TRUE(OpenObject(P("file with space.txt")));
  for (int i = 0; i < 200 && !fs::exists(out); ++i) ::usleep(10000);
  EXPECT_EQ(Read(out), P("file with space.txt"));
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_DATA_DIRS");
  if (!saved.empty()) ::setenv("XDG_CURRENT_DESKTOP", saved.c_str(), 1);
  if (savedDisplay.empty()) ::unsetenv("DISPLAY");
}

TEST(VxCoreUtilsProcess, PErrorAndResources) {
  SetLastError(0);
  EXPECT_NO_THROW(PError("Save"));
  SetLastError(5);
  try {
    PError("Save");
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(std::string(e.Message()).rfind("Save:System Error.  Code: 5.\r\n", 0), 0u) << e.Message();
    EXPECT_EQ(e.ErrorCode, 5u);
  }
  SetLastError(5);
  EXPECT_THROW(RaiseLastWin32(), EOSError);
  try {
    ResourceNotFound(reinterpret_cast<const char*>(101));
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(std::string(e.Message()), "Resource 101 not found");
  }
  EXPECT_THROW(ResourceNotFound("LOGO"), EResNotFound);
  SetLastError(0);
}

TEST(VxCoreUtilsProcess, EnvironmentAndIdentity) {
  ::unsetenv("LORM_NO_SUCH_VAR");
  EXPECT_EQ(GetEnvVar("LORM_NO_SUCH_VAR"), "");
  ::setenv("LORM_VAR", "v", 1);
  EXPECT_EQ(GetEnvVar("LORM_VAR"), "v");
  EXPECT_EQ(GetWindowsVersion(), "Windows NT 6.01.7601 Service Pack 1");
  EXPECT_EQ(GetShellVersion(), 0x00060001u);
  EXPECT_EQ(GetFileVersion("/usr/bin/ls"), 0u);
  EXPECT_TRUE(DiskInDrive('c'));
  EXPECT_FALSE(DiskInDrive('A'));
  EXPECT_FALSE(RunDLL32("shell32.dll", "Control_RunDLL", "", false, 1));
}

TEST_F(TempDir, FirstInstanceHoldsItsLock) {
  ::setenv("XDG_RUNTIME_DIR", dir.string().c_str(), 1);
  EXPECT_TRUE(FirstInstance("Lorm test/instance"));
  EXPECT_FALSE(FirstInstance("Lorm test/instance"));
  EXPECT_TRUE(FirstInstance("Another"));
  if (Have(PY)) {
    const std::string lock = P("lorm-instance-Lorm test_instance.lock");
    EXPECT_EQ(RunProgram({PY, "-c",
                   "import fcntl,sys\nf=open(sys.argv[1],'r+b')\ntry:\n fcntl.lockf(f,fcntl.LOCK_EX|fcntl.LOCK_NB)\nexcept OSError:\n sys.exit(3)\n",
                   lock}),
              3);
  }
  ::unsetenv("XDG_RUNTIME_DIR");
}
