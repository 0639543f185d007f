// Menus of the window system: the item functions, the menu bar and pop-up menus driven
// by keys and the mouse, the notifications and owner-drawn items.
#include <algorithm>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UxTheme.h"
#include "platform/win/WinMenu.h"

namespace {

enum : UINT { idOpen = 101, idSave = 102, idExit = 103, idCut = 201, idCopy = 202, idDeep = 301, idAbout = 401 };

class MenuTest : public WinTest {
protected:
  struct TRecord {
    UINT Msg;
    WPARAM W;
    LPARAM L;
  };
  std::vector<TRecord> Log;
  std::vector<MEASUREITEMSTRUCT> Measured;
  std::vector<DRAWITEMSTRUCT> Drawn;
  std::vector<HWND> DrawnWnd;  // the window of each DC while it was drawn on
  HMENU Bar = nullptr, File = nullptr, Edit = nullptr, Deep = nullptr;
  HWND Wnd = nullptr;
  LRESULT MenuCharAnswer = 0;

  void SetUp() override {
    WinTest::SetUp();
    Bar = CreateMenu();
    File = CreatePopupMenu();
    Edit = CreatePopupMenu();
    Deep = CreatePopupMenu();
    AppendMenu(File, MF_STRING, idOpen, "&Open\tCtrl+O");
    AppendMenu(File, MF_SEPARATOR, 0, nullptr);
    AppendMenu(File, MF_STRING, idSave, "&Save");
    AppendMenu(File, MF_POPUP, UINT_PTR(Deep), "&More");
    AppendMenu(File, MF_STRING, idExit, "E&xit");
    AppendMenu(Deep, MF_STRING, idDeep, "&Deep");
    AppendMenu(Edit, MF_STRING, idCut, "Cu&t");
    AppendMenu(Edit, MF_STRING | MF_GRAYED, idCopy, "&Copy");
    AppendMenu(Bar, MF_POPUP, UINT_PTR(File), "&File");
    AppendMenu(Bar, MF_POPUP, UINT_PTR(Edit), "&Edit");
    AppendMenu(Bar, MF_STRING, idAbout, "&About");
    Wnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, RECT{100, 100, 500, 400}, [this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      switch (m) {
        case WM_ENTERMENULOOP: case WM_EXITMENULOOP: case WM_INITMENU: case WM_INITMENUPOPUP:
        case WM_UNINITMENUPOPUP: case WM_MENUSELECT: case WM_COMMAND: case WM_MENUCHAR:
          Log.push_back({m, w, l});
          if (m == WM_MENUCHAR) return MenuCharAnswer;
          return 0;
        case WM_MEASUREITEM: {
          auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
          mis->itemWidth = 90;
          mis->itemHeight = 21;
          Measured.push_back(*mis);
          return TRUE;
        }
        case WM_DRAWITEM:
          Drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(l));
          DrawnWnd.push_back(WindowFromDC(Drawn.back().hDC));
          return TRUE;
      }
      return DefWindowProc(h, m, w, l);
    });
    SetMenu(Wnd, Bar);
    SetActiveWindow(Wnd);
    SetFocus(Wnd);
    UpdateAllWindows();
    Pump();
    Log.clear();
  }

  // Scripts: each step runs when a loop waits for input.
  void Step(std::function<void()> f) { Backend.Steps.push_back(std::move(f)); }
  static void Key(int vk) {
    InputKey(vk, true);
    InputKey(vk, false);
  }
  static void AltKey(int vk) {
    InputKey(VK_MENU, true);
    Key(vk);
    InputKey(VK_MENU, false);
  }
  static POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  static void Click(POINT p) {
    InputMouseMove(p);
    InputMouseButton(TInputButton::Left, true, p);
    InputMouseButton(TInputButton::Left, false, p);
  }
  RECT ItemRect(HMENU m, UINT i) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(Wnd, m, i, &r));
    return r;
  }
  static int Sel(HMENU m) {
    for (int i = 0; i < GetMenuItemCount(m); ++i)
      if (GetMenuState(m, UINT(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
  }
  std::vector<UINT> Commands() const {
    std::vector<UINT> ids;
    for (auto& r : Log)
      if (r.Msg == WM_COMMAND) ids.push_back(LOWORD(r.W));
    return ids;
  }
  int Count(UINT msg) const {
    return int(std::count_if(Log.begin(), Log.end(), [msg](const TRecord& r) { return r.Msg == msg; }));
  }
};

TEST_F(MenuTest, ItemFunctionsKeepTextStateAndSubMenus) {
  EXPECT_EQ(GetMenuItemCount(Bar), 3);
  EXPECT_EQ(GetSubMenu(Bar, 0), File);
  EXPECT_EQ(GetMenuItemID(Bar, 0), UINT(-1));
  EXPECT_EQ(GetMenuItemID(Bar, 2), UINT(idAbout));
  // By command the search goes into the sub-menus.
  EXPECT_EQ(CheckMenuItem(Bar, idSave, MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(File, 2, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(Bar, idDeep, MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(GetMenuState(Deep, idDeep, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
  char buf[32];
  EXPECT_EQ(GetMenuString(File, 0, buf, sizeof buf, MF_BYPOSITION), 12);
  EXPECT_STREQ(buf, "&Open\tCtrl+O");

  MENUITEMINFO mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
  char text[8];
  mii.dwTypeData = text;
  mii.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfo(File, 3, TRUE, &mii));
  EXPECT_EQ(mii.hSubMenu, Deep);
  EXPECT_STREQ(text, "&More");
  EXPECT_EQ(mii.cch, 5u);

  MENUITEMINFO set;
  set.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING;
  set.fType = MFT_OWNERDRAW;
  set.wID = 555;
  set.dwItemData = 77;
  ASSERT_TRUE(InsertMenuItem(File, 0, TRUE, &set));
  EXPECT_EQ(GetMenuItemID(File, 0), 555u);
  EXPECT_EQ(GetMenuState(File, 555, MF_BYCOMMAND) & MF_OWNERDRAW, UINT(MF_OWNERDRAW));
  EXPECT_TRUE(DeleteMenu(File, 555, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(File), 5);

  // Removing keeps the sub-menu; deleting destroys it.
  EXPECT_TRUE(RemoveMenu(File, 3, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(Deep));
  EXPECT_TRUE(InsertMenu(File, 3, MF_BYPOSITION | MF_POPUP, UINT_PTR(Deep), "&More"));
  EXPECT_TRUE(DeleteMenu(File, 3, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(Deep));
  EXPECT_FALSE(GetMenuItemInfo(File, 99, TRUE, &mii));
  EXPECT_EQ(GetMenuItemCount(reinterpret_cast<HMENU>(&mii)), -1);
  EXPECT_TRUE(DestroyMenu(Edit));
  EXPECT_FALSE(DestroyMenu(Edit));
  EXPECT_EQ(GetSubMenu(Bar, 1), nullptr);
}

TEST_F(MenuTest, AltOpensTheBarAndKeysWalkSkippingSeparators) {
  Step([] { Key(VK_DOWN); });              // opens File with "Open" selected
  Step([this] {
    EXPECT_EQ(GetMenuWindow(File) != nullptr, true);
    EXPECT_EQ(Sel(File), 0);
    Key(VK_DOWN);                          // over the separator to "Save"
  });
  Step([this] {
    EXPECT_EQ(Sel(File), 2);
    Key(VK_RETURN);
  });
  Key(VK_MENU);  // Alt pressed and released alone
  Pump();
  EXPECT_EQ(Commands(), std::vector<UINT>{idSave});
  EXPECT_EQ(GetMenuWindow(File), nullptr);
  EXPECT_EQ(GetMenuLoopOwner(), nullptr);
  ASSERT_GE(Log.size(), 4u);
  EXPECT_EQ(Log.front().Msg, UINT(WM_ENTERMENULOOP));
  EXPECT_EQ(Log[1].Msg, UINT(WM_INITMENU));
  EXPECT_EQ(Count(WM_INITMENUPOPUP), 1);
  EXPECT_EQ(Count(WM_UNINITMENUPOPUP), 1);
  // The loop ends with the closing WM_MENUSELECT, then WM_EXITMENULOOP, then the command.
  auto exit = std::find_if(Log.begin(), Log.end(), [](const TRecord& r) { return r.Msg == WM_EXITMENULOOP; });
  ASSERT_NE(exit, Log.end());
  EXPECT_EQ((exit - 1)->Msg, UINT(WM_MENUSELECT));
  EXPECT_EQ(HIWORD((exit - 1)->W), 0xFFFF);
  EXPECT_EQ((exit - 1)->L, 0);
  EXPECT_EQ((exit + 1)->Msg, UINT(WM_COMMAND));
}

TEST_F(MenuTest, EscapeClosesOneLevelAtATime) {
  Step([] { Key(VK_UP); });        // File open, last item "Exit"
  Step([] { Key(VK_UP); });        // "More"
  Step([] { Key(VK_RIGHT); });     // into Deep
  Step([this] {
    EXPECT_NE(GetMenuWindow(Deep), nullptr);
    EXPECT_EQ(Sel(Deep), 0);
    Key(VK_ESCAPE);
  });
  Step([this] {
    EXPECT_EQ(GetMenuWindow(Deep), nullptr);
    EXPECT_NE(GetMenuWindow(File), nullptr);
    EXPECT_EQ(Sel(File), 3);
    Key(VK_ESCAPE);
  });
  Step([this] {
    EXPECT_EQ(GetMenuWindow(File), nullptr);
    EXPECT_EQ(GetMenuLoopOwner(), Wnd);  // the bar item stays selected
    Key(VK_RIGHT);                       // "Edit" on the bar
  });
  Step([] { Key(VK_ESCAPE); });
  AltKey('F');
  Pump();
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(GetMenuLoopOwner(), nullptr);
}

TEST_F(MenuTest, AcceleratorLettersChooseAndUnknownLettersAskTheOwner) {
  Step([] { Key('M'); });  // "&More" opens Deep with "Deep" selected
  Step([] { Key('D'); });  // "&Deep" chosen
  AltKey('F');
  Pump();
  EXPECT_EQ(Commands(), std::vector<UINT>{idDeep});

  // No item has "q": the owner answers WM_MENUCHAR with "execute item 2" (Save).
  Log.clear();
  MenuCharAnswer = MAKELRESULT(2, MNC_EXECUTE);
  Step([] { Key('Q'); });
  AltKey('F');
  Pump();
  auto mc = std::find_if(Log.begin(), Log.end(), [](const TRecord& r) { return r.Msg == WM_MENUCHAR; });
  ASSERT_NE(mc, Log.end());
  EXPECT_EQ(LOWORD(mc->W), 'q');
  EXPECT_EQ(HIWORD(mc->W), UINT(MF_POPUP));
  EXPECT_EQ(reinterpret_cast<HMENU>(mc->L), File);
  EXPECT_EQ(Commands(), std::vector<UINT>{idSave});
}

TEST_F(MenuTest, DisabledItemsAreNotChosen) {
  Step([] { Key(VK_DOWN); });    // "Copy" (grayed) is selectable by keys
  Step([this] {
    EXPECT_EQ(Sel(Edit), 1);
    Key(VK_RETURN);              // nothing
  });
  Step([] { Key(VK_ESCAPE); });
  Step([] { Key(VK_ESCAPE); });
  Step([] {});
  AltKey('E');
  Step([] {});
  Pump();
  EXPECT_TRUE(Commands().empty());
}

// F10 then Down opens the first menu on its first item, even when the pop-up opens under
// a pointer resting over another of its items; moving the pointer then selects as usual.
TEST_F(MenuTest, F10AndDownSelectTheFirstItemWhateverThePointerRestsOn) {
  RECT save{};
  Step([] { Key(VK_DOWN); });
  Step([&] {
    save = ItemRect(File, 2);
    Key(VK_ESCAPE);
  });
  Step([] { Key(VK_ESCAPE); });
  Key(VK_F10);
  Pump();
  ASSERT_GT(save.bottom, save.top);
  InputMouseMove(Center(save));  // the pointer rests where "Save" will show
  Pump();
  Step([&] {
    Key(VK_DOWN);
    // A display reports the pointer anew when a window appears under it.
    InputMouseMove(Center(save));
  });
  Step([&] {
    EXPECT_EQ(Sel(File), 0);
    POINT p = Center(save);
    InputMouseMove(POINT{p.x + 1, p.y});
  });
  Step([&] {
    EXPECT_EQ(Sel(File), 2) << "a real move selects";
    Key(VK_ESCAPE);
  });
  Step([] { Key(VK_ESCAPE); });
  Key(VK_F10);
  Pump();
}

TEST_F(MenuTest, TheMouseOpensBarItemsSwitchesBetweenThemAndChooses) {
  RECT file = ItemRect(Bar, 0), edit = ItemRect(Bar, 1);
  Step([&] {
    EXPECT_NE(GetMenuWindow(File), nullptr);
    InputMouseMove(Center(edit));    // moving over another bar item switches
  });
  Step([&] {
    EXPECT_EQ(GetMenuWindow(File), nullptr);
    ASSERT_NE(GetMenuWindow(Edit), nullptr);
    Click(Center(ItemRect(Edit, 0)));
  });
  Click(Center(file));
  Pump();
  EXPECT_EQ(Commands(), std::vector<UINT>{idCut});
  // WM_MENUSELECT for the bar item tells a sub-menu by its position and MF_POPUP.
  auto sel = std::find_if(Log.begin(), Log.end(), [this](const TRecord& r) {
    return r.Msg == WM_MENUSELECT && reinterpret_cast<HMENU>(r.L) == Bar;
  });
  ASSERT_NE(sel, Log.end());
  EXPECT_EQ(LOWORD(sel->W), 0);
  EXPECT_TRUE(HIWORD(sel->W) & MF_POPUP);
}

TEST_F(MenuTest, AClickOutsideDismissesAndReachesTheWindowUnderIt) {
  int clicks = 0;
  HWND other = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, RECT{600, 100, 800, 300}, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN) ++clicks;
    return DefWindowProc(h, m, w, l);
  });
  (void)other;
  Step([] { Click(POINT{700, 250}); });
  EXPECT_TRUE(TrackPopupMenuEx(Edit, 0, 300, 200, Wnd, nullptr));
  EXPECT_EQ(GetMenuWindow(Edit), nullptr);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuTest, TrackPopupMenuReturnsTheCommandAndRunsTheMessageFilter) {
  static std::vector<UINT> seen;
  seen.clear();
  HHOOK hook = SetWindowsHookEx(WH_MSGFILTER, [](int code, WPARAM w, LPARAM l) -> LRESULT {
    if (code == MSGF_MENU) {
      auto* m = reinterpret_cast<MSG*>(l);
      seen.push_back(m->message);
      if (m->message == WM_MENUSELECT && HIWORD(m->wParam) == 0xFFFF) seen.push_back(0xFFFF);
    }
    return CallNextHookEx(nullptr, code, w, l);
  }, nullptr, GetCurrentThreadId());
  Step([] { Key(VK_DOWN); });
  Step([] { Key(VK_RETURN); });
  UINT cmd = UINT(TrackPopupMenuEx(Edit, TPM_RETURNCMD | TPM_RIGHTBUTTON, 300, 200, Wnd, nullptr));
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(cmd, UINT(idCut));
  Pump();
  EXPECT_TRUE(Commands().empty());  // TPM_RETURNCMD: nothing posted
  EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_KEYDOWN)), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_MENUSELECT)), seen.end());
  EXPECT_EQ(seen.back(), 0xFFFFu);  // the closing WM_MENUSELECT went through the filter last
  EXPECT_EQ(Log.front().Msg, UINT(WM_ENTERMENULOOP));
  EXPECT_EQ(Log.front().W, WPARAM(TRUE));
  // A second loop is refused while one runs.
  Step([this] {
    EXPECT_FALSE(TrackPopupMenu(File, 0, 0, 0, 0, Wnd, nullptr));
    EndMenu();
  });
  EXPECT_TRUE(TrackPopupMenu(Edit, 0, 10, 10, 0, Wnd, nullptr));
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirStates) {
  HMENU pop = CreatePopupMenu();
  AppendMenu(pop, MF_OWNERDRAW, 1, reinterpret_cast<LPCSTR>(11));
  AppendMenu(pop, MF_OWNERDRAW | MF_GRAYED, 2, reinterpret_cast<LPCSTR>(12));
  AppendMenu(pop, MF_OWNERDRAW | MF_CHECKED, 3, reinterpret_cast<LPCSTR>(13));
  RECT first{};
  Step([&] {
    ASSERT_EQ(Measured.size(), 3u);
    EXPECT_EQ(Measured[0].CtlType, UINT(ODT_MENU));
    EXPECT_EQ(Measured[1].itemID, 2u);
    EXPECT_EQ(Measured[2].itemData, 13u);
    // Painted once each when shown, nothing selected.
    ASSERT_EQ(Drawn.size(), 3u);
    EXPECT_EQ(Drawn[0].itemState & ~UINT(ODS_NOACCEL), 0u);
    EXPECT_EQ(Drawn[1].itemState & (ODS_GRAYED | ODS_DISABLED), UINT(ODS_GRAYED));
    EXPECT_EQ(Drawn[2].itemState & ODS_CHECKED, UINT(ODS_CHECKED));
    EXPECT_EQ(Drawn[0].hwndItem, reinterpret_cast<HWND>(pop));
    EXPECT_EQ(DrawnWnd[0], GetMenuWindow(pop));
    EXPECT_EQ(RectWidth(Drawn[0].rcItem), 90);
    EXPECT_EQ(RectHeight(Drawn[0].rcItem), 21);
    EXPECT_EQ(Drawn[1].rcItem.top, 21);
    first = ItemRect(pop, 0);
    Drawn.clear();
    InputMouseMove(Center(first));  // hover selects
  });
  Step([&] {
    ASSERT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Drawn[0].itemID, 1u);
    EXPECT_EQ(Drawn[0].itemAction, UINT(ODA_SELECT));
    EXPECT_TRUE(Drawn[0].itemState & ODS_SELECTED);
    EXPECT_TRUE(Drawn[0].itemState & ODS_NOACCEL);  // opened by the mouse, cues hidden
    Drawn.clear();
    Key(VK_DOWN);  // to the grayed item
  });
  Step([&] {
    ASSERT_EQ(Drawn.size(), 2u);  // the old one unselected, the new one selected
    EXPECT_FALSE(Drawn[0].itemState & ODS_SELECTED);
    EXPECT_EQ(Drawn[1].itemState & (ODS_SELECTED | ODS_GRAYED), UINT(ODS_SELECTED | ODS_GRAYED));
    Key(VK_ESCAPE);
  });
  EXPECT_TRUE(TrackPopupMenu(pop, 0, 50, 50, 0, Wnd, nullptr));
  // Measured once; the next showing uses the sizes kept.
  Step([] { Key(VK_ESCAPE); });
  EXPECT_TRUE(TrackPopupMenu(pop, 0, 50, 50, 0, Wnd, nullptr));
  EXPECT_EQ(Measured.size(), 3u);
  DestroyMenu(pop);
}

TEST_F(MenuTest, OwnerDrawnBarItemsGetHotAndSelectedStates) {
  MENUITEMINFO mii;
  mii.fMask = MIIM_FTYPE;
  mii.fType = MFT_OWNERDRAW;
  ASSERT_TRUE(SetMenuItemInfo(Bar, 0, TRUE, &mii));
  DrawMenuBar(Wnd);
  UpdateAllWindows();
  ASSERT_FALSE(Drawn.empty());
  EXPECT_EQ(DrawnWnd.back(), Wnd);
  RECT bar = ItemRect(Bar, 0);
  RECT wr;
  GetWindowRect(Wnd, &wr);
  EXPECT_EQ(Drawn.back().rcItem.left, bar.left - wr.left);  // window coordinates
  Drawn.clear();
  InputMouseMove(Center(bar));
  Pump();
  UpdateAllWindows();
  ASSERT_FALSE(Drawn.empty());
  EXPECT_TRUE(Drawn.back().itemState & ODS_HOTLIGHT);
  Drawn.clear();
  Step([&] {
    UpdateAllWindows();
    ASSERT_FALSE(Drawn.empty());
    EXPECT_TRUE(Drawn.back().itemState & ODS_SELECTED);
    Key(VK_ESCAPE);
  });
  Step([] { Key(VK_ESCAPE); });
  InputMouseButton(TInputButton::Left, true, Center(bar));
  InputMouseButton(TInputButton::Left, false, Center(bar));
  Pump();
  EXPECT_EQ(GetMenuLoopOwner(), nullptr);
}

}  // namespace

namespace {

// A pixel of a top-level window's buffer (window coordinates).
COLORREF WindowPixelAt(HWND h, int x, int y) {
  HDC dc = GetWindowDC(h);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(h, dc);
  return c;
}

}  // namespace

// In the themed look a pop-up menu casts a soft shadow along its right and bottom edges:
// a window just beneath the menu's showing the window under it darkened, which takes no
// input and goes with the menu. The classic look has none.
TEST_F(MenuTest, ThemedMenusCastAShadowThatTakesNoInput) {
  struct TCase {
    bool Themed;
    bool Shadow;
  };
  for (TCase c : {TCase{true, true}, TCase{false, false}}) {
    SCOPED_TRACE(c.Themed ? "themed" : "classic");
    SetThemeActive(c.Themed);
    HWND shadow = nullptr;
    RECT menuRect{}, shadowRect{};
    COLORREF under = 0, inner = 0, outer = 0, stripEnd = 0, corner = 0;
    HWND hit = nullptr;
    Step([&] {
      HWND menu = GetMenuWindow(Edit);
      ASSERT_NE(menu, nullptr);
      GetWindowRect(menu, &menuRect);
      HWND below = GetWindow(menu, GW_HWNDNEXT);
      if (below && GetClassNameStr(below) != GetClassNameStr(Wnd) && below != Wnd) shadow = below;
      if (shadow) {
        GetWindowRect(shadow, &shadowRect);
        int w = RectWidth(shadowRect), h = RectHeight(shadowRect);
        POINT at{shadowRect.right - 4, shadowRect.top + h / 2};
        ScreenToClient(Wnd, &at);
        HDC dc = GetDC(Wnd);
        under = GetPixel(dc, at.x, at.y);
        ReleaseDC(Wnd, dc);
        inner = WindowPixelAt(shadow, w - 4, h / 2);  // along the menu's edge
        outer = WindowPixelAt(shadow, w - 1, h / 2);  // the outer edge
        stripEnd = WindowPixelAt(shadow, w - 4, 0);   // the strip's top end
        corner = WindowPixelAt(shadow, w - 1, h - 1);
        hit = WindowFromPoint(POINT{shadowRect.right - 2, shadowRect.top + h / 2});
      }
      Key(VK_ESCAPE);
    });
    TrackPopupMenuEx(Edit, 0, 300, 200, Wnd, nullptr);
    if (!c.Shadow) {
      EXPECT_EQ(shadow, nullptr);
      continue;
    }
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadowRect.left, menuRect.left + 4);
    EXPECT_EQ(shadowRect.top, menuRect.top + 4);
    EXPECT_EQ(RectWidth(shadowRect), RectWidth(menuRect));
    EXPECT_EQ(RectHeight(shadowRect), RectHeight(menuRect));
    EXPECT_EQ(hit, Wnd);  // the pointer reaches the window under the shadow
    EXPECT_FALSE(IsWindow(shadow));  // gone with the menu
    // The window beneath (white), darkened most along the menu's edge and fading outwards
    // and at the ends.
    EXPECT_EQ(under, RGB(255, 255, 255));
    auto grey = [](COLORREF v) { return int(GetRValue(v)); };
    EXPECT_EQ(GetRValue(inner), GetBValue(inner));
    EXPECT_NEAR(grey(inner), 255 - 96, 2);
    EXPECT_NEAR(grey(outer), 255 - 24, 2);
    EXPECT_NEAR(grey(stripEnd), 255 - 24, 2);
    EXPECT_NEAR(grey(corner), 255 - 6, 2);
  }
  SetThemeActive(true);
}
