#include <cerrno>
#include <cstring>

#include "WinTestSupport.h"
#include "platform/win/OSError.h"

namespace {

class System : public WinTest {};

TEST_F(System, ClipboardKeepsTextInBothFormsAndCustomFormats) {
  SetClipboardTextUtf8("Метан;CH4");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(nullptr));  // one opener at a time
  auto* wide = static_cast<const char16_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::u16string(wide), u"Метан;CH4");
  GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
  UINT cells = RegisterClipboardFormat("TDavEvadurAvuz Cells");
  EXPECT_EQ(RegisterClipboardFormat("TDavEvadurAvuz Cells"), cells);
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(data), "abc", 3);
  GlobalUnlock(data);
  EXPECT_EQ(SetClipboardData(cells, data), data);
  CloseClipboard();
  EXPECT_TRUE(IsClipboardFormatAvailable(cells));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(GetClipboardTextUtf8(), "");
  HGLOBAL refused = GlobalAlloc(0, 1);
  EXPECT_EQ(SetClipboardData(CF_TEXT, refused), nullptr);  // not open: the caller keeps it
  GlobalFree(refused);
}

TEST_F(System, IdentityMetricsAndParametersAreTheConfiguredOnes) {
  OSVERSIONINFO vi;
  ASSERT_TRUE(GetVersionEx(&vi));
  EXPECT_EQ(vi.dwMajorVersion, 6u);
  EXPECT_EQ(vi.dwMinorVersion, 1u);
  SystemIdentity().MajorVersion = 5;
  SystemIdentity().MinorVersion = 1;
  GetVersionEx(&vi);
  EXPECT_EQ(vi.dwMajorVersion, 5u);
  NONCLIENTMETRICS ncm;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  EXPECT_EQ(ncm.lfMessageFont.lfFaceName, "Tahoma");  // the pre-Vista face
  BOOL anim = FALSE;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &anim, 0));
  EXPECT_TRUE(anim);
  SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
  SystemParametersInfo(SPI_GETMENUANIMATION, 0, &anim, 0);
  EXPECT_FALSE(anim);
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, Backend.WorkArea());
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  SetSystemMetric(SM_CXVSCROLL, 20);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 20);
}

TEST_F(System, AdjustWindowRectMatchesTheClientAreaOfARealWindow) {
  struct TCase {
    DWORD Style, ExStyle;
  } cases[] = {{WS_OVERLAPPEDWINDOW, 0}, {WS_POPUP | WS_BORDER, 0}, {WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME},
               {WS_CHILD, WS_EX_CLIENTEDGE}, {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW}};
  HWND parent = Make(WS_POPUP, nullptr, MakeRect(0, 0, 500, 500));
  for (const TCase& c : cases) {
    RECT r = MakeRect(0, 0, 100, 50);
    AdjustWindowRectEx(&r, c.Style, FALSE, c.ExStyle);
    HWND w = Make(c.Style, (c.Style & WS_CHILD) ? parent : nullptr, MakeRect(0, 0, RectWidth(r), RectHeight(r)), nullptr,
                  c.ExStyle);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client, MakeRect(0, 0, 100, 50)) << std::hex << c.Style << " " << c.ExStyle;
  }
}

TEST_F(System, CaretIsOneForTheThreadAndCountsHides) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 100, 100));
  ASSERT_TRUE(CreateCaret(w, nullptr, 1, 14));
  EXPECT_FALSE(GetCaretInfo().Visible);  // created hidden
  ShowCaret(w);
  SetCaretPos(10, 3);
  EXPECT_TRUE(GetCaretInfo().Visible);
  EXPECT_EQ(GetCaretInfo().Rect, MakeRect(10, 3, 11, 17));
  HideCaret(w);
  HideCaret(w);
  ShowCaret(w);
  EXPECT_FALSE(GetCaretInfo().Visible);
  DestroyCaret();
  EXPECT_EQ(GetCaretInfo().Window, nullptr);
}

LRESULT CALLBACK_RefuseCreation(int code, WPARAM, LPARAM) { return code == HCBT_CREATEWND ? 1 : 0; }
LRESULT CALLBACK_EatF1(int, WPARAM vk, LPARAM) { return vk == VK_F1 ? 1 : 0; }

TEST_F(System, CbtAndKeyboardHooksCanRefuse) {
  HHOOK cbt = SetWindowsHookEx(WH_CBT, CALLBACK_RefuseCreation, nullptr, 0);
  EXPECT_EQ(Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10)), nullptr);
  UnhookWindowsHookEx(cbt);
  std::vector<WPARAM> keys;
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 10, 10), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_KEYDOWN) keys.push_back(wp);
    return DefWindowProc(h, m, wp, lp);
  });
  SetFocus(w);
  HHOOK kb = SetWindowsHookEx(WH_KEYBOARD, CALLBACK_EatF1, nullptr, 0);
  InputKey(VK_F1, true);
  InputKey(VK_F2, true);
  Pump();
  UnhookWindowsHookEx(kb);
  EXPECT_EQ(keys, std::vector<WPARAM>{VK_F2});
}

}  // namespace

namespace {
TEST_F(System, GlobalHandleFindsTheBlockOfLockedContents) {
  HGLOBAL block = GlobalAlloc(GHND, 16);
  void* bytes = GlobalLock(block);
  EXPECT_EQ(GlobalHandle(bytes), block);
  EXPECT_EQ(GlobalHandle(static_cast<char*>(bytes) + 1), nullptr);
  EXPECT_EQ(GlobalHandle(nullptr), nullptr);
  GlobalUnlock(block);
  GlobalFree(block);
  EXPECT_EQ(GlobalHandle(bytes), nullptr);
}

TEST_F(System, LastOSErrorRaisesItsCodeAndText) {
  SetLastErrorFromErrno(ENOENT);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  try {
    RaiseLastOSError();
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, 2u);
    EXPECT_EQ(e.Message(), "System Error.  Code: 2.\r\nThe system cannot find the file specified.");
  }
  try {
    RaiseLastOSError(0);
  } catch (const EOSError& e) {
    EXPECT_EQ(e.Message(), "A call to an OS function failed");
  }
  EXPECT_EQ(OSErrorFromErrno(EPERM), ERROR_ACCESS_DENIED);
  EXPECT_EQ(OSErrorFromErrno(12345), ERROR_GEN_FAILURE);
  const LONG units = GetDialogBaseUnits();
  EXPECT_GT(units & 0xFFFF, 0);
  EXPECT_GT((units >> 16) & 0xFFFF, units & 0xFFFF);  // taller than wide
}
}  // namespace
