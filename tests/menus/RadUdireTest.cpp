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
#include "platform/gdi/Regions.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
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

}  // namespace
