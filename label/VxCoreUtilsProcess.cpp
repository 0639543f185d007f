// VxCoreUtils: starting programs and documents (always with an argument vector, never
// through a shell), system errors, the environment, single instances and small window
// operations on our own windows.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "label/VxCoreUtils.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/Backend.h"
#include "platform/win/OSError.h"
#include "platform/win/WinUser.h"

extern char** environ;

namespace VxCoreUtils {

namespace detail {
TSpawnHook SpawnHook = nullptr;
}

namespace {

// Starts Argv[0] (looked up in PATH) with the arguments in Dir (empty: ours); the child's
// id, or -1 with the last error set.
pid_t Spawn(const std::vector<std::string>& Argv, const std::string& Dir) {
  if (Argv.empty() || Argv[0].empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return -1;
  }
  if (detail::SpawnHook) return detail::SpawnHook(Argv, Dir);
  std::vector<char*> argv;
  for (const std::string& a : Argv) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!Dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, Dir.c_str());
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    SetLastErrorFromErrno(rc);
    return -1;
  }
  return pid;
}

// Reaps a child we do not wait for, so it leaves no zombie behind.
void ReapLater(pid_t Pid) {
  if (Pid <= 0 || detail::SpawnHook) return;
  std::thread([Pid] {
    int status;
    while (::waitpid(Pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

std::string Absolute(const std::string& Path) {
  std::string p = Path;
  for (char& c : p)
    if (c == '\\') c = '/';
  if (!p.empty() && p[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd)) p = std::string(cwd) + "/" + p;
  }
  return p;
}

bool IsUrl(const std::string& S) {
  const std::size_t c = S.find(':');
  if (c == std::string::npos || c < 2) return false;
  for (std::size_t i = 0; i < c; ++i)
    if (!std::isalnum(static_cast<unsigned char>(S[i])) && !std::strchr("+-.", S[i])) return false;
  return true;
}

bool IsProgram(const std::string& Name) {
  if (Name.find('/') != std::string::npos || Name.find('\\') != std::string::npos) {
    const std::string p = Absolute(Name);
    return ::access(p.c_str(), X_OK) == 0 && !HasAttr(p, faDirectory);
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (std::size_t b = 0; b <= dirs.size();) {
    std::size_t e = dirs.find(':', b);
    if (e == std::string::npos) e = dirs.size();
    const std::string cand = dirs.substr(b, e - b) + "/" + Name;
    if (e > b && ::access(cand.c_str(), X_OK) == 0 && !HasAttr(cand, faDirectory)) return true;
    b = e + 1;
  }
  return false;
}

}  // namespace

bool OpenObject(const std::string& Value) {
  if (Value.empty()) return false;
  const std::string target = IsUrl(Value) ? Value : Absolute(Value);
  const pid_t pid = Spawn({"xdg-open", target}, "");
  ReapLater(pid);
  return pid > 0;
}

void Exec(const std::string& FileName, const std::string& Parameters, const std::string& Directory) {
  std::vector<std::string> argv;
  if (!IsUrl(FileName) && IsProgram(FileName)) {
    argv.push_back(FileName.find('/') != std::string::npos ? Absolute(FileName) : FileName);
    std::vector<std::string> params = SplitCmdLineText("x " + Parameters);
    argv.insert(argv.end(), params.begin() + 1, params.end());
  } else {
    argv = {"xdg-open", IsUrl(FileName) ? FileName : Absolute(FileName)};
  }
  std::string dir = Directory;
  for (char& c : dir)
    if (c == '\\') c = '/';
  ReapLater(Spawn(argv, dir));
}

int ExecuteAndWait(const std::string& FileName, int) {
  const std::vector<std::string> argv = SplitCmdLineText(FileName);
  const pid_t pid = Spawn(argv, "");
  if (pid <= 0) return -1;
  if (detail::SpawnHook) return 0;
  // The user interface keeps running while the program does: messages and timers are
  // handled between short sleeps.
  int status = 0;
  for (;;) {
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) return -1;
    ProcessPendingMessages();
    ::usleep(2000);
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

bool RunDLL32(const std::string&, const std::string&, const std::string&, bool, int) { return false; }

void PError(const std::string& Text) {
  const DWORD code = GetLastError();
  if (code == 0) return;
  std::string msg = Format("System Error.  Code: %d.\r\n%s", {static_cast<int>(code), SysErrorMessage(code)});
  if (!Text.empty()) msg = Text + ":" + msg;
  throw EOSError(msg, code);
}

void RaiseLastWin32(const std::string& Text) { PError(Text); }

void ResourceNotFound(const char* Id) {
  const uintptr_t v = reinterpret_cast<uintptr_t>(Id);
  const std::string name = (v >> 16) == 0 ? std::to_string(v & 0xFFFF) : std::string(Id);
  throw EResNotFound(Format("Resource %s not found", {name}));
}

std::string GetEnvVar(const std::string& Name) {
  const char* v = std::getenv(Name.c_str());
  return v ? std::string(v).substr(0, 16383) : std::string();
}

std::string GetWindowsVersion() { return "Windows NT 6.01.7601 Service Pack 1"; }

uint32_t GetFileVersion(const std::string& FileName) {
  // Files of the stand-in system folders, or a bare library name, carry the system's
  // identity (6.1); other files have no version information here.
  std::string name = FileName, dir;
  const std::size_t p = name.find_last_of("\\/");
  if (p != std::string::npos) {
    dir = name.substr(0, p);
    name = name.substr(p + 1);
  }
  std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : std::string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool systemDir = dir.empty() || Cmp(dir, GetSystemDir()) || Cmp(dir, GetWindowsDir());
  if (systemDir && (ext == ".dll" || ext == ".exe")) return 0x00060001u;
  return 0;
}

uint32_t GetShellVersion() {
  static uint32_t cached = 0;
  if (cached == 0) cached = GetFileVersion("shell32.dll");
  return cached;
}

bool DiskInDrive(char Drive) { return Drive == 'C' || Drive == 'c'; }

bool FirstInstance(const std::string& Title) {
  std::string dir = GetEnvVar("XDG_RUNTIME_DIR");
  if (dir.empty()) dir = GetTempDir();
  if (dir.back() != '/') dir += '/';
  const std::string file = dir + "lorm-instance-" + MakeValidFileName(Title, "_") + ".lock";
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct flock fl{};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &fl) != 0) {
    ::close(fd);
    return false;
  }
  return true;  // the descriptor, and with it the lock, stays open for the process's life
}

void CenterWindow(HWND Wnd) {
  RECT r{};
  if (!GetWindowRect(Wnd, &r)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  SetWindowPos(Wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KillMessage(HWND Wnd, UINT Msg) {
  MSG m{};
  if (PeekMessage(&m, Wnd, Msg, Msg, PM_REMOVE) && m.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(m.wParam));
}

void SetWindowTop(HWND Wnd, bool Top) {
  SetWindowPos(Wnd, Top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string WindowClassName(HWND Wnd) {
  char buf[256] = {};
  GetClassName(Wnd, buf, sizeof buf);
  return buf;
}

void ShowWinNoAnimate(HWND Handle, int Show) { ShowWindow(Handle, Show); }

void ActivateWindow(HWND Wnd) {
  if (!Wnd) return;
  ShowWinNoAnimate(Wnd, SW_SHOW);
  SetForegroundWindow(Wnd);
}

void GetVisibleWindows(TStrings* List) {
  List->BeginUpdate();
  struct EndUpdate {
    TStrings* L;
    ~EndUpdate() { L->EndUpdate(); }
  } guard{List};
  List->Clear();
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        char buf[257] = {};
        if (IsWindowVisible(w) && GetWindowText(w, buf, sizeof buf) > 0)
          reinterpret_cast<TStrings*>(p)->AddObject(buf, reinterpret_cast<TObject*>(w));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(List));
}

}  // namespace VxCoreUtils
