// TIcon's system icon handle, its stored form, drawing, and the icon in a form's caption.
#include "ControlsTestSupport.h"

#include <cstdlib>
#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/gdi/SysColors.h"
#include "platform/image/IconCodec.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/WinResource.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u;

// A red 16×16 image and a blue 32×32 one; the top-left pixel of each is transparent.
TByteBuffer TwoSizeIcon(std::uint32_t small = kRed, std::uint32_t big = kBlue) {
  TIconFile file;
  for (auto [size, color] : {std::pair{16, small}, std::pair{32, big}}) {
    TIconEntry e;
    e.Image = TRawImage(size, size, color);
    e.Image.At(0, 0) = 0;
    file.Entries.push_back(e);
  }
  return EncodeIcon(file);
}

void LoadIcon(TIcon& icon, const TByteBuffer& bytes) {
  TMemoryStream s;
  s.Write(bytes.data(), int64_t(bytes.size()));
  s.Seek(0, soBeginning);
  icon.LoadFromStream(s);
}

int HandleWidth(HICON h) {
  TRawImage img;
  return GetIconImage(h, &img) ? img.Width : 0;
}

// Window pixels (0x00RRGGBB) of a top-level window's back buffer after painting.
std::uint32_t WindowPixelAt(HWND h, int x, int y) {
  UpdateAllWindows();
  cairo_surface_t* s = GetWindowSurface(h);
  cairo_surface_flush(s);
  auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
  return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

// The leftmost caption column holding caption-text coloured pixels.
int FirstTextColumn(HWND h) {
  UpdateAllWindows();
  RECT wr;
  GetWindowRect(h, &wr);
  int f = GetSystemMetrics(SM_CXFRAME), ch = GetSystemMetrics(SM_CYCAPTION);
  COLORREF text = GetSysColor(COLOR_CAPTIONTEXT);
  std::uint32_t want = (GetRValue(text) << 16) | (GetGValue(text) << 8) | GetBValue(text);
  for (int x = f; x < RectWidth(wr) / 2; ++x)
    for (int y = f; y < f + ch - 1; ++y)
      if (WindowPixelAt(h, x, y) == want) return x;
  return -1;
}

class IconTest : public VclTest {
protected:
  void TearDown() override {
    Application->SetIcon(nullptr);
    VclTest::TearDown();
  }
};

}  // namespace

TEST_F(IconTest, HandleFollowsTheChosenImageAndIsFreedWithThePictures) {
  int live = LiveIconCount();
  {
    TIcon icon;
    EXPECT_EQ(icon.Handle(), nullptr);  // empty: no handle
    LoadIcon(icon, TwoSizeIcon());
    HICON big = icon.Handle();
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(icon.Handle(), big);
    EXPECT_EQ(HandleWidth(big), 32);
    icon.SetSize(16, 16);
    EXPECT_FALSE(IsIconHandle(big));  // another image chosen: the old handle is gone
    HICON small = icon.Handle();
    EXPECT_EQ(HandleWidth(small), 16);
    TRawImage img;
    GetIconImage(small, &img);
    EXPECT_EQ(img.At(0, 0), 0u);  // the transparent pixel stays transparent
    EXPECT_EQ(img.At(5, 5), kRed);
    LoadIcon(icon, TwoSizeIcon(kGreen, kGreen));
    EXPECT_FALSE(IsIconHandle(small));
    icon.Handle();
    EXPECT_EQ(LiveIconCount(), live + 1);
  }
  EXPECT_EQ(LiveIconCount(), live);
}

TEST_F(IconTest, SetHandleTakesOwnershipAndReleaseHandleGivesItBack) {
  int live = LiveIconCount();
  TRawImage pic(24, 24, kGreen);
  pic.At(3, 4) = 0x40FF0000u;
  HICON h = CreateIconFromImage(pic);
  {
    TIcon icon;
    icon.SetHandle(h);
    EXPECT_EQ(icon.Handle(), h);
    EXPECT_EQ(icon.GetWidth(), 24);
    // Saved as an icon file with that picture.
    TMemoryStream s;
    icon.SaveToStream(s);
    TIconFile back = DecodeIcon(TBytesView(s.Data()));
    ASSERT_EQ(back.Entries.size(), 1u);
    EXPECT_EQ(back.Entries[0].Image.At(3, 4), 0x40FF0000u);
    EXPECT_EQ(back.Entries[0].Image.At(10, 10), kGreen);
  }
  EXPECT_FALSE(IsIconHandle(h));  // the icon owned it
  EXPECT_EQ(LiveIconCount(), live);

  TIcon icon;
  LoadIcon(icon, TwoSizeIcon());
  HICON released = icon.ReleaseHandle();
  ASSERT_NE(released, nullptr);
  EXPECT_FALSE(icon.HandleAllocated());
  EXPECT_FALSE(icon.GetEmpty());  // the pictures stay
  HICON again = icon.Handle();
  EXPECT_NE(again, released);
  icon.SetHandle(nullptr);
  EXPECT_TRUE(icon.GetEmpty());
  EXPECT_FALSE(IsIconHandle(again));
  EXPECT_TRUE(IsIconHandle(released));  // the caller's now
  EXPECT_TRUE(DestroyIcon(released));
  EXPECT_THROW(icon.SetHandle(released), EInvalidGraphic);
}

TEST_F(IconTest, StoredFormKeepsTheIconFileAsData) {
  TByteBuffer bytes = TwoSizeIcon();
  auto* form = new TForm(nullptr);
  form->SetName("IconForm");
  LoadIcon(*form->Icon(), bytes);
  std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("Icon.Data = {"), std::string::npos);
  delete form;
  auto* back = new TForm(nullptr);
  ReadComponentFromText(text, back);
  TMemoryStream saved;
  back->Icon()->SaveToStream(saved);
  EXPECT_EQ(saved.Data(), bytes);  // byte for byte
  EXPECT_EQ(back->Icon()->IconFile().Entries.size(), 2u);
  delete back;
}

TEST_F(IconTest, DrawUsesTheImageForTheSizeWithItsTransparency) {
  TIcon icon;
  LoadIcon(icon, TwoSizeIcon());
  TBitmap bmp(40, 20);
  bmp.Canvas()->Brush()->SetColor(clWhite);
  bmp.Canvas()->FillRect(TRect{0, 0, 40, 20});
  bmp.Canvas()->StretchDraw(TRect{0, 0, 16, 16}, &icon);
  EXPECT_EQ(bmp.Canvas()->GetPixel(8, 8), clRed);
  EXPECT_EQ(bmp.Canvas()->GetPixel(0, 0), clWhite);
  EXPECT_EQ(bmp.Canvas()->GetPixel(16, 8), clWhite);
  bmp.Canvas()->StretchDraw(TRect{20, 0, 40, 20}, &icon);  // 20×20: the 32×32 shrunk
  EXPECT_EQ(bmp.Canvas()->GetPixel(30, 10), clBlue);
}

TEST_F(IconTest, FormCaptionShowsTheIconBeforeTheTitle) {
  auto* form = new TForm(nullptr);
  form->SetBounds(100, 100, 260, 120);
  form->SetCaption("Калибровка");
  form->Show();
  Pump();
  HWND h = form->Handle();
  int noIconText = FirstTextColumn(h);
  ASSERT_GT(noIconText, 0);
  EXPECT_EQ(SendMessage(h, WM_GETICON, ICON_SMALL, 0), 0);

  LoadIcon(*form->Icon(), TwoSizeIcon());
  Pump();
  HICON small = reinterpret_cast<HICON>(SendMessage(h, WM_GETICON, ICON_SMALL, 0));
  HICON big = reinterpret_cast<HICON>(SendMessage(h, WM_GETICON, ICON_BIG, 0));
  EXPECT_EQ(HandleWidth(small), 16);
  EXPECT_EQ(big, form->Icon()->Handle());
  int f = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(WindowPixelAt(h, f + 10, f + 9), 0xFF0000u);  // the red 16×16 image
  int withIconText = FirstTextColumn(h);
  EXPECT_GE(withIconText, f + 2 + 16);
  EXPECT_GT(withIconText, noIconText);
  if (const char* dir = std::getenv("LORM_ICON_PNG_DIR"))
    SaveWindowPng(h, (std::filesystem::path(dir) / "form_caption_icon.png").string());

  // A new picture reaches the caption; the small icon made for it replaces the old one.
  LoadIcon(*form->Icon(), TwoSizeIcon(kGreen, kBlue));
  Pump();
  EXPECT_FALSE(IsIconHandle(small));
  EXPECT_EQ(WindowPixelAt(h, f + 10, f + 9), 0x00FF00u);
  if (const char* dir = std::getenv("LORM_ICON_PNG_DIR")) {  // a drawn icon, shrunk for the caption
    form->Icon()->SetHandle(CopyIcon(LoadIcon(nullptr, IDI_INFORMATION)));
    Pump();
    SaveWindowPng(h, (std::filesystem::path(dir) / "form_caption_info_icon.png").string());
  }
  int live = LiveIconCount();
  delete form;
  EXPECT_EQ(LiveIconCount(), live - 2);  // the small icon and the form icon's handle
}

TEST_F(IconTest, FormsWithoutAnIconShowTheApplicationIcon) {
  auto* plain = new TForm(nullptr);
  plain->SetBounds(100, 100, 200, 100);
  plain->SetCaption("A");
  auto* own = new TForm(nullptr);
  own->SetBounds(100, 250, 200, 100);
  own->SetCaption("B");
  LoadIcon(*own->Icon(), TwoSizeIcon(kGreen, kGreen));
  plain->Show();
  own->Show();
  Pump();
  int f = GetSystemMetrics(SM_CXFRAME);
  TIcon app;
  LoadIcon(app, TwoSizeIcon(kRed, kRed));
  Application->SetIcon(&app);  // forms already shown follow
  Pump();
  EXPECT_EQ(WindowPixelAt(plain->Handle(), f + 10, f + 9), 0xFF0000u);
  EXPECT_EQ(WindowPixelAt(own->Handle(), f + 10, f + 9), 0x00FF00u);
  own->Icon()->SetHandle(nullptr);  // its own icon gone: the application's shows
  Pump();
  EXPECT_EQ(WindowPixelAt(own->Handle(), f + 10, f + 9), 0xFF0000u);
  // Dialog frames show no icon.
  auto* dialog = new TForm(nullptr);
  dialog->SetBorderStyle(bsDialog);
  dialog->SetBounds(300, 100, 200, 100);
  dialog->Show();
  Pump();
  EXPECT_NE(WindowPixelAt(dialog->Handle(), GetSystemMetrics(SM_CXDLGFRAME) + 10, GetSystemMetrics(SM_CXDLGFRAME) + 9),
            0xFF0000u);
  Application->SetIcon(nullptr);
  Pump();
  EXPECT_NE(WindowPixelAt(plain->Handle(), f + 10, f + 9), 0xFF0000u);
  delete dialog;
  delete own;
  delete plain;
}
