// VxCoreUtils: path texts, folders, files, locks, the command line, the computer's
// identity, resources and desktop links.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>

#include "label/VxCoreUtils.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/OSError.h"

namespace VxCoreUtils {

namespace {

bool IsSep(char C) { return C == '\\' || C == '/'; }

// The separator a path text uses: "/" when it has "/" and no "\", else "\".
char SepOf(const std::string& S) {
  return S.find('/') != std::string::npos && S.find('\\') == std::string::npos ? '/' : '\\';
}

std::size_t LastSep(const std::string& S) { return S.find_last_of("\\/"); }

// The file-system form of a path text: "\" read as "/".
std::string Posix(const std::string& S) {
  std::string r = S;
  for (char& c : r)
    if (c == '\\') c = '/';
  return r;
}

bool LStat(const std::string& Path, struct stat& St) { return ::lstat(Posix(Path).c_str(), &St) == 0; }

bool IsDirNoLink(const std::string& Path) {
  struct stat st;
  return LStat(Path, st) && S_ISDIR(st.st_mode);
}

bool FileExistsP(const std::string& Path) {
  struct stat st;
  return ::stat(Posix(Path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// The entries of a folder other than "." and ".." in directory order; false when the
// folder cannot be read (errno set).
bool ListDir(const std::string& Folder, std::vector<std::string>& Names) {
  DIR* d = ::opendir(Posix(Folder.empty() ? "." : Folder).c_str());
  if (!d) return false;
  while (dirent* e = ::readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    Names.emplace_back(e->d_name);
  }
  ::closedir(d);
  return true;
}

int AttrOf(const std::string& Path, const std::string& Name) {
  struct stat st;
  if (::stat(Posix(Path).c_str(), &st) != 0 && !LStat(Path, st)) return -1;
  int a = 0;
  if (S_ISDIR(st.st_mode)) a |= faDirectory;
  else a |= faArchive;
  if (!Name.empty() && Name[0] == '.') a |= faHidden;
  if (::access(Posix(Path).c_str(), W_OK) != 0) a |= faReadOnly;
  return a;
}

std::string NamePart(const std::string& S) {
  const std::size_t p = LastSep(S);
  return p == std::string::npos ? S : S.substr(p + 1);
}

std::string UpperAscii(std::string S) {
  for (char& c : S) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return S;
}

// Writes Data to Path through a temporary file in the same folder and a rename, so a
// failure never leaves a half-written file under the name.
bool WriteFileAtomic(const std::string& Path, const std::string& Data, mode_t Mode = 0644) {
  const std::string target = Posix(Path);
  const std::size_t slash = target.rfind('/');
  std::string tmpl = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".~VXXXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  const int fd = ::mkstemp(buf.data());
  if (fd < 0) return false;
  bool ok = true;
  std::size_t off = 0;
  while (ok && off < Data.size()) {
    const ssize_t n = ::write(fd, Data.data() + off, Data.size() - off);
    if (n < 0) ok = false;
    else off += static_cast<std::size_t>(n);
  }
  struct stat st;
  ok = ok && ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : Mode) == 0;
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(buf.data(), target.c_str()) == 0;
  if (!ok) {
    const int e = errno;
    ::unlink(buf.data());
    errno = e;
  }
  return ok;
}

bool ReadFileBytes(const std::string& Path, std::string& Out) {
  std::ifstream in(Posix(Path), std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  Out = s.str();
  return true;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::size_t i = 0, start = 0;
  while (i < Text.size()) {
    if (Text[i] == '\r' || Text[i] == '\n') {
      lines.push_back(Text.substr(start, i - start));
      if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < Text.size()) lines.push_back(Text.substr(start));
  return lines;
}

std::string EnvOr(const char* Name, const std::string& Fallback) {
  const char* v = std::getenv(Name);
  return v && *v ? std::string(v) : Fallback;
}

std::string HomeDir() { return EnvOr("HOME", "/tmp"); }

}  // namespace

// --- path texts --------------------------------------------------------------------------

void AddSlash(std::string& Dir) {
  if (!Dir.empty() && !IsSep(Dir.back())) Dir += SepOf(Dir);
}

std::string AddSlash2(const std::string& Dir) {
  std::string r = Dir;
  AddSlash(r);
  return r;
}

std::string AddPath(const std::string& FileName, const std::string& Path) {
  const bool drive = FileName.size() >= 2 && std::isalpha(static_cast<unsigned char>(FileName[0])) &&
                     FileName[1] == ':';
  const bool share = FileName.size() >= 2 && IsSep(FileName[0]) && IsSep(FileName[1]);
  const bool absolute = !FileName.empty() && FileName[0] == '/';
  if (drive || share || absolute) return FileName;
  return AddSlash2(Path) + FileName;
}

std::string AddPaths(const std::string& PathList, const std::string& Path) {
  std::string r;
  for (int i = 0;; ++i) {
    const std::string f = SubStr(PathList, i, ";");
    if (f.empty()) break;
    r = ConcatSep(r, AddPath(f, Path), ";");
  }
  return r;
}

std::string ParentPath(const std::string& Path) {
  std::string r = Path;
  if (!r.empty() && IsSep(r.back())) r.pop_back();
  const std::size_t p = LastSep(r);
  return p == std::string::npos ? std::string() : r.substr(0, p + 1);
}

std::string FindInPath(const std::string& FileName, const std::string& PathList) {
  for (int i = 0;; ++i) {
    const std::string f = SubStr(PathList, i, ";");
    if (f.empty()) return {};
    const std::string name = AddSlash2(f) + FileName;
    if (FileExistsP(name)) return name;
  }
}

std::string FileNewExt(const std::string& FileName, const std::string& Extension) {
  const std::size_t sep = LastSep(FileName);
  const std::size_t dot = FileName.rfind('.');
  if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
    return FileName.substr(0, dot) + Extension;
  return FileName + Extension;
}

std::string MakeValidFileName(const std::string& FileName, const std::string& Replacement) {
  std::string r;
  for (char c : FileName) {
    if (std::strchr("'\":?*\\/", c) && c != '\0') r += Replacement;
    else r += c;
  }
  return r;
}

std::string ExePath() {
  std::string exe = ParamStr(0);
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) exe.assign(buf, static_cast<std::size_t>(n));
  return ExtractFilePath2(exe);
}

std::string ExtractFilePath2(const std::string& FileName) {
  const std::size_t p = LastSep(FileName);
  return p == std::string::npos ? std::string() : FileName.substr(0, p + 1);
}

std::string NormalDir(const std::string& Dir) {
  if (Dir.size() == 1 && std::isalpha(static_cast<unsigned char>(Dir[0])) &&
      static_cast<unsigned char>(Dir[0]) < 0x80)
    return Dir + ":\\";
  if (Dir.empty() || Dir.back() == ':' || IsSep(Dir.back())) return Dir;
  return Dir + SepOf(Dir);
}

std::string RemoveBackSlash(const std::string& Dir) {
  if (Dir.size() > 1 && IsSep(Dir.back()) && !(Dir.size() == 3 && Dir[1] == ':'))
    return Dir.substr(0, Dir.size() - 1);
  return Dir;
}

bool ValidFileName(const std::string& FileName) {
  return !FileName.empty() && FileName.find_first_of("/<>\"?*|") == std::string::npos;
}

// --- folders and entries --------------------------------------------------------------------

bool FileGetInfo(const std::string& FileName, TVxSearchRec& SearchRec) {
  const std::string folder = ExtractFilePath2(FileName);
  const std::string want = UpperAscii(NamePart(FileName));
  std::vector<std::string> names;
  if (want.empty() || !ListDir(folder, names)) return false;
  // The exact name first (a case-sensitive file system), then any case.
  for (int pass = 0; pass < 2; ++pass) {
    for (const std::string& n : names) {
      if (pass == 0 ? n != NamePart(FileName) : UpperAscii(n) != want) continue;
      const std::string full = folder + n;
      struct stat st{};
      if (::stat(Posix(full).c_str(), &st) != 0) LStat(full, st);
      SearchRec.Name = n;
      SearchRec.ShortName = n;
      SearchRec.Attr = AttrOf(full, n);
      SearchRec.Size = static_cast<int64_t>(st.st_size);
      SearchRec.Time = FileTimeToDateTime(static_cast<int64_t>(st.st_mtime));
      return true;
    }
  }
  return false;
}

bool HasSubFolder(const std::string& Folder) {
  const std::string dir = AddSlash2(Folder);
  std::vector<std::string> names;
  if (!ListDir(dir, names)) return false;
  for (const std::string& n : names)
    if (n[0] != '.' && IsDirNoLink(dir + n)) return true;
  return false;
}

bool IsEmptyFolder(const std::string& Folder) {
  std::vector<std::string> names;
  if (!ListDir(AddSlash2(Folder), names)) return true;
  for (const std::string& n : names)
    if (n[0] != '.') return false;
  return true;
}

namespace {
int ReadFolderImpl(const std::string& Folder, const std::string& Mask, TStrings* Names, bool Folders) {
  const std::string dir = AddSlash2(Folder);
  Names->BeginUpdate();
  struct EndUpdate {
    TStrings* L;
    ~EndUpdate() { L->EndUpdate(); }
  } guard{Names};
  Names->Clear();
  std::vector<std::string> names;
  if (!ListDir(dir, names)) return static_cast<int>(OSErrorFromErrno(errno));
  int found = 0;
  for (const std::string& n : names) {
    const bool isDir = IsDirNoLink(dir + n);
    if (!FileEquMask(n, Mask, true) && !(Mask == "*.*" || Mask == "*")) continue;
    ++found;
    if (isDir == Folders) Names->Add(n);
  }
  return found ? 0 : static_cast<int>(ERROR_FILE_NOT_FOUND);
}
}  // namespace

int ReadFolder(const std::string& Folder, const std::string& Mask, TStrings* Names) {
  return ReadFolderImpl(Folder, Mask, Names, false);
}

int ReadFolders(const std::string& Folder, TStrings* Names) { return ReadFolderImpl(Folder, "*.*", Names, true); }

bool CopyDir(const std::string& Source, const std::string& Destination) {
  if (::mkdir(Posix(Destination).c_str(), 0755) != 0) return false;
  const std::string src = AddSlash2(Source), dst = AddSlash2(Destination);
  std::vector<std::string> names;
  if (!ListDir(src, names)) return true;
  for (const std::string& n : names) {
    struct stat st;
    if (!LStat(src + n, st)) return false;
    if (S_ISLNK(st.st_mode)) {
      // A link is copied as a link: following a directory link could loop or copy
      // what lies outside the tree.
      char target[PATH_MAX];
      const ssize_t len = ::readlink(Posix(src + n).c_str(), target, sizeof target - 1);
      if (len < 0) return false;
      target[len] = '\0';
      if (::symlink(target, Posix(dst + n).c_str()) != 0) return false;
    } else if (S_ISDIR(st.st_mode)) {
      if (!CopyDir(src + n, dst + n)) return false;
    } else {
      const int in = ::open(Posix(src + n).c_str(), O_RDONLY | O_CLOEXEC);
      if (in < 0) return false;
      const int out = ::open(Posix(dst + n).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
      if (out < 0) {
        ::close(in);
        return false;
      }
      char buf[65536];
      bool ok = true;
      for (;;) {
        const ssize_t r = ::read(in, buf, sizeof buf);
        if (r == 0) break;
        if (r < 0) { ok = false; break; }
        for (ssize_t off = 0; off < r;) {
          const ssize_t w = ::write(out, buf + off, static_cast<std::size_t>(r - off));
          if (w < 0) { ok = false; break; }
          off += w;
        }
        if (!ok) break;
      }
      ::close(in);
      ok = ::close(out) == 0 && ok;
      if (!ok) {
        ::unlink(Posix(dst + n).c_str());
        return false;
      }
    }
  }
  return true;
}

bool DeleteReadOnlyFile(const std::string& FileName) {
  ::chmod(Posix(FileName).c_str(), 0600);
  return ::unlink(Posix(FileName).c_str()) == 0;
}

TDateTime FileTimeToDateTime(int64_t UnixTime) {
  const time_t t = static_cast<time_t>(UnixTime);
  struct tm lt{};
  if (!::localtime_r(&t, &lt)) return NullDate;
  TDateTime d = 0, tm = 0;
  if (!TryEncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, d)) return NullDate;
  TryEncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec / 2 * 2, 0, tm);
  return d >= 0 ? d + tm : d - tm;
}

bool LZFileExpand(const std::string&, const std::string&) { return false; }

void SaveTextFile(const std::string& FileName, const std::string& Text) {
  std::string data;
  for (const std::string& l : SplitLines(Text)) data += l + "\r\n";
  if (!WriteFileAtomic(FileName, data))
    throw EFCreateError(Format("Cannot create file \"%s\". %s", {FileName, SysErrorMessage(OSErrorFromErrno(errno))}));
}

std::string LoadTextFile(const std::string& FileName) {
  std::string data;
  if (!ReadFileBytes(FileName, data))
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {FileName, SysErrorMessage(OSErrorFromErrno(errno))}));
  std::string r;
  for (const std::string& l : SplitLines(data)) r += l + "\r\n";
  return r;
}

bool IniReadSection(const std::string& FileName, const std::string& Section, TStrings* Lines) {
  const std::vector<std::string> all = SplitLines(LoadTextFile(FileName));
  const std::string head = "[" + Section + "]";
  std::size_t i = 0;
  while (i < all.size() && !Cmp(all[i], head)) ++i;
  if (i == all.size()) return false;
  Lines->BeginUpdate();
  struct EndUpdate {
    TStrings* L;
    ~EndUpdate() { L->EndUpdate(); }
  } guard{Lines};
  Lines->Clear();
  for (++i; i < all.size() && !(!all[i].empty() && all[i][0] == '['); ++i) Lines->Add(all[i]);
  return true;
}

void PrepareIniSection(TStrings* Lines) {
  Lines->BeginUpdate();
  struct EndUpdate {
    TStrings* L;
    ~EndUpdate() { L->EndUpdate(); }
  } guard{Lines};
  for (int i = Lines->Count() - 1; i >= 0; --i) {
    const std::string t = Trim(Lines->Get(i));
    if (t.empty() || t[0] == '#' || t[0] == ';') Lines->Delete(i);
  }
}

// --- command line and computer --------------------------------------------------------------

bool HasParam(const std::string& Name) {
  for (int i = 1; i <= ParamCount(); ++i)
    if (Cmp(ParamStr(i), Name)) return true;
  return false;
}

namespace {
// Parameter i when it starts with one of Prefixes followed by Name (any case).
bool SwitchMatch(const std::string& P, const std::string& Name, const char* Prefixes) {
  return !P.empty() && std::strchr(Prefixes, P[0]) && Cmp(P.substr(1, Name.size()), Name);
}
}  // namespace

bool HasSwitch(const std::string& Name) {
  for (int i = 1; i <= ParamCount(); ++i)
    if (SwitchMatch(ParamStr(i), Name, "-/")) return true;
  return false;
}

std::string Switch(const std::string& Name) {
  for (int i = 1; i <= ParamCount(); ++i) {
    const std::string p = ParamStr(i);
    if (SwitchMatch(p, Name, "-/\\")) return p.substr(std::min(p.size(), 1 + Name.size()), 260);
  }
  return {};
}

std::string GetComputerName() {
  char buf[256] = {};
  if (::gethostname(buf, sizeof buf - 1) != 0) return {};
  return std::string(buf).substr(0, 15);
}

std::string GetComputerID() {
  for (const char* f : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::string id;
    if (!ReadFileBytes(f, id) || id.size() < 8) continue;
    id = UpperAscii(id.substr(0, 8));
    if (id.find_first_not_of("0123456789ABCDEF") == std::string::npos) return id;
  }
  return "None";
}

// --- resources -------------------------------------------------------------------------------

bool ResSaveToString(const void*, const std::string& ResourceType, const std::string& ResourceName, std::string& S) {
  const auto data = FindResourceData(TResourceId(ResourceType), TResourceId(ResourceName));
  if (!data || data->empty()) return false;
  S.assign(reinterpret_cast<const char*>(data->data()), data->size());
  return true;
}

bool ResSaveToFileEx(const void* Module, const std::string& ResourceType, const std::string& ResourceName,
                     bool Compressed, const std::string& FileName) {
  std::string bytes;
  if (!ResSaveToString(Module, ResourceType, ResourceName, bytes)) return false;
  // There is no LZ expansion here, so a compressed resource cannot be expanded.
  if (Compressed) return false;
  try {
    return WriteFileAtomic(FileName, bytes);
  } catch (...) {
    return false;
  }
}

bool ResSaveToFile(const std::string& ResourceType, const std::string& ResourceName, bool Compressed,
                   const std::string& FileName) {
  return ResSaveToFileEx(nullptr, ResourceType, ResourceName, Compressed, FileName);
}

// --- long and short names -----------------------------------------------------------------

std::string GetLongFileName(const std::string& FileName) {
  TVxSearchRec r;
  if (FileGetInfo(FileName, r)) return ExtractFilePath2(FileName) + r.Name;
  return FileName;
}

std::string ShortToLongFileName(const std::string& Name) {
  TVxSearchRec r;
  return FileGetInfo(Name, r) ? r.Name : std::string();
}

std::string LongToShortFileName(const std::string& Name) {
  TVxSearchRec r;
  return FileGetInfo(Name, r) ? r.ShortName : std::string();
}

namespace {
std::string MapPath(const std::string& Name, std::string (*Part)(const std::string&)) {
  std::string rest = Name, result;
  for (std::size_t p; (p = LastSep(rest)) != std::string::npos;) {
    result = rest[p] + Part(rest) + result;
    rest.resize(p);
  }
  return rest + result;
}
}  // namespace

std::string ShortToLongPath(const std::string& Name) { return MapPath(Name, ShortToLongFileName); }
std::string LongToShortPath(const std::string& Name) { return MapPath(Name, LongToShortFileName); }

std::string GetParameter() {
  if (ParamCount() == 0) return {};
  const std::string line = CmdLine();
  std::string s;
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    if (close == std::string::npos || close + 1 >= line.size()) return {};
    s = close + 2 <= line.size() ? line.substr(close + 2) : std::string();
    if (!s.empty() && s[0] == '"') {
      const std::size_t q = s.find('"', 1);
      s = s.substr(1, q == std::string::npos ? std::string::npos : q - 1);
    }
  } else {
    const std::size_t skip = ParamStr(0).size();
    s = skip < line.size() ? line.substr(skip, 260) : std::string();
  }
  const std::size_t b = s.find_first_not_of(' ');
  s = b == std::string::npos ? std::string() : s.substr(b);
  s = ReplaceString(s, "\"", "");
  if (!s.empty() && FileExistsP(s)) return GetLongFileName(s);
  return s;
}

std::string GetUniqueFileNameInDir(const std::string& Path, const std::string& Mask) {
  const std::string dir = NormalDir(Path);
  for (int i = 0; i < INT_MAX; ++i) {
    const std::string name = Format(Mask, {i});
    struct stat st;
    if (!LStat(dir + name, st)) return name;
  }
  return {};
}

// --- times, attributes, system folders ----------------------------------------------------

TDateTime FileDateTime(const std::string& FileName) {
  struct stat st;
  if (::stat(Posix(FileName).c_str(), &st) != 0) return NullDate;
  return FileTimeToDateTime(static_cast<int64_t>(st.st_mtime));
}

bool HasAttr(const std::string& FileName, int Attr) {
  const int a = AttrOf(FileName, NamePart(RemoveBackSlash(FileName)));
  return a >= 0 && (a & Attr) == Attr;
}

std::string GetWindowsDir() { return "C:\\Windows"; }
std::string GetSystemDir() { return "C:\\Windows\\system32"; }

std::string GetTempDir() {
  std::string d = EnvOr("TMPDIR", "/tmp/");
  if (d.back() != '/') d += '/';
  return d;
}

namespace {
std::string MakeTempFile(const std::string& FileName, const std::string& Suffix) {
  std::string dir = GetTempDir();
  if (!FileName.empty()) {
    // A file named with a folder gets its temporary neighbour in that folder, so the
    // two can be renamed into each other.
    const std::string folder = ExtractFilePath2(Posix(FileName));
    if (!folder.empty() && folder[0] == '/' && folder != dir) dir = folder;
  }
  std::string tmpl = dir + "~VXXXXXXX" + Suffix;
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  const int fd = ::mkstemps(buf.data(), static_cast<int>(Suffix.size()));
  if (fd < 0) return "~VXLTemp.tmp";
  ::close(fd);
  return std::string(buf.data());
}
}  // namespace

std::string GenTempFileName(const std::string& FileName) { return MakeTempFile(FileName, ""); }

std::string GenTempFileNameExt(const std::string& FileName, const std::string& Ext) {
  std::string ext = Ext;
  if (!ext.empty() && ext[0] != '.') ext = "." + ext;
  if (ext.find('/') != std::string::npos) ext.clear();
  return MakeTempFile(FileName, ext);
}

namespace {
int LockRange(int Handle, int64_t Offset, int64_t Size, short Type) {
  if (Offset < 0 || Size <= 0) return 87;  // the parameter is incorrect
  struct flock fl{};
  fl.l_type = Type;
  fl.l_whence = SEEK_SET;
  fl.l_start = Offset;
  fl.l_len = Size;
  if (::fcntl(Handle, F_OFD_SETLK, &fl) == 0) return 0;
  if (errno == EAGAIN || errno == EACCES) return static_cast<int>(ERROR_LOCK_VIOLATION);
  return static_cast<int>(OSErrorFromErrno(errno));
}
}  // namespace

int FileLock(int Handle, int32_t Offset, int32_t Size) { return LockRange(Handle, Offset, Size, F_WRLCK); }
int FileUnlock(int Handle, int32_t Offset, int32_t Size) { return LockRange(Handle, Offset, Size, F_UNLCK); }
int FileLock(int Handle, int64_t Offset, int64_t Size) { return LockRange(Handle, Offset, Size, F_WRLCK); }
int FileUnlock(int Handle, int64_t Offset, int64_t Size) { return LockRange(Handle, Offset, Size, F_UNLCK); }

// --- deleting -----------------------------------------------------------------------------------

bool DeleteFiles(const std::string& Folder, const std::string& Masks) {
  const std::string dir = AddSlash2(Folder);
  std::vector<std::string> names;
  if (!ListDir(dir, names)) return false;
  bool any = false, ok = true;
  for (const std::string& n : names) {
    if (IsDirNoLink(dir + n) || !FileEquMasks(dir + n, Masks, false)) continue;
    any = true;
    if (::unlink(Posix(dir + n).c_str()) != 0) ok = false;
  }
  return any && ok;
}

bool DeleteFilesEx(const std::vector<std::string>& Masks) {
  for (const std::string& m : Masks)
    if (!DeleteFiles(ExtractFilePath2(m), NamePart(m))) return false;
  return true;
}

bool ClearDir(const std::string& Path) {
  const std::string dir = AddSlash2(Path);
  std::vector<std::string> names;
  if (!ListDir(dir, names)) return false;
  bool ok = true;
  for (const std::string& n : names) {
    if (!ok) break;
    // A link to a folder is removed as a link; its target is not entered.
    ok = IsDirNoLink(dir + n) ? DeleteDir(dir + n) : ::unlink(Posix(dir + n).c_str()) == 0;
  }
  return ok;
}

bool DeleteDir(const std::string& Path) {
  ClearDir(Path);
  return ::rmdir(Posix(RemoveBackSlash(Path)).c_str()) == 0;
}

// --- masks ----------------------------------------------------------------------------------------

namespace {
bool MaskMatch(const std::string& FileName, std::string_view Mask, bool CaseSensitive) {
  // Works on the texts in place: the name part, letters folded as they are read, and a
  // "." after a name without one.
  std::string_view f = FileName;
  if (!CaseSensitive) {
    std::size_t p = f.size();
    while (p > 0 && f[p - 1] != '\\' && f[p - 1] != '/' && f[p - 1] != ':') --p;
    f.remove_prefix(p);
  }
  const bool addDot = std::memchr(f.data(), '.', f.size()) == nullptr;
  const std::size_t n = f.size() + (addDot ? 1 : 0);
  const auto fold = [CaseSensitive](char x) {
    return !CaseSensitive && x >= 'a' && x <= 'z' ? static_cast<char>(x - 32) : x;
  };
  const auto at = [&](std::size_t k) { return k < f.size() ? fold(f[k]) : '.'; };
  std::size_t c = 0;
  for (std::size_t i = 0; i < Mask.size(); ++i) {
    const char mc = fold(Mask[i]);
    if (mc == '*') {
      if (i + 1 == Mask.size()) return true;
      const char next = fold(Mask[i + 1]);
      if (CaseSensitive || next < 'A' || next > 'Z') {
        // No letter to fold: the raw bytes are searched.
        const void* hit = c < f.size() ? std::memchr(f.data() + c, next, f.size() - c) : nullptr;
        c = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - f.data())
                : (addDot && next == '.' ? f.size() : n);
      } else {
        while (c < n && at(c) != next) ++c;
      }
      if (c == n) return false;
      continue;
    }
    if (c >= n) return false;
    if (mc != '?' && at(c) != mc) return false;
    ++c;
  }
  return c == n;
}
}  // namespace

bool FileEquMask(const std::string& FileName, const std::string& Mask, bool CaseSensitive) {
  return MaskMatch(FileName, Mask, CaseSensitive);
}

bool FileEquMasks(const std::string& FileName, const std::string& Masks, bool CaseSensitive) {
  // The fields at ";" trimmed of blanks, read in place; the first empty one ends the list.
  std::string_view rest = Masks;
  for (;;) {
    const std::size_t semi = rest.find(';');
    std::string_view m = rest.substr(0, semi);
    while (!m.empty() && static_cast<unsigned char>(m.front()) <= ' ') m.remove_prefix(1);
    while (!m.empty() && static_cast<unsigned char>(m.back()) <= ' ') m.remove_suffix(1);
    if (m.empty()) return false;
    if (MaskMatch(FileName, m, CaseSensitive)) return true;
    if (semi == std::string_view::npos) return false;
    rest.remove_prefix(semi + 1);
  }
}

// --- desktop links ---------------------------------------------------------------------------------

std::string ShellFolderPath(int Folder) {
  const std::string data = EnvOr("XDG_DATA_HOME", HomeDir() + "/.local/share");
  switch (Folder) {
    case 0: return EnvOr("XDG_DESKTOP_DIR", HomeDir() + "/Desktop");
    case 2: return data + "/applications";
    case 5: return EnvOr("XDG_DOCUMENTS_DIR", HomeDir() + "/Documents");
    case 7: return EnvOr("XDG_CONFIG_HOME", HomeDir() + "/.config") + "/autostart";
    case 8: return data;
    default: break;
  }
  throw EOleSysError("The parameter is incorrect", static_cast<int32_t>(0x80070057u));
}

namespace {
std::string LinkFileName(const std::string& LinkName, int Folder) {
  if (LinkName.empty() || LinkName.find_first_of("/\\") != std::string::npos || LinkName.find("..") != std::string::npos)
    throw EOleSysError("The parameter is incorrect", static_cast<int32_t>(0x80070057u));
  return ShellFolderPath(Folder) + "/" + LinkName + ".desktop";
}

// A string value of a Desktop Entry file: backslash and control characters escaped.
std::string EntryString(const std::string& S) {
  std::string r;
  for (char c : S) {
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '\n': r += "\\n"; break;
      case '\t': r += "\\t"; break;
      case '\r': r += "\\r"; break;
      default: r += c;
    }
  }
  return r;
}

// One argument of an Exec key: quoted when it holds a reserved character, with ", `, $
// and \ escaped inside the quotes, and % doubled; then escaped as a string value.
std::string ExecArg(const std::string& S) {
  std::string a;
  bool quote = S.empty();
  for (char c : S) {
    if (std::strchr(" \t\n\"'\\><~|&;$*?#()`", c)) quote = true;
    if (c == '%') a += "%%";
    else if (std::strchr("\"`$\\", c)) { a += '\\'; a += c; }
    else a += c;
  }
  return EntryString(quote ? "\"" + a + "\"" : a);
}

std::string FileUrl(const std::string& Path) {
  std::string r = "file://";
  for (unsigned char c : Path) {
    if (std::isalnum(c) || std::strchr("/-._~", c)) r += static_cast<char>(c);
    else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      r += buf;
    }
  }
  return r;
}
}  // namespace

void CreateFileLink(const std::string& FileName, const std::string& LinkName, int Folder) {
  const std::string link = LinkFileName(LinkName, Folder);
  std::string target = Posix(FileName);
  if (!target.empty() && target[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd)) target = std::string(cwd) + "/" + target;
  }
  struct stat st;
  const bool program = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(target.c_str(), X_OK) == 0;
  std::string text = "[Desktop Entry]\n";
  if (program) {
    text += "Type=Application\nName=" + EntryString(LinkName) + "\nExec=" + ExecArg(target) + "\nIcon=" +
            EntryString(target) + "\n";
  } else {
    text += "Type=Link\nName=" + EntryString(LinkName) + "\nURL=" + FileUrl(target) + "\nIcon=" +
            (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? "folder" : "text-x-generic") + "\n";
  }
  // The folder and its parents are made when missing (a fresh desktop has none).
  const std::string folder = ShellFolderPath(Folder);
  for (std::size_t p = folder.find('/', 1);; p = folder.find('/', p + 1)) {
    ::mkdir(folder.substr(0, p).c_str(), 0755);
    if (p == std::string::npos) break;
  }
  if (!WriteFileAtomic(link, text))
    throw EOleSysError(SysErrorMessage(OSErrorFromErrno(errno)), static_cast<int32_t>(0x80070000u | OSErrorFromErrno(errno)));
}

void DeleteFileLink(const std::string& LinkName, int Folder) { ::unlink(LinkFileName(LinkName, Folder).c_str()); }

}  // namespace VxCoreUtils
