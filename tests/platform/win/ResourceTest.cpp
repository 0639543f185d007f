// The resource calls, icon and cursor objects and their drawing, and the icons of windows.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/IconCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/win/WinResource.h"
#include "tests/platform/win/WinTestSupport.h"
#include "tests/support/FifoGuard.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u;

TRawImage Filled(int w, int h, std::uint32_t color) { return TRawImage(w, h, color); }

// An .ico file with a red 16×16 and a blue 32×32 image, each with a transparent corner.
TByteBuffer TwoSizeIcon() {
  TIconFile file;
  for (auto [size, color] : {std::pair{16, kRed}, std::pair{32, kBlue}}) {
    TIconEntry e;
    e.Image = Filled(size, size, color);
    e.Image.At(0, 0) = 0;
    file.Entries.push_back(e);
  }
  return EncodeIcon(file);
}

TByteBuffer CursorFile(int size, int hotX, int hotY, std::uint32_t color) {
  TIconFile file;
  file.Cursor = true;
  TIconEntry e;
  e.Image = Filled(size, size, color);
  e.HotSpotX = hotX;
  e.HotSpotY = hotY;
  file.Entries.push_back(e);
  return EncodeIcon(file);
}

// A 24-bit icon image as stored in a resource: colour rows, then the AND mask rows, both
// bottom-up; the header height counts both.
TByteBuffer MaskedDib(const TRawImage& color, const std::vector<int>& maskTopDown) {
  TByteBuffer dib = EncodeDib(color, 24);
  std::int32_t h2 = color.Height * 2;
  std::memcpy(dib.data() + 8, &h2, 4);
  int stride = ((color.Width + 31) / 32) * 4;
  for (int y = color.Height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < color.Width; ++x)
      if (maskTopDown[y * color.Width + x]) row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    dib.insert(dib.end(), row.begin(), row.end());
  }
  return dib;
}

// A 32-bit memory DC over a bitmap filled with one colour.
struct TCanvasDC {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  TCanvasDC(int w, int h, COLORREF fill) {
    Dc = CreateCompatibleDC(nullptr);
    Bitmap = CreateCompatibleBitmap(nullptr, w, h);
    Old = SelectObject(Dc, Bitmap);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r = MakeRect(0, 0, w, h);
    FillRect(Dc, &r, b);
    DeleteObject(b);
  }
  ~TCanvasDC() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bitmap);
  }
  COLORREF At(int x, int y) const { return GetPixel(Dc, x, y); }
};

SIZE IconSize(HICON icon) {
  ICONINFO info;
  if (!GetIconInfo(icon, &info)) return SIZE{0, 0};
  BITMAP bm;
  GetObject(info.hbmMask, sizeof(bm), &bm);
  SIZE s{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return s;
}

COLORREF Center(HICON icon, int cx = 0, int cy = 0) {
  TCanvasDC c(64, 64, RGB(255, 255, 255));
  DrawIconEx(c.Dc, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  SIZE s = IconSize(icon);
  return c.At((cx ? cx : s.cx) / 2, (cy ? cy : s.cy) / 2);
}

class ResourceTest : public ::testing::Test {
protected:
  void TearDown() override {
    for (auto& [type, name] : FRegistered) UnregisterResource(type, name);
  }
  void Register(int type, const TResourceId& name, const TByteBuffer& bytes) {
    RegisterResource(type, name, bytes);
    FRegistered.emplace_back(TResourceId(type), name);
  }
  std::vector<std::pair<TResourceId, TResourceId>> FRegistered;
};

}  // namespace

// ---- raw resources ----------------------------------------------------------------------------
TEST_F(ResourceTest, FindsByNameOrIdAndTypeAndLocksTheBytes) {
  TByteBuffer data{1, 2, 3, 4, 5};
  Register(RT_RCDATA, "BLOB", data);
  Register(RT_RCDATA, 4711, TByteBuffer{9, 8});
  struct Case {
    TResName Name, Type;
    std::size_t Size;
  } cases[] = {
      {"BLOB", MAKEINTRESOURCE(RT_RCDATA), 5},
      {"blob", RT_RCDATA, 5},
      {MAKEINTRESOURCE(4711), RT_RCDATA, 2},
      {"#4711", MAKEINTRESOURCE(RT_RCDATA), 2},
      {4711, RT_RCDATA, 2},
  };
  for (const Case& c : cases) {
    HRSRC r = FindResource(nullptr, c.Name, c.Type);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(GetModuleHandle(nullptr), r), c.Size);
    HGLOBAL g = LoadResource(nullptr, r);
    ASSERT_NE(g, nullptr);
    ASSERT_NE(LockResource(g), nullptr);
  }
  HRSRC r = FindResourceEx(nullptr, RT_RCDATA, "BLOB", 0);
  auto* p = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, r)));
  EXPECT_TRUE(std::equal(data.begin(), data.end(), p));
  EXPECT_EQ(FindResource(nullptr, "BLOB", RT_BITMAP), nullptr);   // wrong type
  EXPECT_EQ(FindResource(nullptr, "NOSUCH", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResource(nullptr, nullptr, RT_RCDATA), nullptr);
  EXPECT_EQ(FindResource(reinterpret_cast<HMODULE>(0x1234), "BLOB", RT_RCDATA), nullptr);  // another module
  EXPECT_EQ(LockResource(nullptr), nullptr);
  EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
}

TEST_F(ResourceTest, LockedDataSurvivesTheResourceBeingReplaced) {
  Register(RT_RCDATA, "CHANGING", TByteBuffer{1, 1, 1});
  HRSRC before = FindResource(nullptr, "CHANGING", RT_RCDATA);
  auto* old = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, before)));
  Register(RT_RCDATA, "CHANGING", TByteBuffer{2, 2, 2, 2});
  HRSRC after = FindResource(nullptr, "CHANGING", RT_RCDATA);
  EXPECT_NE(before, after);
  EXPECT_EQ(old[0], 1);
  EXPECT_EQ(SizeofResource(nullptr, before), 3u);
  EXPECT_EQ(SizeofResource(nullptr, after), 4u);
  EXPECT_EQ(FindResource(nullptr, "CHANGING", RT_RCDATA), after);  // the same handle for the same data
}

// ---- icons and cursors from resources ---------------------------------------------------------
TEST_F(ResourceTest, LoadIconIsSharedAtTheSystemSizeAndLoadImagePicksTheSize) {
  Register(RT_GROUP_ICON, "TESTICON", TwoSizeIcon());
  HICON shared = LoadIcon(GetModuleHandle(nullptr), "TESTICON");
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, "testicon"), shared);
  EXPECT_EQ(IconSize(shared).cx, 32);
  EXPECT_EQ(Center(shared), RGB(0, 0, 255));
  EXPECT_TRUE(DestroyIcon(shared));  // shared icons stay
  EXPECT_TRUE(IsIconHandle(shared));

  int live = LiveIconCount();
  HICON small = static_cast<HICON>(LoadImage(nullptr, "TESTICON", IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(IconSize(small).cx, 16);
  EXPECT_EQ(Center(small), RGB(255, 0, 0));  // the 16×16 image, not the big one shrunk
  HICON first = static_cast<HICON>(LoadImage(nullptr, "TESTICON", IMAGE_ICON, 0, 0, 0));
  EXPECT_EQ(IconSize(first).cx, 16);  // no size, no LR_DEFAULTSIZE: the first image
  HICON stretched = static_cast<HICON>(LoadImage(nullptr, "TESTICON", IMAGE_ICON, 48, 48, 0));
  EXPECT_EQ(IconSize(stretched).cx, 48);
  EXPECT_EQ(Center(stretched), RGB(0, 0, 255));
  EXPECT_EQ(LiveIconCount(), live + 3);
  for (HICON h : {small, first, stretched}) EXPECT_TRUE(DestroyIcon(h));
  EXPECT_EQ(LiveIconCount(), live);
  EXPECT_FALSE(DestroyIcon(small));
  EXPECT_EQ(LoadIcon(nullptr, "NOSUCHICON"), nullptr);
}

TEST_F(ResourceTest, CursorResourcesKeepTheirHotSpotAndSystemCursorsStay) {
  Register(RT_GROUP_CURSOR, 8000, CursorFile(32, 5, 7, kGreen));
  HCURSOR c = LoadCursor(GetModuleHandle(nullptr), MAKEINTRESOURCE(8000));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(SystemCursorId(c), 0);
  EXPECT_TRUE(IsCursorHandle(c));
  EXPECT_EQ(LoadCursor(GetModuleHandle(nullptr), MAKEINTRESOURCE(8000)), c);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(c, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 7u);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  EXPECT_EQ(SystemCursorId(LoadCursor(nullptr, IDC_ARROW)), OCR_NORMAL);
  EXPECT_EQ(LoadCursor(GetModuleHandle(nullptr), MAKEINTRESOURCE(8009)), nullptr);

  // A smaller request through LoadImage scales the hot spot with the picture.
  HCURSOR half = static_cast<HCURSOR>(LoadImage(nullptr, MAKEINTRESOURCE(8000), IMAGE_CURSOR, 16, 16, 0));
  POINT hot{};
  TRawImage img;
  ASSERT_TRUE(GetIconImage(half, &img, &hot));
  EXPECT_EQ(img.Width, 16);
  EXPECT_EQ(hot.x, 2);
  EXPECT_EQ(hot.y, 3);
  EXPECT_TRUE(DestroyCursor(half));
}

TEST_F(ResourceTest, BitmapsFromResourcesAndFiles) {
  TRawImage pic(3, 2, 0xFF102030u);
  pic.At(2, 1) = 0xFFFF8000u;
  Register(RT_BITMAP, "TESTBMP", EncodeBmp(pic, 24));
  HBITMAP b = LoadBitmap(nullptr, "TESTBMP");
  ASSERT_NE(b, nullptr);
  BITMAP bm;
  ASSERT_GT(GetObject(b, sizeof(bm), &bm), 0);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0xFF, 0x80, 0x00));
  SelectObject(dc, old);
  DeleteObject(b);

  HBITMAP big = static_cast<HBITMAP>(LoadImage(nullptr, "TESTBMP", IMAGE_BITMAP, 6, 4, LR_CREATEDIBSECTION));
  ASSERT_NE(big, nullptr);
  ASSERT_GT(GetObject(big, sizeof(bm), &bm), 0);
  EXPECT_EQ(bm.bmWidth, 6);
  old = SelectObject(dc, big);
  EXPECT_EQ(GetPixel(dc, 5, 3), RGB(0xFF, 0x80, 0x00));
  SelectObject(dc, old);
  DeleteObject(big);
  DeleteDC(dc);

  // From files: a bitmap and an icon; missing files and damaged data give nothing.
  std::string dir = ::testing::TempDir();
  std::string bmpPath = dir + "/lorm_res_test.bmp", icoPath = dir + "/lorm_res_test.ico";
  for (auto [path, bytes] : {std::pair{bmpPath, EncodeBmp(pic, 24)}, std::pair{icoPath, TwoSizeIcon()}}) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  HBITMAP fromFile = static_cast<HBITMAP>(LoadImage(nullptr, bmpPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(fromFile, nullptr);
  DeleteObject(fromFile);
  HICON icon = static_cast<HICON>(
      LoadImage(nullptr, icoPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(IconSize(icon).cx, 32);
  DestroyIcon(icon);
  EXPECT_EQ(LoadImage(nullptr, (dir + "/lorm_no_such_file.ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImage(nullptr, bmpPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);  // not an icon
  std::remove(bmpPath.c_str());
  std::remove(icoPath.c_str());

  Register(RT_BITMAP, "BROKENBMP", TByteBuffer{'B', 'M', 1, 2, 3});
  EXPECT_EQ(LoadBitmap(nullptr, "BROKENBMP"), nullptr);
  Register(RT_GROUP_ICON, "BROKENICO", TByteBuffer{0, 0, 1, 0, 1, 0, 16, 16});
  EXPECT_EQ(LoadIcon(nullptr, "BROKENICO"), nullptr);
}

TEST(SystemIcons, LoadIconGivesSharedSystemIcons) {
  HICON app = LoadIcon(nullptr, IDI_APPLICATION);
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, IDI_APPLICATION), app);
  EXPECT_EQ(IconSize(app).cx, GetSystemMetrics(SM_CXICON));
  HICON error = LoadIcon(nullptr, IDI_ERROR);
  ASSERT_NE(error, nullptr);
  COLORREF c = Center(error, 32, 32);
  EXPECT_GT(GetRValue(c), 200);  // a red disc with a white cross: the centre is white
  EXPECT_GT(GetGValue(c), 200);
  HICON small = static_cast<HICON>(LoadImage(nullptr, IDI_WARNING, IMAGE_ICON, 16, 16, LR_SHARED));
  EXPECT_EQ(IconSize(small).cx, 16);
  if (const char* dir = std::getenv("LORM_ICON_PNG_DIR")) {  // for looking at them
    LPCSTR ids[] = {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION, IDI_SHIELD};
    TCanvasDC sheet(6 * 40, 60, GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < 6; ++i) {
      DrawIcon(sheet.Dc, 4 + 40 * i, 4, LoadIcon(nullptr, ids[i]));
      DrawIconEx(sheet.Dc, 12 + 40 * i, 40, LoadIcon(nullptr, ids[i]), 16, 16, 0, nullptr, DI_NORMAL);
    }
    TRawImage out(6 * 40, 60);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 6 * 40; ++x) {
        COLORREF c = sheet.At(x, y);
        out.At(x, y) = MakeArgb(255, GetRValue(c), GetGValue(c), GetBValue(c));
      }
    TByteBuffer png = EncodePng(out);
    std::ofstream(std::string(dir) + "/system_icons.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  }
}

// ---- icon objects -----------------------------------------------------------------------------
// Each pixel of a mask icon drawn normally: AND with the mask, then XOR with the image.
TEST(IconObjects, MaskAndImageCombineWithTheScreen) {
  // Pixels: colour red with clear mask; black with set mask; white with set mask; blue with clear mask.
  const BYTE andBits[] = {0x60, 0x00};  // row of 4 pixels, padded to 16 bits: 0110
  const std::uint32_t colors[] = {0x00FF0000u, 0x00000000u, 0x00FFFFFFu, 0x000000FFu};
  HICON icon = CreateIcon(nullptr, 4, 1, 1, 32, andBits, reinterpret_cast<const BYTE*>(colors));
  ASSERT_NE(icon, nullptr);
  const COLORREF screen = RGB(10, 200, 30);
  struct Case {
    UINT Flags;
    COLORREF Want[4];
  } cases[] = {
      {DI_NORMAL, {RGB(255, 0, 0), screen, RGB(245, 55, 225), RGB(0, 0, 255)}},
      {DI_MASK, {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)}},
      {DI_IMAGE, {RGB(255, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 255)}},
  };
  for (const Case& c : cases) {
    TCanvasDC dc(6, 3, screen);
    ASSERT_TRUE(DrawIconEx(dc.Dc, 1, 1, icon, 0, 0, 0, nullptr, c.Flags));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dc.At(1 + x, 1), c.Want[x]) << "flags " << c.Flags << " pixel " << x;
    EXPECT_EQ(dc.At(0, 1), screen);
    EXPECT_EQ(dc.At(5, 1), screen);
    EXPECT_EQ(dc.At(1, 0), screen);
  }
  DestroyIcon(icon);
}

TEST(IconObjects, AlphaIconsBlendAndScaleToTheRequestedSize) {
  TRawImage img(32, 32, 0xFF0000FFu);
  img.At(0, 0) = 0x80FF0000u;  // half-transparent red
  for (int y = 30; y < 32; ++y)
    for (int x = 30; x < 32; ++x) img.At(x, y) = 0;  // a fully transparent corner
  HICON icon = CreateIconFromImage(img);
  TCanvasDC dc(40, 40, RGB(255, 255, 255));
  ASSERT_TRUE(DrawIcon(dc.Dc, 2, 2, icon));
  COLORREF half = dc.At(2, 2);
  EXPECT_EQ(GetRValue(half), 255);
  EXPECT_NEAR(GetGValue(half), 127, 2);
  EXPECT_EQ(dc.At(33, 33), RGB(255, 255, 255));
  EXPECT_EQ(dc.At(10, 10), RGB(0, 0, 255));

  TCanvasDC small(20, 20, RGB(255, 255, 255));
  ASSERT_TRUE(DrawIconEx(small.Dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(small.At(8, 8), RGB(0, 0, 255));
  EXPECT_EQ(small.At(16, 8), RGB(255, 255, 255));  // nothing outside 16×16
  // With a brush the whole rectangle is filled first.
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  TCanvasDC brushed(20, 20, RGB(255, 255, 255));
  DrawIconEx(brushed.Dc, 0, 0, icon, 16, 16, 0, green, DI_NORMAL);
  EXPECT_EQ(brushed.At(15, 15), RGB(0, 255, 0));  // the transparent corner shows the brush
  DeleteObject(green);
  // The system's icon size with DI_DEFAULTSIZE.
  TCanvasDC def(40, 40, RGB(255, 255, 255));
  HICON tiny = CreateIconFromImage(TRawImage(8, 8, 0xFF00FF00u));
  DrawIconEx(def.Dc, 0, 0, tiny, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
  EXPECT_EQ(def.At(31, 31), RGB(0, 255, 0));
  EXPECT_EQ(def.At(32, 32), RGB(255, 255, 255));
  DestroyIcon(tiny);
  DestroyIcon(icon);
}

TEST(IconObjects, IndirectCreationAndInfoRoundTrip) {
  // Colour drawn with GDI (opaque) plus a mask: the mask decides, not the alpha.
  HBITMAP color = CreateCompatibleBitmap(nullptr, 4, 4);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, color);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all = MakeRect(0, 0, 4, 4);
  FillRect(dc, &all, red);
  DeleteObject(red);
  SelectObject(dc, old);
  const BYTE maskBits[] = {0xC0, 0, 0xC0, 0, 0, 0, 0, 0};  // top-left 2×2 set
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, maskBits);
  // Black where the mask is set, so those pixels are transparent.
  SelectObject(dc, color);
  RECT corner = MakeRect(0, 0, 2, 2);
  FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);

  ICONINFO ii;
  ii.fIcon = FALSE;
  ii.xHotspot = 3;
  ii.yHotspot = 1;
  ii.hbmColor = color;
  ii.hbmMask = mask;
  HCURSOR cur = CreateIconIndirect(&ii);
  DeleteObject(color);  // the cursor keeps its own copies
  DeleteObject(mask);
  ASSERT_NE(cur, nullptr);
  TCanvasDC canvas(4, 4, RGB(0, 0, 255));
  DrawIconEx(canvas.Dc, 0, 0, cur, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(3, 3), RGB(255, 0, 0));

  HCURSOR copy = CopyIcon(cur);
  DestroyCursor(cur);
  ICONINFO back;
  ASSERT_TRUE(GetIconInfo(copy, &back));
  EXPECT_FALSE(back.fIcon);
  EXPECT_EQ(back.xHotspot, 3u);
  ASSERT_NE(back.hbmColor, nullptr);
  ICONINFO again = back;
  HCURSOR rebuilt = CreateIconIndirect(&again);
  TCanvasDC c2(4, 4, RGB(0, 0, 255));
  DrawIconEx(c2.Dc, 0, 0, rebuilt, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c2.At(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(c2.At(2, 2), RGB(255, 0, 0));
  DeleteObject(back.hbmColor);
  DeleteObject(back.hbmMask);
  DestroyCursor(copy);
  DestroyCursor(rebuilt);

  // Monochrome: one double-height mask bitmap, AND above XOR.
  const BYTE andRow[] = {0x80, 0, 0x80, 0}, xorRow[] = {0x40, 0, 0x40, 0};
  HICON mono = CreateIcon(nullptr, 2, 2, 1, 1, andRow, xorRow);
  ASSERT_TRUE(GetIconInfo(mono, &back));
  EXPECT_EQ(back.hbmColor, nullptr);
  BITMAP bm;
  GetObject(back.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmHeight, 4);
  DeleteObject(back.hbmMask);
  TCanvasDC c3(2, 2, RGB(0, 0, 255));
  DrawIcon(c3.Dc, 0, 0, mono);
  EXPECT_EQ(c3.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c3.At(1, 0), RGB(255, 255, 255));
  DestroyIcon(mono);

  // An alpha icon keeps its translucent pixels through GetIconInfo and back.
  TRawImage translucent(3, 3, 0xFF00FF00u);
  translucent.At(1, 1) = 0x80FF0000u;
  translucent.At(2, 2) = 0;
  HICON alpha = CreateIconFromImage(translucent);
  ASSERT_TRUE(GetIconInfo(alpha, &back));
  HICON alphaBack = CreateIconIndirect(&back);
  DeleteObject(back.hbmColor);
  DeleteObject(back.hbmMask);
  TRawImage seen;
  ASSERT_TRUE(GetIconImage(alphaBack, &seen));
  EXPECT_EQ(seen.At(1, 1), 0x80FF0000u);
  EXPECT_EQ(seen.At(0, 0), 0xFF00FF00u);
  EXPECT_EQ(ArgbAlpha(seen.At(2, 2)), 0);
  DestroyIcon(alpha);
  DestroyIcon(alphaBack);

  // Dead and bad handles fail cleanly.
  EXPECT_FALSE(GetIconInfo(mono, &back));
  EXPECT_FALSE(DrawIcon(c3.Dc, 0, 0, mono));
  EXPECT_EQ(CopyIcon(mono), nullptr);
  EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
  ICONINFO none;
  EXPECT_EQ(CreateIconIndirect(&none), nullptr);
}

TEST(IconObjects, CreateFromResourceBitsReadsMaskAndHotSpot) {
  // A 24-bit image whose mask (stored bottom-up) clears the top row.
  TRawImage color(2, 2, 0xFF00FF00u);
  color.At(0, 0) = color.At(1, 0) = 0xFF000000u;
  TByteBuffer dib = MaskedDib(color, {1, 1, 0, 0});
  HICON icon = CreateIconFromResourceEx(dib.data(), DWORD(dib.size()), TRUE, 0x30000, 0, 0, 0);
  ASSERT_NE(icon, nullptr);
  TCanvasDC dc(2, 2, RGB(0, 0, 255));
  DrawIcon(dc.Dc, 0, 0, icon);
  EXPECT_EQ(dc.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dc.At(1, 1), RGB(0, 255, 0));
  DestroyIcon(icon);

  // A cursor image starts with its hot spot.
  TByteBuffer cur{1, 0, 1, 0};
  cur.insert(cur.end(), dib.begin(), dib.end());
  HCURSOR c = CreateIconFromResourceEx(cur.data(), DWORD(cur.size()), FALSE, 0x30000, 0, 0, 0);
  ASSERT_NE(c, nullptr);
  POINT hot{};
  GetIconImage(c, nullptr, &hot);
  EXPECT_EQ(hot.x, 1);
  EXPECT_EQ(hot.y, 1);
  DestroyCursor(c);

  // A PNG image is an alpha icon.
  TByteBuffer png = EncodePng(TRawImage(3, 3, 0x80FF0000u));
  HICON p = CreateIconFromResourceEx(png.data(), DWORD(png.size()), TRUE, 0x30000, 0, 0, 0);
  ASSERT_NE(p, nullptr);
  TRawImage back;
  GetIconImage(p, &back);
  EXPECT_EQ(back.At(1, 1), 0x80FF0000u);
  DestroyIcon(p);

  // Damaged data: nothing, never a crash.
  TByteBuffer cut(dib.begin(), dib.begin() + 30);
  EXPECT_EQ(CreateIconFromResourceEx(cut.data(), DWORD(cut.size()), TRUE, 0x30000, 0, 0, 0), nullptr);
  TByteBuffer junk(64, 0xAB);
  EXPECT_EQ(CreateIconFromResourceEx(junk.data(), DWORD(junk.size()), TRUE, 0x30000, 0, 0, 0), nullptr);
  EXPECT_EQ(CreateIconFromResourceEx(nullptr, 10, TRUE, 0x30000, 0, 0, 0), nullptr);
  TByteBuffer whole = TwoSizeIcon();
  whole.resize(whole.size() - 10);  // the last image runs past the end
  EXPECT_EQ(CreateIconFromResourceEx(whole.data(), DWORD(whole.size()), TRUE, 0x30000, 0, 0, 0), nullptr);
}

// ---- icons of windows -------------------------------------------------------------------------
class WindowIconTest : public WinTest {};

TEST_F(WindowIconTest, SetIconReturnsThePreviousAndTheCaptionShowsTheSmallIcon) {
  HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(10, 10, 210, 110), nullptr, 0, "Title");
  HICON big = CreateIconFromImage(TRawImage(32, 32, kBlue));
  HICON small = CreateIconFromImage(TRawImage(16, 16, kRed));
  EXPECT_EQ(SendMessage(h, WM_SETICON, ICON_BIG, LPARAM(big)), 0);
  EXPECT_EQ(SendMessage(h, WM_GETICON, ICON_SMALL2, 0), LPARAM(big));  // no small one yet
  EXPECT_EQ(SendMessage(h, WM_GETICON, ICON_SMALL, 0), 0);
  UpdateAllWindows();
  cairo_surface_t* s = GetWindowSurface(h);
  ASSERT_NE(s, nullptr);
  int f = GetSystemMetrics(SM_CXFRAME);
  auto pixel = [&](int x, int y) {
    cairo_surface_flush(s);
    auto* data = cairo_image_surface_get_data(s);
    return reinterpret_cast<std::uint32_t*>(data + y * cairo_image_surface_get_stride(s))[x] & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(f + 10, f + 9), 0x0000FFu);  // the big icon, shrunk
  EXPECT_EQ(SendMessage(h, WM_SETICON, ICON_SMALL, LPARAM(small)), 0);
  UpdateAllWindows();
  EXPECT_EQ(pixel(f + 10, f + 9), 0xFF0000u);
  EXPECT_EQ(SendMessage(h, WM_GETICON, ICON_SMALL2, 0), LPARAM(small));
  EXPECT_EQ(SendMessage(h, WM_SETICON, ICON_SMALL, 0), LPARAM(small));
  EXPECT_EQ(SendMessage(h, WM_SETICON, ICON_BIG, 0), LPARAM(big));
  UpdateAllWindows();
  EXPECT_NE(pixel(f + 10, f + 9), 0xFF0000u);
  EXPECT_NE(pixel(f + 10, f + 9), 0x0000FFu);
  DestroyIcon(big);
  DestroyIcon(small);
  // A destroyed icon still set on a window is not drawn.
  HICON gone = CreateIconFromImage(TRawImage(16, 16, kRed));
  SendMessage(h, WM_SETICON, ICON_SMALL, LPARAM(gone));
  DestroyIcon(gone);
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  UpdateAllWindows();
  EXPECT_NE(pixel(f + 10, f + 9), 0xFF0000u);
}

// A folder, a FIFO or an endless device named as an image file: no handle and no hang.
TEST(Resources, LoadFromFileRefusesOddFilesWithoutBlocking) {
  char pattern[] = "/tmp/lorm-loadimage-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = pattern, fifo = dir + "/icon.ico";
  ASSERT_TRUE(MakeFifo(fifo));
  for (const std::string& path : {dir, fifo, std::string("/dev/zero")}) {
    for (UINT type : {UINT(IMAGE_BITMAP), UINT(IMAGE_ICON)}) {
      HANDLE h = reinterpret_cast<HANDLE>(1);
      ASSERT_TRUE(ReturnsWithoutBlocking(fifo, [&] { h = LoadImage(nullptr, path.c_str(), type, 0, 0, LR_LOADFROMFILE); }))
          << path;
      EXPECT_EQ(h, nullptr) << path;
    }
  }
  std::remove(fifo.c_str());
  ::rmdir(dir.c_str());
}
