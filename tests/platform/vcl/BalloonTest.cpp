// Balloon tips of the edit (EM_SHOWBALLOONTIP): a non-activating balloon window whose stem
// points at the caret, gone on typing, focus loss, a click anywhere, its timeout or the
// edit's end; its look checked at sample points and composed with the form into a PNG.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/SysColors.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/StdEdit.h"
#include "platform/win/ToolTip.h"

namespace {

// Draws the form and the balloon at their places on one picture.
void ComposeSnapshot(HWND form, HWND tip, const std::string& path) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string formPng = (dir / "lorm_balloon_form.png").string(), tipPng = (dir / "lorm_balloon_tip.png").string();
  ASSERT_TRUE(SaveWindowPng(form, formPng));
  ASSERT_TRUE(SaveWindowPng(tip, tipPng));
  RECT fr, tr;
  GetWindowRect(form, &fr);
  GetWindowRect(tip, &tr);
  const int left = std::min(fr.left, tr.left) - 10, top = std::min(fr.top, tr.top) - 10;
  const int right = std::max(fr.right, tr.right) + 10, bottom = std::max(fr.bottom, tr.bottom) + 10;
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, right - left, bottom - top);
  cairo_t* cr = cairo_create(out);
  const COLORREF desk = GetSysColor(COLOR_BACKGROUND);
  cairo_set_source_rgb(cr, GetRValue(desk) / 255.0, GetGValue(desk) / 255.0, GetBValue(desk) / 255.0);
  cairo_paint(cr);
  for (auto [png, r] : {std::pair{formPng, fr}, std::pair{tipPng, tr}}) {
    cairo_surface_t* img = cairo_image_surface_create_from_png(png.c_str());
    cairo_set_source_surface(cr, img, r.left - left, r.top - top);
    cairo_paint(cr);
    cairo_surface_destroy(img);
    std::filesystem::remove(png);
  }
  cairo_destroy(cr);
  EXPECT_EQ(cairo_surface_write_to_png(out, path.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(out);
}

class BalloonTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TEdit* Other = nullptr;

  void SetUp() override {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(100, 100, 360, 220);
    Form->SetColor(clBtnFace);
    Edit = AddEdit(20, 20);
    Other = AddEdit(20, 60);
    Form->Show();
    Scope.Backend().Pump();
    Robot.Click(Edit->Handle(), 3, 5);
    Robot.Type("12345");
  }
  void TearDown() override {
    Application->Restart();
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
  }
  TEdit* AddEdit(int x, int y) {
    auto* e = new TEdit(Form);
    e->SetParent(Form);
    e->SetBounds(x, y, 200, e->Height());
    return e;
  }
  HWND Show(const std::u16string& title, const std::u16string& text, int icon) {
    EDITBALLOONTIP tip;
    tip.pszTitle = title.c_str();
    tip.pszText = text.c_str();
    tip.ttiIcon = icon;
    EXPECT_TRUE(SendMessage(Edit->Handle(), EM_SHOWBALLOONTIP, 0, LPARAM(&tip)));
    TEditBalloon shown;
    if (!GetEditBalloonTip(Edit->Handle(), &shown)) return nullptr;
    return shown.Window;
  }
  bool Shown() { return GetEditBalloonTip(Edit->Handle(), nullptr); }
  // The screen point under the caret (the edit has the focus and its caret).
  POINT CaretFoot() {
    const TCaretInfo caret = GetCaretInfo();
    EXPECT_EQ(caret.Window, Edit->Handle());
    POINT p{caret.Rect.left, caret.Rect.bottom};
    ClientToScreen(Edit->Handle(), &p);
    return p;
  }
  POINT CaretHead() {
    const TCaretInfo caret = GetCaretInfo();
    POINT p{caret.Rect.left, caret.Rect.top};
    ClientToScreen(Edit->Handle(), &p);
    return p;
  }
};

TEST_F(BalloonTest, ShownAtTheCaretWithoutTakingActivationOrFocus) {
  Edit->SetSelStart(2);
  const HWND active = GetActiveWindow(), focus = GetFocus();
  ASSERT_EQ(focus, Edit->Handle());
  HWND tip = Show(u"Ошибка", u"Допустимы только цифры", TTI_ERROR);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(GetClassNameStr(tip), TOOLTIPS_CLASS);
  EXPECT_TRUE(GetWindowLong(tip, GWL_STYLE) & TTS_BALLOON);
  EXPECT_TRUE(GetWindowLong(tip, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(GetWindow(tip, GW_OWNER), Form->Handle());
  Scope.Backend().Pump();
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_EQ(GetFocus(), focus);

  TBalloonTipInfo info;
  ASSERT_TRUE(GetBalloonTipInfo(tip, &info));
  const POINT foot = CaretFoot();
  EXPECT_EQ(info.Stem.x, foot.x);
  EXPECT_EQ(info.Stem.y, foot.y);
  EXPECT_TRUE(info.Below);
  EXPECT_GT(info.Body.top, info.Stem.y);
  EXPECT_EQ(info.Title, u"Ошибка");
  EXPECT_EQ(info.Icon, TTI_ERROR);

  // Another caret position: the next balloon replaces this one and follows the caret.
  Edit->SetSelStart(5);
  HWND next = Show(u"", u"Другая подсказка", TTI_NONE);
  ASSERT_NE(next, nullptr);
  Scope.Backend().Pump();
  EXPECT_FALSE(IsWindow(tip));
  ASSERT_TRUE(GetBalloonTipInfo(next, &info));
  EXPECT_EQ(info.Stem.x, CaretFoot().x);
  EXPECT_GT(info.Stem.x, foot.x);
}

TEST_F(BalloonTest, TypingHidesItAndTheKeyStillArrives) {
  HWND tip = Show(u"Подсказка", u"Текст", TTI_INFO);
  ASSERT_NE(tip, nullptr);
  Robot.Type("6");
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_EQ(Edit->Text(), "123456");
}

TEST_F(BalloonTest, LosingTheFocusHidesIt) {
  HWND tip = Show(u"", u"Текст", TTI_WARNING);
  ASSERT_NE(tip, nullptr);
  Other->SetFocus();
  Scope.Backend().Pump();
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(BalloonTest, TheTimeoutHidesItOnTheLayersClock) {
  HWND tip = Show(u"Подсказка", u"Текст", TTI_INFO);
  ASSERT_NE(tip, nullptr);
  Scope.Backend().Advance(kBalloonTipTimeout - 1);
  EXPECT_TRUE(Shown());
  Scope.Backend().Advance(1);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(BalloonTest, AClickAnywhereHidesItWithoutChangingActivation) {
  // On the form's empty area: the focus stays in the edit, the balloon goes.
  HWND tip = Show(u"Подсказка", u"Текст", TTI_INFO);
  ASSERT_NE(tip, nullptr);
  Robot.Click(Form->Handle(), 300, 150, TInputButton::Right);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_EQ(GetFocus(), Edit->Handle());

  // On the balloon itself: it goes and nothing is activated.
  tip = Show(u"Подсказка", u"Текст", TTI_INFO);
  ASSERT_NE(tip, nullptr);
  TBalloonTipInfo info;
  ASSERT_TRUE(GetBalloonTipInfo(tip, &info));
  const HWND active = GetActiveWindow();
  Robot.Click(nullptr, (info.Body.left + info.Body.right) / 2, (info.Body.top + info.Body.bottom) / 2);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(BalloonTest, HiddenByMessageAndGoneWithTheEdit) {
  HWND tip = Show(u"", u"Текст", TTI_NONE);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(SendMessage(Edit->Handle(), EM_HIDEBALLOONTIP, 0, 0));
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_FALSE(SendMessage(Edit->Handle(), EM_SHOWBALLOONTIP, 0, 0));  // no record

  tip = Show(u"", u"Текст", TTI_NONE);
  ASSERT_NE(tip, nullptr);
  delete Edit;
  Edit = nullptr;
  EXPECT_FALSE(IsWindow(tip));
  Robot.Click(Form->Handle(), 300, 150);  // no balloon left to close, nothing to trip over
}

TEST_F(BalloonTest, NearTheBottomOfTheScreenItOpensAbove) {
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  Form->SetBounds(100, work.bottom - 90, 360, 90);
  Scope.Backend().Pump();
  HWND tip = Show(u"Подсказка", u"Текст подсказки\nв две строки", TTI_WARNING);
  ASSERT_NE(tip, nullptr);
  TBalloonTipInfo info;
  ASSERT_TRUE(GetBalloonTipInfo(tip, &info));
  EXPECT_FALSE(info.Below);
  EXPECT_LT(info.Body.bottom, info.Stem.y);
  RECT r;
  GetWindowRect(tip, &r);
  EXPECT_LE(r.bottom, work.bottom);
  EXPECT_EQ(info.Stem.y, CaretHead().y);  // pointing at the caret's line from above
  EXPECT_EQ(info.Stem.x, CaretHead().x);
  if (const char* dir = std::getenv("LORM_SNAPSHOT_DIR"))
    ComposeSnapshot(Form->Handle(), tip, (std::filesystem::path(dir) / "lorm_edit_balloon_above.png").string());
}

TEST_F(BalloonTest, LooksLikeABalloon) {
  Edit->SetSelStart(3);
  HWND tip = Show(u"Неверное значение", u"Коэффициент должен быть числом от 0 до 100.", TTI_ERROR);
  ASSERT_NE(tip, nullptr);
  TBalloonTipInfo info;
  ASSERT_TRUE(GetBalloonTipInfo(tip, &info));
  RECT w;
  GetWindowRect(tip, &w);
  auto at = [&](int sx, int sy) { return WindowPixel(tip, sx - w.left, sy - w.top); };
  const COLORREF back = GetSysColor(COLOR_INFOBK), ink = GetSysColor(COLOR_INFOTEXT);
  const int midY = (info.Body.top + info.Body.bottom) / 2;
  EXPECT_EQ(at(info.Body.right - 3, midY), back);   // inside, right of the text
  EXPECT_EQ(at(info.Body.right - 1, midY), ink);    // the border
  EXPECT_EQ(at(info.Body.left + 40, info.Body.bottom - 1), ink);
  EXPECT_EQ(at(info.Stem.x, info.Stem.y), ink);     // the stem's tip
  EXPECT_EQ(at(info.Stem.x + 3, info.Stem.y + 8), back);  // inside the stem
  // Outside the rounded corner the form shows through; beside the stem too.
  EXPECT_EQ(at(info.Body.left, info.Body.top), ColorToRGB(clBtnFace));
  EXPECT_EQ(at(info.Body.right - 2, info.Stem.y + 1), ColorToRGB(clBtnFace));
  // The error icon is red, the title and text dark.
  int red = 0, dark = 0;
  for (int y = info.Body.top; y < info.Body.bottom; ++y)
    for (int x = info.Body.left + 2; x < info.Body.right - 2; ++x) {
      const COLORREF c = at(x, y);
      red += c == RGB(222, 44, 44);
      dark += y > info.Body.top + 2 && y < info.Body.bottom - 2 && GetRValue(c) < 100 && GetGValue(c) < 100;
    }
  EXPECT_GT(red, 60);
  EXPECT_GT(dark, 150);

  const char* dir = std::getenv("LORM_SNAPSHOT_DIR");
  const auto png = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
                   "lorm_edit_balloon.png";
  ComposeSnapshot(Form->Handle(), tip, png.string());
  if (!dir) std::filesystem::remove(png);
}

}  // namespace
