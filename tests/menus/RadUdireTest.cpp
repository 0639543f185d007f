// The owner-drawn menus on the headless back end: styler values and notifications,
// painting primitives, measuring, shortcut texts, the menu components, the pop-up windows
// they style, the presets, and the main window's menus driven by keys and rendered.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/DizThemeBinding.h"
#include "menus/RadUdirEtylers.h"
#include "menus/RadUdire.h"
#include "menus/ZedIvadUtil.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/LayeredWindow.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

// A menu that only counts how often it is rebuilt (measured again).
class TCountingMenu : public IZedIvad {
public:
  explicit TCountingMenu(TMenu* Menu) : FMenu(Menu) {}
  int Rebuilds = 0;
  void UpdateItems() override { ++Rebuilds; }
  TMenu* GetSelf() override { return FMenu; }
  TCustomRadUdirEtyler* GetMenuStyler() override { return nullptr; }
  TCustomRadUdirEtyler* GetCurrentMenuStyler() override { return nullptr; }
  void SetMenuStyler(TCustomRadUdirEtyler*) override {}
  BYTE GetOpacity() override { return 255; }
  void SetOpacity(BYTE) override {}
  bool GetShowNotes() override { return true; }
  void SetShowNotes(bool) override {}
  bool GetIntlKeybShortCuts() override { return false; }
  void SetIntlKeybShortCuts(bool) override {}

private:
  TMenu* FMenu;
};

TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption, TShortCut ShortCut = 0) {
  auto* item = new TMenuItem(Parent->Owner() ? Parent->Owner() : nullptr);
  item->SetCaption(Caption);
  item->SetShortCut(ShortCut);
  Parent->Add(item);
  return item;
}

class MenusTest : public ::testing::Test {
protected:
  MenusTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 619, 441);
  }
  ~MenusTest() override { Application->Restart(); }

  // The main window's menu bar and its drop-downs; the database menu also holds a
  // checked item, a disabled one and a sub-menu.
  void BuildMainMenu(TCustomRadUdirEtyler* Styler) {
    main = new TVerOvizEzur(form);
    main->BeginUpdate();
    file = AddItem(main->Items(), "&Файл");
    AddItem(file, "Загрузить базу газов", 16460);
    AddItem(file, "Сохранить базу газов", 16467);
    AddItem(file, "-");
    exitItem = AddItem(file, "Выход");
    base = AddItem(main->Items(), "&База газов");
    AddItem(base, "Добавить новую запись", 16462);
    checkedItem = AddItem(base, "Изменить запись", 16451);
    checkedItem->SetChecked(true);
    disabledItem = AddItem(base, "Удалить запись", 16452);
    disabledItem->SetEnabled(false);
    AddItem(base, "-");
    sort = AddItem(base, "Сортировка");
    AddItem(sort, "Передвинуть вверх");
    AddItem(sort, "Передвинуть вниз");
    TMenuItem* coefficients = AddItem(main->Items(), "&Коэффициенты");
    AddItem(coefficients, "Считать из прибора");
    recalc = AddItem(coefficients, "&Пересчитать");
    AddItem(coefficients, "Записать в прибор");
    TMenuItem* help = AddItem(main->Items(), "&Помощь");
    AddItem(help, "О программе");
    main->EndUpdate();
    if (Styler) main->SetMenuStyler(Styler);
    form->SetMenu(main);
  }
  void BuildPopupMenu(TCustomRadUdirEtyler* Styler) {
    popup = new TRerAvideReva(form);
    popup->BeginUpdate();
    AddItem(popup->Items(), "Добавить новую запись", 16462);
    TMenuItem* change = AddItem(popup->Items(), "Изменить запись", 16451);
    change->SetChecked(true);
    AddItem(popup->Items(), "Удалить запись", 16452)->SetEnabled(false);
    AddItem(popup->Items(), "-");
    TMenuItem* move = AddItem(popup->Items(), "Сортировка");
    AddItem(move, "Передвинуть вверх");
    AddItem(move, "Передвинуть вниз");
    popup->EndUpdate();
    if (Styler) popup->SetMenuStyler(Styler);
  }
  std::string Png(const std::string& name) {
    auto dir = std::filesystem::current_path() / "menus_png";
    std::filesystem::create_directories(dir);
    return (dir / (name + ".png")).string();
  }
  RECT BarItem(int index) {
    RECT r{};
    GetMenuItemRect(form->Handle(), main->Handle(), UINT(index), &r);
    return r;
  }
  void Pump() { Headless().Pump(); }

  THeadlessScope scope;
  TRobot robot;
  TForm* form = nullptr;
  TVerOvizEzur* main = nullptr;
  TRerAvideReva* popup = nullptr;
  TMenuItem *file = nullptr, *exitItem = nullptr, *base = nullptr, *checkedItem = nullptr, *disabledItem = nullptr,
            *sort = nullptr, *recalc = nullptr;
};

// ---- rendering --------------------------------------------------------------------------------------

struct RenderCase {
  const char* Name;
  bool Luna;
};

TEST_F(MenusTest, TheMainMenuAndThePopupMenuRenderInBothLooks) {
  for (const RenderCase& c : {RenderCase{"luna", true}, RenderCase{"default", false}}) {
    SCOPED_TRACE(c.Name);
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 619, 441);
    TZedIvadOfficeStyler* styler = nullptr;
    if (c.Luna) {
      styler = new TZedIvadOfficeStyler(form);
      styler->SetStyle(osOffice2007Luna);
    }
    BuildMainMenu(styler);
    BuildPopupMenu(styler);
    form->Show();
    Pump();
    std::string prefix = std::string(c.Name) + "_";
    EXPECT_TRUE(SaveWindowPng(form->Handle(), Png(prefix + "closed")));
    // Alt selects the bar, Right makes the database menu hot, Down opens it; Down selects
    // the checked item; Up twice wraps to the sub-menu, Right opens it.
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_RIGHT); });
    scope.Backend().WhenIdle([&] {
      EXPECT_TRUE(SaveWindowPng(form->Handle(), Png(prefix + "bar_hot")));
      robot.PressKey(VK_DOWN);
    });
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
    scope.Backend().WhenIdle([&] {
      EXPECT_TRUE(SaveWindowPng(form->Handle(), Png(prefix + "bar_open")));
      EXPECT_TRUE(SaveWindowPng(GetMenuWindow(base->Handle()), Png(prefix + "dropdown")));
      robot.PressKey(VK_UP);
    });
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_UP); });
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_RIGHT); });
    scope.Backend().WhenIdle([&] {
      EXPECT_TRUE(SaveWindowPng(GetMenuWindow(base->Handle()), Png(prefix + "dropdown_sub")));
      EXPECT_TRUE(SaveWindowPng(GetMenuWindow(sort->Handle()), Png(prefix + "submenu")));
      robot.PressKey(VK_ESCAPE);
    });
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
    robot.PressKey(VK_MENU);
    Pump();
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
    scope.Backend().WhenIdle([&] {
      EXPECT_TRUE(SaveWindowPng(GetMenuWindow(popup->Handle()), Png(prefix + "popup")));
      robot.PressKey(VK_ESCAPE);
    });
    popup->Popup(300, 200);
    Pump();
  }
}

// ---- styler -----------------------------------------------------------------------------------------

TEST(MenuStyler, ANewStylerHasTheDefaultLook) {
  TCustomRadUdirEtyler s(nullptr);
  struct Case {
    const char* Name;
    TColor Actual, Expected;
  } cases[] = {
      {"MenuBorderColor", s.MenuBorderColor(), 0x7C7C94},
      {"Separator.Color", s.Separator()->Color(), 0x8F6D6E},
      {"Separator.ColorTo", s.Separator()->ColorTo(), clNone},
      {"Background.Color", s.Background()->Color(), 0xFFFAFD},
      {"IconBar.Color", s.IconBar()->Color(), 0xFFF9F9},
      {"IconBar.ColorTo", s.IconBar()->ColorTo(), 0xBBA0A1},
      {"IconBar.CheckColor", s.IconBar()->CheckColor(), 0x6FC0FF},
      {"SelectedItem.Color", s.SelectedItem()->Color(), 0xC2EEFF},
      {"SelectedItem.BorderColor", s.SelectedItem()->BorderColor(), 0x6F4B4B},
      {"SelectedItem.CheckColor", s.SelectedItem()->CheckColor(), 0x3E80FE},
      {"IconBar.CheckBorder", s.IconBar()->CheckBorder(), 0x6F4B4B},
      {"RootItem.Color", s.RootItem()->Color(), 0xE5D7D7},
      {"RootItem.HoverColor", s.RootItem()->GetHoverColor(0), 0xCFF6FF},
      {"RootItem.SelectedBorderColor", s.RootItem()->SelectedBorderColor(), 0x947C7C},
      {"SideBar.SplitterColor", s.SideBar()->SplitterColor(), 0x808080},
      {"SideBar.SplitterColorTo", s.SideBar()->SplitterColorTo(), clBlack},
      {"NotesFont.Color", s.NotesFont()->GetColor(), 0x808080},
      {"ButtonAppearance.DownColor", s.ButtonAppearance()->DownColor(), 0xB59285},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Actual, c.Expected) << c.Name;
  EXPECT_EQ(s.IconBar()->Size(), 24);
  EXPECT_EQ(s.Separator()->Width(), 1);
  EXPECT_EQ(s.Separator()->Margin(), 2);
  EXPECT_EQ(s.Separator()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.IconBar()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.Background()->Position(), bpCenter);
  EXPECT_FALSE(s.SideBar()->Visible());
  EXPECT_EQ(s.SideBar()->Font()->GetName(), "Tahoma");
  EXPECT_EQ(s.SideBar()->Font()->GetSize(), 14);
  EXPECT_EQ(s.AntiAlias(), aaNone);
  EXPECT_TRUE(s.UseSystemFont());
  EXPECT_EQ(s.NotesFont()->GetSize(), Screen->MenuFont()->GetSize() - 2);
  // The glyphs come from the program's bitmaps.
  EXPECT_EQ(s.Glyphs()->SubMenu()->GetWidth(), 4);
  EXPECT_EQ(s.Glyphs()->SubMenu()->GetHeight(), 7);
  EXPECT_EQ(s.Glyphs()->Check()->GetWidth(), 16);
  EXPECT_EQ(s.Glyphs()->Radio()->GetHeight(), 16);
}

TEST(MenuStyler, TheIconBarIsAtLeast16Wide) {
  TCustomRadUdirEtyler s(nullptr);
  for (auto [value, stored] : {std::pair{10, 16}, {16, 16}, {-5, 16}, {30, 30}}) {
    s.IconBar()->SetSize(value);
    EXPECT_EQ(s.IconBar()->Size(), stored) << value;
  }
}

TEST(MenuStyler, UnknownColourIndexesRaise) {
  TCustomRadUdirEtyler s(nullptr);
  auto message = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const EInvalidPropertyIndex& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { s.RootItem()->GetHoverColor(4); }), "Invalid property index 4.");
  EXPECT_EQ(message([&] { s.RootItem()->SetSelectedColor(-1, 0); }), "Invalid property index -1.");
  EXPECT_EQ(message([&] { s.Background()->GetGradientColor(2); }), "Invalid property index 2.");
  EXPECT_EQ(message([&] { s.IconBar()->SetCheckColor(2, 0); }), "Invalid property index 2.");
  EXPECT_EQ(message([&] { s.SelectedItem()->GetRadioColor(7); }), "Invalid property index 7.");
  // The known indexes reach their properties.
  s.RootItem()->SetHoverColor(3, 0x123456);
  EXPECT_EQ(s.RootItem()->GetHoverColor(3), 0x123456);
  s.IconBar()->SetRadioColor(1, 0x654321);
  EXPECT_EQ(s.IconBar()->RadioColorTo(), 0x654321);
}

TEST(MenuStyler, OnlyFontSizeAndSideBarChangesMeasureTheMenuAgain) {
  TPopupMenu menu(nullptr);
  TCountingMenu counting(&menu);
  TCustomRadUdirEtyler s(nullptr);
  s.SetMenu(&counting);
  struct Case {
    const char* Name;
    std::function<void()> Change;
    int Rebuilds;
  } cases[] = {
      {"selected colour", [&] { s.SelectedItem()->SetColor(0x112233); }, 0},
      {"check colour", [&] { s.IconBar()->SetCheckColor(0, 0x112233); }, 0},
      {"border colour", [&] { s.SetMenuBorderColor(0x112233); }, 0},
      {"selected font", [&] { s.SelectedItem()->SetFont(s.Font()); }, 1},
      {"icon bar size", [&] { s.IconBar()->SetSize(30); }, 1},
      {"anti-aliasing", [&] { s.SetAntiAlias(aaAntiAlias); }, 1},
      {"side bar", [&] { s.SetSideBar(s.SideBar()); }, 1},
      {"side bar shown on a pop-up menu", [&] { s.SideBar()->SetVisible(true); }, 0},
  };
  for (const Case& c : cases) {
    counting.Rebuilds = 0;
    c.Change();
    EXPECT_EQ(counting.Rebuilds, c.Rebuilds) << c.Name;
  }
  s.SetMenu(nullptr);
}

TEST(MenuStyler, AssignCopiesEveryPartOfTheLook) {
  TRadUdirEtyler from(nullptr), to(nullptr);
  from.IconBar()->SetColor(0x010101);
  from.IconBar()->SetCheckColor(0, 0x020202);
  from.SelectedItem()->SetColor(0x030303);
  from.SelectedItem()->SetCheckBorder(0x040404);
  from.RootItem()->SetHoverColor(2, 0x050505);
  from.SideBar()->SetSplitterColor(0x060606);
  from.SideBar()->SetVisible(true);
  from.SideBar()->SetVisibleIn(viAnyLevel);
  from.Separator()->SetWidth(3);
  from.Background()->SetMarginX(4);
  from.NotesFont()->SetColor(0x070707);
  from.SetAntiAlias(aaClearType);
  from.SetMenuBorderColor(0x080808);
  from.ButtonAppearance()->SetHoverColor(0x090909);
  from.SetUseSystemFont(false);
  to.Assign(&from);
  EXPECT_EQ(to.IconBar()->Color(), 0x010101);
  EXPECT_EQ(to.IconBar()->CheckColor(), 0x020202);
  EXPECT_EQ(to.SelectedItem()->Color(), 0x030303);
  EXPECT_EQ(to.SelectedItem()->CheckBorder(), 0x040404);
  EXPECT_EQ(to.RootItem()->GetHoverColor(2), 0x050505);
  EXPECT_EQ(to.SideBar()->SplitterColor(), 0x060606);
  EXPECT_TRUE(to.SideBar()->Visible());
  EXPECT_EQ(to.SideBar()->VisibleIn(), viAnyLevel);
  EXPECT_EQ(to.Separator()->Width(), 3);
  EXPECT_EQ(to.NotesFont()->GetColor(), 0x070707);
  EXPECT_EQ(to.AntiAlias(), aaClearType);
  EXPECT_EQ(to.MenuBorderColor(), 0x080808);
  EXPECT_EQ(to.ButtonAppearance()->HoverColor(), 0x090909);
  EXPECT_FALSE(to.UseSystemFont());
  // Another kind of source is refused.
  TFont font;
  EXPECT_THROW(to.Assign(&font), EConvertError);
}

TEST(MenuStyler, ButtonAppearanceReportsRealChangesOnly) {
  TButtonAppearance a;
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.SetHoverColor(a.HoverColor());
  EXPECT_EQ(changes, 0);
  a.SetHoverColor(0x123456);
  a.SetGradientDirection(gdHorizontal);
  EXPECT_EQ(changes, 2);
  TFont font;
  a.Assign(&font);  // ignored
  EXPECT_EQ(a.HoverColor(), 0x123456);
}

// ---- painting primitives ---------------------------------------------------------------------------

TColor Pixel(TBitmap& b, int x, int y) { return b.Canvas()->GetPixel(x, y); }

TEST(MenuPainting, AGradientStopsOneStepShortOfItsTarget) {
  for (bool onBitmap : {true, false}) {
    TBitmap b(4, 4);
    if (onBitmap) DrawGradient(&b, nullptr, TRect{0, 0, 4, 4}, clBlack, clWhite, gdVertical);
    else DrawGradient(nullptr, b.Canvas(), TRect{0, 0, 4, 4}, clBlack, clWhite, gdVertical);
    const int expected[] = {0, 63, 127, 191};
    for (int y = 0; y < 4; ++y) EXPECT_EQ(Pixel(b, 2, y), TColor(expected[y] * 0x010101)) << onBitmap << " row " << y;
  }
  TBitmap h(4, 1);
  DrawGradient(&h, nullptr, TRect{0, 0, 4, 1}, clBlack, clWhite, gdHorizontal);
  EXPECT_EQ(Pixel(h, 3, 0), TColor(191 * 0x010101));
  // clNone as the second colour: one flat colour.
  DrawGradient(&h, nullptr, TRect{0, 0, 4, 1}, 0x336699, clNone, gdHorizontal);
  EXPECT_EQ(Pixel(h, 3, 0), 0x336699);
}

TEST(MenuPainting, ClippedPiecesJoinIntoOneGradient) {
  TBitmap whole(300, 1), pieces(300, 1);
  TRect full{0, 0, 300, 1};
  DrawGradient(&whole, nullptr, full, 0x000000, 0xFF00FF, gdHorizontal);
  for (int i = 0; i < 3; ++i)
    DrawGradientClipped(nullptr, pieces.Canvas(), full, TRect{i * 100, 0, i * 100 + 100, 1}, 0x000000, 0xFF00FF,
                        gdHorizontal);
  for (int x = 0; x < 300; x += 7) {
    int a = Pixel(whole, x, 0) & 0xFF, b = Pixel(pieces, x, 0) & 0xFF;
    EXPECT_LE(std::abs(a - b), 1) << x;
  }
}

TEST(MenuPainting, FramedGradientsAndBandedLines) {
  TBitmap b(10, 10);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect{0, 0, 10, 10});
  DrawFramedGradient(nullptr, b.Canvas(), TRect{0, 0, 10, 10}, clRed, clNone, gdVertical, clBlue, false);
  EXPECT_EQ(Pixel(b, 0, 5), clBlue);
  EXPECT_EQ(Pixel(b, 5, 5), clWhite);  // no fill
  DrawFramedGradient(nullptr, b.Canvas(), TRect{0, 0, 10, 10}, clRed, clNone, gdVertical, clNone, true);
  EXPECT_EQ(Pixel(b, 0, 5), clRed);  // no frame: the fill reaches the edge
  DrawFramedVistaGradient(nullptr, b.Canvas(), TRect{0, 0, 10, 10}, clLime, clLime, clNone, clNone, gdVertical,
                          clNone, true);
  EXPECT_EQ(Pixel(b, 5, 8), clLime);  // one gradient over all of it
  DrawFramedVistaGradient(nullptr, b.Canvas(), TRect{0, 0, 10, 10}, clLime, clLime, clNavy, clNavy, gdVertical,
                          clNone, true);
  EXPECT_EQ(Pixel(b, 5, 4), clLime);
  EXPECT_EQ(Pixel(b, 5, 5), clNavy);

  // A 100-pixel separator line with 10-pixel bands fading from ColorTo into a flat middle.
  TBitmap line(100, 1);
  DrawGradientEx(nullptr, line.Canvas(), TRect{0, 0, 100, 1}, clBlack, clWhite, gdHorizontal, gtBoth, 20, 0);
  EXPECT_EQ(Pixel(line, 0, 0), clWhite);
  EXPECT_EQ(Pixel(line, 50, 0), clBlack);
  EXPECT_EQ(Pixel(line, 10, 0), clBlack);
  EXPECT_NE(Pixel(line, 5, 0), clBlack);
  EXPECT_EQ(Pixel(line, 99, 0) & 0xFF, 229);  // Color to ColorTo over the last band
}

TEST(MenuPainting, AFadeLineBlendsIntoWhatIsBeneathAtBothEnds) {
  TBitmap b(20, 3);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect{0, 0, 20, 3});
  // A line over the whole width with a gap from 8 to 11 around its centre.
  DrawFadeLine(b.Canvas(), TRect{8, 1, 11, 2}, TRect{0, 1, 20, 2}, clBlack, 4, true);
  EXPECT_EQ(Pixel(b, 0, 1), clWhite);               // the end: still what was there
  EXPECT_EQ(Pixel(b, 2, 1), TColor(128 * 0x010101));  // halfway through the fade
  EXPECT_EQ(Pixel(b, 5, 1), clBlack);
  EXPECT_EQ(Pixel(b, 9, 1), clWhite);  // the gap
  EXPECT_EQ(Pixel(b, 13, 1), clBlack);
  EXPECT_EQ(Pixel(b, 19, 1), clWhite);
  EXPECT_EQ(Pixel(b, 5, 0), clWhite);  // one pixel high
}

TEST(MenuPainting, PicturePositions) {
  TBackground back;
  int x = -1, y = -1;
  back.CalcPicturePosition(TRect{10, 20, 110, 120}, x, y);
  EXPECT_EQ(std::pair(x, y), std::pair(10, 20));  // no picture
  TPicture picture;
  picture.Bitmap()->SetSize(20, 10);
  back.SetImage(&picture);
  back.SetOffsetX(3);
  back.SetOffsetY(4);
  struct Case {
    TBackgroundPosition Position;
    int X, Y;
  } cases[] = {{bpTopLeft, 13, 24}, {bpBottomRight, 93, 114}, {bpCenter, 53, 69}, {bpTopCenter, 53, 24},
               {bpXY, 10, 20},      {bpTiled, 10, 20},        {bpBottomLeft, 13, 114}};
  for (const Case& c : cases) {
    back.SetPosition(c.Position);
    back.CalcPicturePosition(TRect{10, 20, 110, 120}, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(c.X, c.Y)) << c.Position;
  }
  back.SetImage(nullptr);
  EXPECT_FALSE(back.HasImage());
}

TEST(MenuPainting, UtilityArithmetic) {
  using namespace ZedIvadUtil;
  TRect r{0, 0, 10, 10};
  CenterRect(r, 4, 2);
  EXPECT_EQ(r, (TRect{3, 4, 7, 6}));
  EXPECT_EQ(CenterPoint(TRect{0, 0, 5, 5}).X, 2);
  EXPECT_TRUE(RectInRect(TRect{1, 1, 5, 5}, TRect{0, 0, 10, 10}));
  EXPECT_FALSE(RectInRect(TRect{1, 1, 10, 5}, TRect{0, 0, 10, 10}));  // the right edge is outside
  EXPECT_EQ(ColorTo32bitScanLineElement(0x11223344), 0x11443322u);
  EXPECT_EQ(RGB(1, 2, 3, 4), 0x04030201u);
  EXPECT_EQ(BitmapRect(nullptr), TRect{});
}

// ---- measuring and shortcut texts ---------------------------------------------------------------------

class MeasureTest : public ::testing::Test {
protected:
  MeasureTest() : menu(nullptr), canvasBitmap(10, 10) {
    canvas = canvasBitmap.Canvas();
    canvas->Font()->Assign(Screen->MenuFont());
  }
  TMenuItem* Item(const std::string& Caption, TShortCut ShortCut = 0) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(Caption);
    item->SetShortCut(ShortCut);
    menu.Items()->Add(item);
    return item;
  }
  int TextWidth(const std::string& Text) { return canvas->TextWidth(Text); }
  TRerAvideReva menu;
  TBitmap canvasBitmap;
  TCanvas* canvas;
};

TEST_F(MeasureTest, SeparatorsAndInvisibleItems) {
  TMenuItem* line = Item("-");
  int w = 50, h = 50;
  MeasureItem(line, canvas, w, h, false);
  EXPECT_EQ(std::pair(w, h), std::pair(-2, 3));
  menu.GetCurrentMenuStyler()->Separator()->SetWidth(4);
  MeasureItem(line, canvas, w, h, false);
  EXPECT_EQ(h, 6);
  TMenuItem* hidden = Item("Hidden");
  hidden->SetVisible(false);
  MeasureItem(hidden, canvas, w, h, false);
  EXPECT_EQ(std::pair(w, h), std::pair(0, 0));
}

TEST_F(MeasureTest, HeightsComeOutEvenAndTheArrowStripIsAdded) {
  TMenuItem* item = Item("Пересчитать");
  int textHeight = canvas->TextHeight("Пересчитать");
  for (int start : {10, 20, 21, 40}) {
    int w = 0, h = start;
    MeasureItem(item, canvas, w, h, false);
    int expected = std::max(start - 3 + 2, textHeight + 6);
    expected += expected % 2;
    EXPECT_EQ(h, expected) << start;
    EXPECT_EQ(h % 2, 0);
    EXPECT_EQ(w, 24 + 15 + TextWidth("Пересчитать") + 7 + 17) << start;
  }
  // With the side bar: its size and splitter are added.
  int w = 0, h = 20;
  MeasureItem(item, canvas, w, h, true);
  EXPECT_EQ(w, 24 + 15 + TextWidth("Пересчитать") + 7 + 17 + 24 + 1);
}

TEST_F(MeasureTest, ShortcutsWidenTheItem) {
  TMenuItem* plain = Item("Удалить");
  TMenuItem* withKey = Item("Удалить", TShortCut(scCtrl | 'D'));
  TMenuItem* withWin = Item("Удалить", TShortCut(0x0200 | scCtrl | 'D'));
  int w1 = 0, w2 = 0, w3 = 0, h = 20;
  MeasureItem(plain, canvas, w1, h, false);
  MeasureItem(withKey, canvas, w2, h, false);
  MeasureItem(withWin, canvas, w3, h, false);
  EXPECT_EQ(w2 - w1, TextWidth("УдалитьCtrl+D") - TextWidth("Удалить"));
  EXPECT_EQ(w3 - w1, TextWidth("УдалитьWin+Ctrl+D") - TextWidth("Удалить") + TextWidth("Win+"));
}

TEST_F(MeasureTest, NotesAddLinesUnlessSwitchedOff) {
  TMenuItem* item = Item("Save\\na rather long note line");
  TCustomRadUdirEtyler* s = menu.GetCurrentMenuStyler();
  canvas->Font()->Assign(s->NotesFont());
  int noteWidth = canvas->TextWidth("a rather long note line");
  int lineHeight = canvas->TextHeight("gh");
  canvas->Font()->Assign(Screen->MenuFont());
  int w = 0, h = 20;
  MeasureItem(item, canvas, w, h, false);
  int plainW = 0, plainH = 20;
  MeasureItem(Item("Save"), canvas, plainW, plainH, false);
  EXPECT_EQ(h, plainH + lineHeight);
  EXPECT_EQ(w, std::max(plainW, noteWidth + 17 + 24 + 15));
  menu.SetShowNotes(false);
  canvas->Font()->Assign(Screen->MenuFont());
  MeasureItem(item, canvas, w, h = 20, false);
  EXPECT_EQ(h, plainH);
  EXPECT_EQ(w, 24 + 15 + TextWidth("Save\\na rather long note line") + 7 + 17);
}

TEST(ShortCutTexts, LayoutNamesComeInTheOrderAltCtrlShift) {
  struct Case {
    TShortCut ShortCut;
    bool Intl;
    const char* Text;
  } cases[] = {
      {TShortCut(scCtrl | scShift | VK_F5), true, "Ctrl+Shift+F5"},
      {TShortCut(scAlt | scCtrl | scShift | VK_F5), true, "Alt+Ctrl+Shift+F5"},
      {TShortCut(scCtrl | 'N'), true, "Ctrl+N"},
      {TShortCut(scCtrl | 'K'), true, "Ctrl+K"},
      {TShortCut(scCtrl | 'S'), true, "Ctrl+S"},
      {TShortCut(scAlt | '5'), true, "Alt+5"},
      {TShortCut(scShift | VK_NEXT), true, "Shift+Page down"},
      {TShortCut(VK_F12), true, "F12"},
      {TShortCut(0x0200 | scCtrl | 'N'), true, "Ctrl+N"},
      {TShortCut(scCtrl | scShift | VK_F5), false, "Shift+Ctrl+F5"},
      {TShortCut(0x0200 | scCtrl | 'N'), false, "Win+Ctrl+N"},
      {16452, false, "Ctrl+D"},
  };
  for (const Case& c : cases) EXPECT_EQ(DizShortCutToText(c.ShortCut, c.Intl), c.Text) << c.Text;
}

TEST(ItemPredicates, WhereAnItemStands) {
  TVerOvizEzur main(nullptr);
  auto* hiddenBar = AddItem(main.Items(), "Hidden");
  hiddenBar->SetVisible(false);
  auto* bar = AddItem(main.Items(), "File");
  auto* a = AddItem(bar, "A");
  auto* b = AddItem(bar, "B");
  auto* c = AddItem(bar, "C");
  auto* sub = AddItem(c, "Sub");
  a->SetVisible(false);
  c->SetBreak(mbBreak);
  EXPECT_TRUE(IsInTopMainMenu(bar));
  EXPECT_FALSE(IsInTopMainMenu(b));
  EXPECT_TRUE(IsInFirstLevelMenu(b));
  EXPECT_FALSE(IsInFirstLevelMenu(sub));
  EXPECT_TRUE(IsInFirstVisibleMenu(b));  // the first visible bar item's drop-down
  EXPECT_TRUE(IsFirstSubMenuItem(b));
  EXPECT_FALSE(IsFirstSubMenuItem(a));
  EXPECT_FALSE(IsAfterMenuBreak(b));
  EXPECT_TRUE(IsAfterMenuBreak(c));
  EXPECT_EQ(GetMenuItemLevel(bar), 0);
  EXPECT_EQ(GetMenuItemLevel(sub), 2);
  EXPECT_EQ(VisibleMenuIndex(b), 0);
  EXPECT_EQ(VisibleMenuIndex(a), -1);
  EXPECT_EQ(VisibleMenuIndex(bar), 0);
  EXPECT_EQ(LastVisibleItem(bar), c);

  TRerAvideReva popup(nullptr);
  auto* p = AddItem(popup.Items(), "P");
  EXPECT_FALSE(IsInTopMenu(p));  // pop-up menus' items do not count as top-menu items
  EXPECT_TRUE(IsInTopPopupMenu(p));
  EXPECT_TRUE(IsInFirstLevelMenu(p));
  popup.GetCurrentMenuStyler()->SideBar()->SetVisible(true);
  EXPECT_FALSE(IsSideBarVisible(p));  // viFirstVisible
  popup.GetCurrentMenuStyler()->SideBar()->SetVisibleIn(viFirstLevel);
  EXPECT_TRUE(IsSideBarVisible(p));
}

// ---- item painting -----------------------------------------------------------------------------------

TEST_F(MeasureTest, TheShortcutEndsTenPixelsBeforeTheRightEdge) {
  TMenuItem* item = Item("Удалить запись", 16452);
  TBitmap b(200, 22);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect{0, 0, 200, 22});
  DrawMenuItem(&menu, item, b.Canvas(), TOwnerDrawState{}, TRect{0, 0, 200, 22});
  int rightmost = -1;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 22; ++y)
      if ((b.Canvas()->GetPixel(x, y) & 0xFF) < 128) rightmost = x;
  EXPECT_LE(rightmost, 189);
  EXPECT_GE(rightmost, 186);
}

TEST_F(MeasureTest, CheckedAndDisabledItemsShowTheirMarks) {
  TMenuItem* item = Item("Объемные проценты");
  item->SetChecked(true);
  TCustomRadUdirEtyler* s = menu.GetCurrentMenuStyler();
  for (bool enabled : {true, false}) {
    item->SetEnabled(enabled);
    TBitmap b(200, 24);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect{0, 0, 200, 24});
    TOwnerDrawState state;
    if (!enabled) state += odDisabled;
    DrawMenuItem(&menu, item, b.Canvas(), state, TRect{0, 0, 200, 24});
    // The check square (22 pixels in a 24-pixel row): framed in the icon bar's check
    // border, filled only when enabled.
    EXPECT_EQ(b.Canvas()->GetPixel(1, 12), s->IconBar()->CheckBorder()) << enabled;
    EXPECT_EQ(b.Canvas()->GetPixel(3, 3), enabled ? s->IconBar()->CheckColor() : clWhite) << enabled;
  }
  // A selected item takes the selected item's colours and frame.
  item->SetEnabled(true);
  TBitmap b(200, 24);
  DrawMenuItem(&menu, item, b.Canvas(), TOwnerDrawState{odSelected}, TRect{0, 0, 200, 24});
  EXPECT_EQ(b.Canvas()->GetPixel(100, 0), s->SelectedItem()->BorderColor());
  EXPECT_EQ(b.Canvas()->GetPixel(3, 3), s->SelectedItem()->CheckColor());
}

// ---- menu components ---------------------------------------------------------------------------------

TEST(MenuComponents, AMenuAlwaysHasAStyler) {
  TComponent owner(nullptr);
  auto* popup = new TRerAvideReva(&owner);
  TCustomRadUdirEtyler* internal = popup->GetCurrentMenuStyler();
  ASSERT_NE(internal, nullptr);
  EXPECT_EQ(internal->Name(), "InternalMenuStyler");
  EXPECT_TRUE(internal->ComponentStyle().Contains(csSubComponent));
  EXPECT_EQ(popup->MenuStyler(), nullptr);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_EQ(popup->Opacity(), 255);
  EXPECT_TRUE(popup->ShowNotes());
  EXPECT_EQ(popup->Version(), "2.5.3.0");
  popup->SetVersion("9.9");
  EXPECT_EQ(popup->Version(), "2.5.3.0");

  auto* styler = new TRadUdirEtyler(&owner);
  styler->SetMenuBorderColor(0x010203);
  popup->SetMenuStyler(styler);
  EXPECT_EQ(popup->GetCurrentMenuStyler(), styler);
  EXPECT_EQ(styler->Menu(), popup);
  popup->SetMenuStyler(nullptr);  // a new internal styler with the default look
  EXPECT_NE(popup->GetCurrentMenuStyler(), styler);
  EXPECT_EQ(popup->GetCurrentMenuStyler()->MenuBorderColor(), 0x7C7C94);

  popup->SetMenuStyler(styler);
  delete styler;  // freeing the linked styler falls back to an internal one
  ASSERT_NE(popup->GetCurrentMenuStyler(), nullptr);
  EXPECT_EQ(popup->MenuStyler(), nullptr);
  EXPECT_EQ(popup->GetCurrentMenuStyler()->Name(), "InternalMenuStyler");

  auto* main = new TVerOvizEzur(&owner);
  EXPECT_EQ(main->Version(), "2.5.3.0");
  EXPECT_NE(dynamic_cast<TRadUdirEtyler*>(main->GetCurrentMenuStyler()), nullptr);
  // A styler that outlives its menu is not called back.
  auto* shared = new TRadUdirEtyler(&owner);
  main->SetMenuStyler(shared);
  delete main;
  shared->Font()->SetSize(20);
  shared->IconBar()->SetSize(30);
  EXPECT_EQ(shared->Menu(), nullptr);
}

TEST(MenuComponents, ItemsKeepTheirOwnDrawingHandlers) {
  TRerAvideReva popup(nullptr);
  bool ownDrawn = false;
  popup.BeginUpdate();
  auto* own = AddItem(popup.Items(), "Own");
  own->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool) { ownDrawn = true; };
  auto* styled = AddItem(popup.Items(), "Styled");
  popup.EndUpdate();
  EXPECT_FALSE(own->OnAdvancedDrawItem);
  EXPECT_TRUE(own->OnMeasureItem);
  EXPECT_TRUE(styled->OnAdvancedDrawItem);
  // Items added later are hooked as they arrive.
  auto* later = AddItem(popup.Items(), "Later");
  EXPECT_TRUE(later->OnAdvancedDrawItem);
  (void)ownDrawn;
}

TEST(MenuComponents, AnimationIsSwitchedOffForThisProgramOnly) {
  BOOL system = FALSE;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &system, 0));
  EXPECT_TRUE(system);  // the system's setting is left alone
  EXPECT_FALSE(MenuAnimationEnabled());
  RestoreMenuAnimation();
  EXPECT_TRUE(MenuAnimationEnabled());
  DisableMenuAnimation();
  EXPECT_FALSE(MenuAnimationEnabled());
  ASSERT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &system, 0));
  EXPECT_TRUE(system);
}

TEST_F(MenusTest, PopupShiftsForItsAlignment) {
  BuildPopupMenu(nullptr);
  form->Show();
  int desktop = Screen->DesktopWidth();
  struct Case {
    TPopupAlignment Alignment;
    int X, Expected;
  } cases[] = {
      {paCenter, 100, 108},
      {paRight, 400, 417},
      {paRight, 20, 20},  // no room on the left
      {paLeft, 100, 100},
      {paLeft, desktop - 40, desktop - 23},  // no room on the right
      {paLeft, desktop + 50, desktop - 1},
  };
  for (const Case& c : cases) {
    popup->SetAlignment(c.Alignment);
    scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
    popup->Popup(c.X, 100);
    Pump();
    EXPECT_EQ(popup->PopupPoint().X, c.Expected) << c.Alignment << " " << c.X;
  }
  // An empty pop-up menu does not show.
  TRerAvideReva empty(form);
  bool shown = false;
  empty.OnPopup = [&](TObject*) { shown = true; };
  empty.Popup(100, 100);
  EXPECT_FALSE(shown);
}

TEST_F(MenusTest, DropDownsJoinTheirBarItemAndLoseTheArrowStrip) {
  BuildMainMenu(nullptr);
  form->Show();
  Pump();
  RECT bar = BarItem(1);
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_RIGHT); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
  scope.Backend().WhenIdle([&] {
    HWND w = GetMenuWindow(base->Handle());
    ASSERT_NE(w, nullptr);
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.left, bar.left - 1);
    EXPECT_EQ(wr.top, bar.bottom - 2);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, rgn), 0);
    RECT box;
    GetRgnBox(rgn, &box);
    DeleteObject(rgn);
    EXPECT_EQ(box.right, wr.right - wr.left - 1 - 17);
    EXPECT_EQ(box.left, 1);
    // The strip cut away is the form's to the mouse, and shows the form.
    POINT strip{wr.right - 8, wr.top + 10}, inside{wr.left + 10, wr.top + 10};
    EXPECT_EQ(WindowFromPoint(inside), w);
    EXPECT_EQ(WindowFromPoint(strip), form->Handle());
    POINT formPoint = strip;
    ScreenToClient(form->Handle(), &formPoint);
    EXPECT_EQ(ScreenPixel(strip.x, strip.y), WindowPixel(form->Handle(), formPoint.x, formPoint.y));
    EXPECT_TRUE(SaveWindowPng(w, Png("drop_down_strip")));
    robot.PressKey(VK_ESCAPE);
  });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
  robot.PressKey(VK_MENU);
  Pump();
}

TEST_F(MenusTest, KeysRunTheStyledMainMenu) {
  TZedIvadOfficeStyler* styler = new TZedIvadOfficeStyler(form);
  styler->SetStyle(osOffice2007Luna);
  BuildMainMenu(styler);
  std::vector<std::string> log;
  exitItem->OnClick = [&](TObject*) { log.push_back("exit"); };
  recalc->OnClick = [&](TObject*) { log.push_back("recalc"); };
  form->Show();
  Pump();
  // Alt, Left wraps to "Помощь", Left to "Коэффициенты", Down opens it, Down twice, Enter.
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_LEFT); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_LEFT); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_RETURN); });
  robot.PressKey(VK_MENU);
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"recalc"});
  // Escape closes without running anything.
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
  robot.PressKey(VK_MENU);
  Pump();
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(GetMenuLoopOwner(), nullptr);
  // The first drop-down opens by Alt and Down; Up wraps to "Выход", Enter runs it.
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_DOWN); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_UP); });
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_RETURN); });
  robot.PressKey(VK_MENU);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"recalc", "exit"}));
}

// ---- presets -------------------------------------------------------------------------------------------

TEST(MenuPresets, Office2007LunaColours) {
  TZedIvadOfficeStyler s(nullptr);
  EXPECT_EQ(s.Style(), osOffice2003Blue);
  s.SetStyle(osOffice2007Luna);
  struct Case {
    const char* Name;
    TColor Actual, Expected;
  } cases[] = {
      {"background", s.Background()->Color(), 0xF6F6F6},
      {"background to", s.Background()->ColorTo(), 0xF6F6F6},
      {"border", s.MenuBorderColor(), 0xC0C0C0},
      {"root", s.RootItem()->Color(), 0xF2DAC2},
      {"root to", s.RootItem()->ColorTo(), 0xF0D9C1},
      {"root selected", s.RootItem()->GetSelectedColor(0), 0x76AFF1},
      {"root selected mirror to", s.RootItem()->GetSelectedColor(3), 0x4C9FFD},
      {"root selected border", s.RootItem()->SelectedBorderColor(), 0x45667B},
      {"root hover", s.RootItem()->GetHoverColor(0), 0xEBFDFF},
      {"root hover mirror", s.RootItem()->GetHoverColor(2), 0x69D6FF},
      {"root hover border", s.RootItem()->HoverBorderColor(), 0x99CEDB},
      {"root hover text", s.RootItem()->HoverTextColor(), clWindowText},
      {"selected", s.SelectedItem()->Color(), 0xEBFDFF},
      {"selected to", s.SelectedItem()->ColorTo(), 0xABEBFF},
      {"selected mirror", s.SelectedItem()->ColorMirror(), 0x69D6FF},
      {"selected mirror to", s.SelectedItem()->ColorMirrorTo(), 0x96E4FF},
      {"selected border", s.SelectedItem()->BorderColor(), 0x99CEDB},
      {"selected check", s.SelectedItem()->CheckColor(), 0x3E80FE},
      {"selected radio border", s.SelectedItem()->RadioBorder(), 0x800000},
      {"icon bar", s.IconBar()->Color(), 0xEEEEE9},
      {"icon check", s.IconBar()->CheckColor(), 0x6FC0FF},
      {"icon check border", s.IconBar()->CheckBorder(), 0x800000},
      {"icon separator", s.IconBar()->SeparatorColor(), 0xC5C5C5},
      {"separator", s.Separator()->Color(), 0xC5C5C5},
      {"separator to", s.Separator()->ColorTo(), clNone},
      {"button hover", s.ButtonAppearance()->HoverColor(), 0xE0DEDD},
      {"button down to", s.ButtonAppearance()->DownColorTo(), 0xEAE8E7},
      {"button border", s.ButtonAppearance()->DownBorderColor(), 0xB5AFA8},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Actual, c.Expected) << c.Name;
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdVertical);
  // The custom style changes nothing; a preset applies again even when it is the current one.
  s.SetStyle(osCustom);
  EXPECT_EQ(s.SelectedItem()->Color(), 0xEBFDFF);
  s.SetStyle(osOffice2007Luna);
  s.SelectedItem()->SetColor(0x123456);
  s.SetStyle(osOffice2007Luna);
  EXPECT_EQ(s.SelectedItem()->Color(), 0xEBFDFF);
}

TEST(MenuPresets, MainColoursOfEveryOfficeStyle) {
  struct Case {
    TOfficeStyle Style;
    TColor Background, Border, Root, Selected, SelectedBorder, IconBar, Separator;
  } cases[] = {
      {osOffice2003Blue, 0xF6F6F6, 0x962D00, 0xF5BE9E, 0xC2EEFF, 0x800000, 0xFFEFE3, 0xCB8C6A},
      {osOffice2003Silver, 0xF6F6F6, 0x5E8D75, 0xE5D7D7, 0xC2EEFF, 0x080000, 0xFFF9F9, 0x8F6D6E},
      {osOffice2003Olive, 0xF6F6F6, 0x5E8D75, 0xA8D9D9, 0xC2EEFF, 0x385D3F, 0xEDFFFF, 0x588060},
      {osOfficeXP, clWindow, 0x808080, clBtnFace, 0xEFD3C6, 0xC66931, clBtnFace, 0x7A868A},
      {osOffice2007Obsidian, 0xF6F6F6, 0xC0C0C0, 0xB8B8B6, 0xEBFDFF, 0x99CEDB, 0xEEEEE9, 0xC5C5C5},
      {osOffice2007Silver, 0xFAFAFA, 0x868686, 0xE5D7D7, 0xEBFDFF, 0x99CEDB, 0xEFEFEF, 0xC5C5C5},
      {osVista, 0xEEEEEE, 0x979797, 0xFFFFFF, 0xF4F1EB, 0xEBD8A8, 0xEEEEEE, 0xE0E0E0},
      {osWhidbey, 0xF9FCFC, 0x7A868A, 0xD9E6E7, 0xEED2C1, 0xC56A31, 0xFBFEFE, 0xB8C2C5},
      {osWindows7, 0xEEEEEE, 0x979797, 0xFFFFFF, 0xFCEBDC, 0xCEA27D, 0xEEEEEE, 0xE0E0E0},
      {osTerminal, clBtnFace, 0x808080, clBtnFace, 0xC0C0C0, 0x808080, clBtnFace, 0x808080},
  };
  TZedIvadOfficeStyler s(nullptr);
  for (const Case& c : cases) {
    s.SetStyle(c.Style);
    SCOPED_TRACE(c.Style);
    EXPECT_EQ(s.Background()->Color(), c.Background);
    EXPECT_EQ(s.MenuBorderColor(), c.Border);
    EXPECT_EQ(s.RootItem()->Color(), c.Root);
    EXPECT_EQ(s.SelectedItem()->Color(), c.Selected);
    EXPECT_EQ(s.SelectedItem()->BorderColor(), c.SelectedBorder);
    EXPECT_EQ(s.IconBar()->Color(), c.IconBar);
    EXPECT_EQ(s.Separator()->Color(), c.Separator);
  }
}

TEST(MenuPresets, TheLibraryWideLookPicksThePreset) {
  TZedIvadOfficeStyler s(nullptr);
  struct Case {
    DUZERazav Look;
    TOfficeStyle Style;
  } cases[] = {{tsOffice2003Classic, osOfficeXP}, {tsWindowsXP, osOfficeXP}, {tsOffice2007Luna, osOffice2007Luna},
               {tsWindowsVista, osVista},         {tsWindows7, osWindows7}, {tsOffice2007Silver, osOffice2007Silver},
               {tsTerminal, osTerminal},          {tsWhidbey, osWhidbey}};
  for (const Case& c : cases) {
    s.SetComponentStyle(c.Look);
    EXPECT_EQ(s.Style(), c.Style) << c.Look;
  }
  s.SetComponentStyle(tsCustom);
  EXPECT_EQ(s.Style(), osWhidbey);
}

TEST(MenuPresets, FantasyStylersStartPlainAndApplyTheirLooks) {
  TZedIvadFantasyStyler s(nullptr);
  EXPECT_EQ(s.Style(), fsCustom);
  EXPECT_EQ(s.SelectedItem()->Color(), 0xC2EEFF);
  s.SetStyle(fsTextured);
  EXPECT_TRUE(s.Background()->HasImage());
  EXPECT_EQ(s.Background()->Image()->GetWidth(), 52);
  EXPECT_EQ(s.Background()->Position(), bpTiled);
  s.SetStyle(fsWindowsClassic);
  EXPECT_FALSE(s.Background()->HasImage());
  EXPECT_TRUE(s.SideBar()->Visible());
  EXPECT_EQ(s.SelectedItem()->Color(), 0xA1684A);
  s.SetStyle(fsSoftSand);
  EXPECT_FALSE(s.SideBar()->Visible());
  EXPECT_EQ(s.MenuBorderColor(), 0x000000);
  EXPECT_EQ(s.RootItem()->GetHoverColor(2), clNone);
}

// ---- colour scheme -------------------------------------------------------------------------------------

class SchemeTest : public ::testing::Test {
protected:
  SchemeTest() : saved(SetLibraryExports("uxtheme.dll", StandardThemeLibraryExports())) {}
  ~SchemeTest() override { SetLibraryExports("uxtheme.dll", saved); }
  static void Install(bool active, const char16_t* scheme) {
    Active = active;
    Scheme = scheme;
    TLibraryExports e;
    e["IsThemeActive"] = LibraryProc(static_cast<TIsThemeActive>([]() -> BOOL { return Active; }));
    e["GetCurrentThemeName"] = LibraryProc(static_cast<TGetCurrentThemeName>(
        [](char16_t*, int, char16_t* color, int maxColor, char16_t*, int) -> HRESULT {
          std::u16string s(Scheme);
          s.copy(color, size_t(maxColor - 1));
          color[std::min<size_t>(s.size(), size_t(maxColor - 1))] = 0;
          return 0;
        }));
    SetLibraryExports("uxtheme.dll", e);
  }
  static inline bool Active = true;
  static inline const char16_t* Scheme = u"";
  std::optional<TLibraryExports> saved;
};

TEST_F(SchemeTest, SchemeNamesGiveTheirNumbers) {
  struct Case {
    bool Active;
    const char16_t* Scheme;
    BYTE Number;
  } cases[] = {{true, u"NormalColor", 1}, {true, u"HomeStead", 2}, {true, u"Metallic", 3},
               {true, u"normalcolor", 0}, {true, u"Royale", 0},    {false, u"NormalColor", 0}};
  for (const Case& c : cases) {
    Install(c.Active, c.Scheme);
    EXPECT_EQ(GetXPColorScheme(), c.Number);
  }
  EXPECT_EQ(LibraryLoadCount("uxtheme.dll"), 0);  // released every time
  SetLibraryExports("uxtheme.dll", std::nullopt);
  EXPECT_EQ(GetXPColorScheme(), 0);
  EXPECT_TRUE(IsXPOrLater());
}

TEST_F(SchemeTest, AStylerThatAdaptsFollowsTheScheme) {
  TZedIvadOfficeStyler s(nullptr);
  s.SetStyle(osOffice2007Luna);
  Install(true, u"HomeStead");
  s.ThemeChanged(&s);
  EXPECT_EQ(s.Style(), osOffice2007Luna);  // AutoThemeAdapt is off
  s.SetAutoThemeAdapt(true);
  s.ThemeChanged(&s);
  EXPECT_EQ(s.Style(), osOffice2003Olive);
  Install(false, u"");  // the classic look
  s.ThemeChanged(&s);
  EXPECT_EQ(s.Style(), osOfficeXP);
}

TEST_F(MenusTest, TheNotifierReportsThemeChangesAndPassesThemOn) {
  int reports = 0;
  auto* styler = new TComponent(form);  // a styler placed on the window
  TNotifierWindow* parented = CreateThemeNotifier(styler, [&](TObject*) { ++reports; });
  TComponent loose(nullptr);
  TNotifierWindow* orphan = CreateThemeNotifier(&loose, [&](TObject*) { ++reports; });
  EXPECT_EQ(parented->Parent(), form);
  EXPECT_EQ(orphan->Parent(), nullptr);
  form->Show();
  SendMessage(parented->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(reports, 1);
  TMessage m;
  m.Msg = WM_THEMECHANGED;
  parented->OnThemeChange = nullptr;
  parented->WndProc(m);  // still handled by the control's own procedure
  EXPECT_EQ(reports, 1);
}

// A translucent pop-up menu's window is layered with the menu's opacity and shows the
// form through it; an opaque one stays unlayered, and a main menu makes a layered window
// opaque again.
TEST_F(MenusTest, TranslucentPopupMenusAreLayered) {
  ASSERT_TRUE(ZedIvadUtil::SupportsLayeredWindows());
  BuildPopupMenu(nullptr);
  BuildMainMenu(nullptr);
  form->SetColor(clBlack);
  form->Show();
  Pump();
  for (int opacity : {128, 255}) {
    SCOPED_TRACE(opacity);
    popup->SetOpacity(opacity);
    scope.Backend().WhenIdle([&] {
      HWND w = GetMenuWindow(popup->Items()->Handle());
      ASSERT_NE(w, nullptr);
      SetMenuOpacity(popup, w, 0);
      COLORREF key = 1;
      BYTE alpha = 0;
      DWORD flags = 0;
      if (opacity == 255) {
        EXPECT_EQ(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        EXPECT_FALSE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
      } else {
        EXPECT_NE(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        ASSERT_TRUE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
        EXPECT_EQ(key, 0u);
        EXPECT_EQ(alpha, 128);
        EXPECT_EQ(flags, 2u);
        // Half the menu's own colour over the black form.
        RECT wr;
        GetWindowRect(w, &wr);
        COLORREF own = WindowPixel(w, 4, 4);
        POINT at{4, 4};
        ClientToScreen(w, &at);
        COLORREF shown = ScreenPixel(at.x, at.y);
        EXPECT_NEAR(GetRValue(shown), GetRValue(own) * 128 / 255, 1);
        EXPECT_NEAR(GetGValue(shown), GetGValue(own) * 128 / 255, 1);
        EXPECT_TRUE(SaveWindowPng(w, Png("translucent_popup")));
        SetMenuOpacity(main, w, 0);
        EXPECT_EQ(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        EXPECT_EQ(ScreenPixel(at.x, at.y), own);
      }
      robot.PressKey(VK_ESCAPE);
    });
    popup->Popup(300, 200);
    Pump();
  }
}

TEST_F(MeasureTest, MeasuringOnlyMeasuresInEveryMode) {
  TMenuItem* plain = Item("Пересчитать");
  TMenuItem* noted = Item("Пересчитать\\nA, B и N по смеси");
  TCustomRadUdirEtyler* s = menu.GetCurrentMenuStyler();
  for (TAntiAlias aa : {aaNone, aaAntiAlias, aaClearType}) {
    s->SetAntiAlias(aa);
    for (TMenuItem* item : {plain, noted}) {
      TBitmap b(200, 40);
      b.Canvas()->Brush()->SetColor(clWhite);
      b.Canvas()->FillRect(TRect{0, 0, 200, 40});
      TRect r{0, 0, 200, 40};
      DrawMenuItemText(item, b.Canvas(), item->Caption(), DT_LEFT | DT_SINGLELINE | DT_CALCRECT, TOwnerDrawState{}, r);
      bool drawn = false;
      for (int y = 0; y < 40 && !drawn; ++y)
        for (int x = 0; x < 200 && !drawn; ++x) drawn = b.Canvas()->GetPixel(x, y) != clWhite;
      EXPECT_FALSE(drawn) << aa << " " << item->Caption();
      EXPECT_GT(r.Width(), 0);
      EXPECT_LT(r.Width(), 200);
      // The notes add their line to the measured block.
      b.Canvas()->Font()->Assign(s->NotesFont());
      int notesLine = b.Canvas()->TextHeight("gh");
      b.Canvas()->Font()->Assign(Screen->MenuFont());
      int captionLine = b.Canvas()->TextHeight("gh");
      EXPECT_EQ(r.Height(), item == noted ? captionLine + notesLine : captionLine) << aa;
    }
  }
}

TEST_F(MenusTest, ASideBarNotesAndAntiAliasedTextRender) {
  auto* styler = new TZedIvadFantasyStyler(form);
  styler->SetStyle(fsWindowsClassic);
  styler->SideBar()->SetVisibleIn(viFirstLevel);
  styler->SideBar()->Background()->SetColor(0x6A240A);
  styler->SideBar()->Background()->SetColorTo(0xEDC6A9);
  styler->SetAntiAlias(aaAntiAlias);
  popup = new TRerAvideReva(form);
  popup->BeginUpdate();
  AddItem(popup->Items(), "Пересчитать\\nA, B и N по смеси", 16462);
  AddItem(popup->Items(), "-");
  AddItem(popup->Items(), "Записать в прибор");
  popup->EndUpdate();
  popup->SetMenuStyler(styler);
  form->Show();
  scope.Backend().WhenIdle([&] {
    HWND w = GetMenuWindow(popup->Handle());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(SaveWindowPng(w, Png("fantasy_sidebar_popup")));
    // The bar stands at the left edge of the list, in its own background.
    RECT item{};
    GetMenuItemRect(nullptr, popup->Handle(), 2, &item);
    POINT p{item.left + 2, item.top + 2};
    ScreenToClient(w, &p);
    EXPECT_NE(WindowPixel(w, p.x, p.y), ColorToRGB(styler->Background()->Color()));
    robot.PressKey(VK_ESCAPE);
  });
  popup->Popup(200, 150);
  Pump();
}

TEST_F(MenusTest, AcceleratorsOpenAndRunOwnerDrawnItems) {
  main = new TVerOvizEzur(form);
  main->BeginUpdate();
  file = AddItem(main->Items(), "&File");
  AddItem(file, "&Open");
  exitItem = AddItem(file, "E&xit");
  main->EndUpdate();
  form->SetMenu(main);
  bool ran = false;
  exitItem->OnClick = [&](TObject*) { ran = true; };
  form->Show();
  Pump();
  scope.Backend().WhenIdle([&] { robot.PressKey('X'); });
  robot.PressKey('F', rsAlt);
  Pump();
  EXPECT_TRUE(ran);
  EXPECT_EQ(GetMenuLoopOwner(), nullptr);
}

// ---- stored forms ------------------------------------------------------------------------------------

class TRadForm : public TForm {
  LORM_PUBLISHED(TRadForm, TForm)
public:
  explicit TRadForm(TComponent* AOwner) : TForm(AOwner) {}
  TVerOvizEzur* VerOvizEzur1 = nullptr;
  TRerAvideReva* RerAvideReva1 = nullptr;
  TZedIvadOfficeStyler* ZedIvadOfficeStyler1 = nullptr;
  TMenuItem* File1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* N18 = nullptr;
};

void TRadForm::Publish(TClassBuilder<TRadForm>& P) {
  P.Field("VerOvizEzur1", &TRadForm::VerOvizEzur1)
      .Field("RerAvideReva1", &TRadForm::RerAvideReva1)
      .Field("ZedIvadOfficeStyler1", &TRadForm::ZedIvadOfficeStyler1)
      .Field("File1", &TRadForm::File1)
      .Field("Exit1", &TRadForm::Exit1)
      .Field("N18", &TRadForm::N18);
}

const char* kRadForm = R"(object RadForm: TRadForm
  Left = 100
  Top = 80
  Caption = 'Menus'
  ClientHeight = 200
  ClientWidth = 360
  Menu = VerOvizEzur1
  object VerOvizEzur1: TVerOvizEzur
    MenuStyler = ZedIvadOfficeStyler1
    object File1: TMenuItem
      Caption = '&File'
      object Exit1: TMenuItem
        Caption = 'E&xit'
      end
    end
  end
  object RerAvideReva1: TRerAvideReva
    MenuStyler = ZedIvadOfficeStyler1
    object N18: TMenuItem
      Caption = 'New'
    end
  end
  object ZedIvadOfficeStyler1: TZedIvadOfficeStyler
    Style = osOffice2007Luna
    AntiAlias = aaNone
    SelectedItem.Color = 1193046
    AutoThemeAdapt = False
  end
end
)";

TEST(StoredForms, TheMenusLinkTheirStylerAndLaterValuesWin) {
  THeadlessScope scope;
  Application->Restart();
  RegisterStoredForm("TRadForm", kRadForm);
  TRadForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form->ZedIvadOfficeStyler1, nullptr);
  TZedIvadOfficeStyler* styler = form->ZedIvadOfficeStyler1;
  EXPECT_EQ(styler->Style(), osOffice2007Luna);
  EXPECT_EQ(styler->SelectedItem()->Color(), 0x123456);  // stored after Style
  EXPECT_EQ(styler->SelectedItem()->ColorTo(), 0xABEBFF);
  for (IZedIvad* menu : {static_cast<IZedIvad*>(form->VerOvizEzur1), static_cast<IZedIvad*>(form->RerAvideReva1)}) {
    EXPECT_EQ(menu->GetCurrentMenuStyler(), styler);
    EXPECT_EQ(menu->GetSelf()->FindComponent("InternalMenuStyler"), nullptr);  // freed after loading
    EXPECT_TRUE(menu->GetSelf()->OwnerDraw());
  }
  EXPECT_TRUE(form->Exit1->OnAdvancedDrawItem);
  EXPECT_TRUE(form->N18->OnMeasureItem);
  // Written back, Style comes before the values changed after it.
  std::string text = WriteComponentToText(form);
  size_t style = text.find("Style = osOffice2007Luna"), color = text.find("SelectedItem.Color");
  ASSERT_NE(style, std::string::npos);
  ASSERT_NE(color, std::string::npos);
  EXPECT_LT(style, color);
  EXPECT_EQ(text.find("Version"), std::string::npos);
  Application->Restart();
}

}  // namespace
