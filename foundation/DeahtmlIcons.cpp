// Deahtml: the system icons of "SSYS:" and "LSYS:" pictures. An index or a file or folder
// path picks one of a few generic icons (file, document, program, folder, open folder,
// picture, sound, video, archive, web page, spreadsheet). The icons come from the
// freedesktop icon theme when one is installed, else they are drawn here.
#include <cstdlib>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <vector>

#include "foundation/Deahtml.h"
#include "foundation/DeahtmlInternal.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

using namespace deahtml;

namespace {

enum TIconKind { ikFile, ikDocument, ikProgram, ikFolder, ikFolderOpen, ikImage, ikAudio, ikVideo, ikArchive,
                 ikWebPage, ikSpreadsheet, ikCount };

struct TThemeName {
  const char* Context;
  const char* Name;
};

constexpr TThemeName kThemeNames[ikCount] = {
    {"mimetypes", "application-x-generic"}, {"mimetypes", "text-x-generic"},
    {"mimetypes", "application-x-executable"}, {"places", "folder"},
    {"places", "folder-open"}, {"mimetypes", "image-x-generic"},
    {"mimetypes", "audio-x-generic"}, {"mimetypes", "video-x-generic"},
    {"mimetypes", "package-x-generic"}, {"mimetypes", "text-html"},
    {"mimetypes", "x-office-spreadsheet"},
};

TIconKind KindOfExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return ikFile;
  const std::string ext = Lower(path.substr(dot + 1));
  static const std::map<std::string, TIconKind> kinds = {
      {"txt", ikDocument}, {"doc", ikDocument}, {"rtf", ikDocument}, {"pdf", ikDocument}, {"cnv", ikDocument},
      {"exe", ikProgram},  {"com", ikProgram},  {"sh", ikProgram},   {"bat", ikProgram},
      {"png", ikImage},    {"jpg", ikImage},    {"jpeg", ikImage},   {"gif", ikImage},    {"bmp", ikImage},
      {"ico", ikImage},    {"wav", ikAudio},    {"mp3", ikAudio},    {"ogg", ikAudio},    {"avi", ikVideo},
      {"mp4", ikVideo},    {"mkv", ikVideo},    {"zip", ikArchive},  {"gz", ikArchive},   {"7z", ikArchive},
      {"tar", ikArchive},  {"htm", ikWebPage},  {"html", ikWebPage}, {"xls", ikSpreadsheet},
      {"xlsx", ikSpreadsheet}, {"csv", ikSpreadsheet}, {"ods", ikSpreadsheet}};
  auto it = kinds.find(ext);
  return it == kinds.end() ? ikFile : it->second;
}

// A theme icon file, or an empty picture when no theme holds one.
TRawImage ThemeIcon(TIconKind kind, int size) {
  std::vector<std::string> roots;
  if (const char* home = std::getenv("XDG_DATA_HOME")) roots.push_back(std::string(home) + "/icons");
  roots.push_back("/usr/share/icons");
  const std::string dim = std::to_string(size) + "x" + std::to_string(size);
  for (const std::string& root : roots)
    for (const char* theme : {"Adwaita", "hicolor"})
      for (const char* context : {kThemeNames[kind].Context, "legacy"}) {
        const std::string path = root + "/" + theme + "/" + dim + "/" + context + "/" + kThemeNames[kind].Name + ".png";
        struct stat st {};
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 1 << 20) continue;
        try {
          TMemoryStream bytes;
          bytes.LoadFromFile(path);
          TRawImage image = DecodePng(TBytesView(bytes.Data().data(), bytes.Data().size()));
          if (image.Width == size && image.Height == size) return image;
        } catch (const Exception&) {
        }
      }
  return {};
}

void FillRect(TRawImage& img, int l, int t, int r, int b, std::uint32_t c) {
  for (int y = std::max(t, 0); y < std::min(b, img.Height); ++y)
    for (int x = std::max(l, 0); x < std::min(r, img.Width); ++x) img.At(x, y) = c;
}

// Our own generic icons: a page with a folded corner (coloured band by kind) or a folder.
TRawImage DrawnIcon(TIconKind kind, int size) {
  TRawImage img(size, size);
  const int u = size / 16;  // 1 for small icons, 2 for large ones
  const std::uint32_t outline = MakeArgb(255, 96, 96, 96);
  if (kind == ikFolder || kind == ikFolderOpen) {
    const std::uint32_t body = MakeArgb(255, 240, 200, 80), dark = MakeArgb(255, 190, 140, 30);
    FillRect(img, 1 * u, 3 * u, 7 * u, 5 * u, dark);               // tab
    FillRect(img, 1 * u, 4 * u, 15 * u, 14 * u, dark);             // back
    FillRect(img, 2 * u, 5 * u, 14 * u, 13 * u, body);             // front
    if (kind == ikFolderOpen) FillRect(img, 3 * u, 7 * u, 15 * u, 13 * u, MakeArgb(255, 250, 220, 120));
    return img;
  }
  const std::uint32_t paper = MakeArgb(255, 255, 255, 255);
  FillRect(img, 3 * u, 1 * u, 13 * u, 15 * u, outline);
  FillRect(img, 4 * u, 2 * u, 12 * u, 14 * u, paper);
  FillRect(img, 10 * u, 1 * u, 13 * u, 4 * u, 0);  // folded corner
  FillRect(img, 10 * u, 2 * u, 11 * u, 4 * u, outline);
  FillRect(img, 10 * u, 4 * u, 13 * u, 5 * u, outline);
  static const std::uint32_t band[ikCount] = {
      MakeArgb(255, 200, 200, 200), MakeArgb(255, 70, 110, 200), MakeArgb(255, 60, 160, 60), 0, 0,
      MakeArgb(255, 220, 120, 40),  MakeArgb(255, 150, 80, 190), MakeArgb(255, 200, 60, 60),
      MakeArgb(255, 150, 110, 60),  MakeArgb(255, 40, 150, 200), MakeArgb(255, 40, 140, 80)};
  for (int line = 0; line < 4; ++line) FillRect(img, 5 * u, (6 + 2 * line) * u, 11 * u, (7 + 2 * line) * u, band[kind]);
  return img;
}

const TRawImage& IconImage(TIconKind kind, bool large) {
  static std::mutex lock;
  static std::map<int, TRawImage> cache;
  std::lock_guard<std::mutex> guard(lock);
  const int size = large ? 32 : 16;
  const int key = kind * 2 + (large ? 1 : 0);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  TRawImage image = ThemeIcon(kind, size);
  if (image.Empty()) image = DrawnIcon(kind, size);
  return cache.emplace(key, std::move(image)).first->second;
}

}  // namespace

void DrawSystemIcon(TCanvas* Canvas, int X, int Y, TSize& Size, double Scale, bool Print, bool Draw, bool Large,
                    const std::string& Source) {
  const int dim = Large ? 32 : 16;
  Size = TSize{dim, dim};
  int kind = ikFile;
  if (Source.empty() || IsWholeNumber(Source)) {
    kind = Source.size() > 6 ? ikCount : ReadNumber(Source);
  } else {
    struct stat st {};
    if (stat(Source.c_str(), &st) == 0) kind = S_ISDIR(st.st_mode) ? ikFolder : KindOfExtension(Source);
    else kind = (Source.back() == '/' || Source.back() == '\\') ? ikFolder : KindOfExtension(Source);
  }
  if (!Draw || !Canvas || kind < 0 || kind >= ikCount) return;
  const TRawImage& image = IconImage(TIconKind(kind), Large);
  if (!Print) {
    DrawRawImage(Canvas, TRect{X, Y, X + dim, Y + dim}, image);
    return;
  }
  TBitmap bitmap(dim, dim);
  DrawRawImage(bitmap.Canvas(), TRect{0, 0, dim, dim}, image);
  PrintBitmap(Canvas, TRect{X, Y, X + int(dim * Scale + 0.5), Y + int(dim * Scale + 0.5)}, &bitmap);
}
