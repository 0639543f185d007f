// Renders a sampler of everything this layer draws into a PNG (in the temp folder,
// lorm-gdi/sampler.png) for a person to look at, and checks it is not blank.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

namespace {

HFONT Font(const char* face, int h, int weight = FW_NORMAL, int esc = 0, bool italic = false, bool underline = false) {
  LOGFONT lf;
  lf.lfFaceName = face;
  lf.lfHeight = h;
  lf.lfWeight = weight;
  lf.lfEscapement = esc;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  return CreateFontIndirect(&lf);
}

TEST(GdiSampler, DrawsEverythingIntoAPng) {
  Canvas32 cv(640, 480, GetSysColor(COLOR_BTNFACE));
  HDC dc = cv.dc;
  // Shapes.
  {
    Select pen(dc, CreatePen(PS_SOLID, 1, kBlack));
    Select brush(dc, CreateSolidBrush(RGB(255, 255, 160)));
    Rectangle(dc, 10, 10, 60, 50);
    RoundRect(dc, 70, 10, 130, 50, 12, 12);
    Ellipse(dc, 140, 10, 200, 50);
    Pie(dc, 210, 10, 260, 60, 260, 35, 235, 10);
    Chord(dc, 270, 10, 320, 60, 320, 35, 270, 35);
    POINT tri[] = {{340, 50}, {365, 10}, {390, 50}};
    Polygon(dc, tri, 3);
    Arc(dc, 400, 10, 450, 60, 450, 35, 400, 35);
    POINT bez[] = {{460, 50}, {480, 0}, {520, 80}, {540, 20}};
    PolyBezier(dc, bez, 4);
  }
  {
    int y = 70;
    for (int style : {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT}) {
      Select pen(dc, CreatePen(style, 1, kBlue));
      MoveToEx(dc, 10, y, nullptr);
      LineTo(dc, 200, y);
      y += 5;
    }
    Select wide(dc, CreatePen(PS_SOLID, 5, kRed));
    MoveToEx(dc, 220, 70, nullptr);
    LineTo(dc, 330, 95);
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 128, 0));
    RECT hr{350, 65, 420, 100};
    FillRect(dc, &hr, hatch);
    DeleteObject(hatch);
    TRIVERTEX v[2] = {{430, 65, 0x0000, 0x5400, 0xE300, 0}, {630, 100, 0x3D00, 0x9500, 0xFF00, 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
  }
  // Text.
  {
    SetBkMode(dc, TRANSPARENT);
    int y = 110;
    for (const char* face : {"Tahoma", "Segoe UI", "MS Sans Serif", "Arial", "Times New Roman", "Courier New", "Verdana"}) {
      Select f(dc, Font(face, -13));
      std::string s = std::string(face) + ": Пересчёт коэффициентов ЛОРМ gh 0123";
      TextOut(dc, 10, y, s.c_str(), -1);
      y += 18;
    }
    Select bold(dc, Font("Tahoma", -11, FW_BOLD, 0, true, true));
    TextOut(dc, 10, y, "Bold italic underlined Tahoma 8pt", -1);
    Select rot(dc, Font("Arial", -14, FW_NORMAL, 900));
    TextOut(dc, 380, 250, "Rotated 90", -1);
    Select rot45(dc, Font("Arial", -14, FW_NORMAL, 450));
    TextOut(dc, 400, 250, "Rotated 45", -1);
  }
  {
    Select f(dc, Font("Tahoma", -11));
    RECT r{480, 110, 630, 200};
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawText(dc, "&File menu with a long wrapped caption that breaks at blanks", -1, &r, DT_WORDBREAK | DT_CENTER);
    RECT e{480, 205, 600, 222};
    FrameRect(dc, &e, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawText(dc, "C:\\Program Files\\LORM\\coefficients.dat", -1, &e, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_VCENTER);
    RECT e2{480, 225, 600, 242};
    FrameRect(dc, &e2, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawText(dc, "End ellipsis on a long caption", -1, &e2, DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(10, 36, 106));
    SetTextColor(dc, kWhite);
    TextOut(dc, 480, 250, "Selected text", -1);
    SetTextColor(dc, kBlack);
    SetBkMode(dc, TRANSPARENT);
  }
  // Classic controls.
  {
    int x = 10;
    RECT r;
    auto next = [&](int w) {
      r = RECT{x, 270, x + w, 270 + 20};
      x += w + 6;
      return &r;
    };
    DrawEdge(dc, next(40), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    DrawEdge(dc, next(40), EDGE_SUNKEN, BF_RECT);
    DrawEdge(dc, next(40), EDGE_ETCHED, BF_RECT);
    DrawEdge(dc, next(40), EDGE_BUMP, BF_RECT);
    DrawFrameControl(dc, next(60), DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawFrameControl(dc, next(60), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    DrawFrameControl(dc, next(16), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    DrawFrameControl(dc, next(16), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    DrawFrameControl(dc, next(16), DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    DrawFrameControl(dc, next(16), DFC_BUTTON, DFCS_BUTTONRADIO);
    DrawFrameControl(dc, next(17), DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    DrawFrameControl(dc, next(17), DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(dc, next(17), DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    DrawFrameControl(dc, next(17), DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_INACTIVE);
    DrawFrameControl(dc, next(17), DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_FLAT);
    DrawFrameControl(dc, next(18), DFC_CAPTION, DFCS_CAPTIONCLOSE);
    DrawFrameControl(dc, next(18), DFC_CAPTION, DFCS_CAPTIONMIN);
    DrawFrameControl(dc, next(18), DFC_CAPTION, DFCS_CAPTIONMAX);
    DrawFrameControl(dc, next(18), DFC_CAPTION, DFCS_CAPTIONRESTORE);
    DrawFrameControl(dc, next(18), DFC_CAPTION, DFCS_CAPTIONHELP);
    DrawFrameControl(dc, next(16), DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    RECT f{x, 270, x + 40, 290};
    DrawFocusRect(dc, &f);
  }
  // Theme parts.
  {
    struct Part {
      const char* cls;
      int part, state, w, h;
    } parts[] = {
        {"button", BP_PUSHBUTTON, PBS_NORMAL, 70, 23},    {"button", BP_PUSHBUTTON, PBS_HOT, 70, 23},
        {"button", BP_PUSHBUTTON, PBS_PRESSED, 70, 23},   {"button", BP_PUSHBUTTON, PBS_DISABLED, 70, 23},
        {"button", BP_PUSHBUTTON, PBS_DEFAULTED, 70, 23}, {"button", BP_CHECKBOX, CBS_UNCHECKEDNORMAL, 13, 13},
        {"button", BP_CHECKBOX, CBS_CHECKEDNORMAL, 13, 13}, {"button", BP_CHECKBOX, CBS_CHECKEDHOT, 13, 13},
        {"button", BP_CHECKBOX, CBS_MIXEDNORMAL, 13, 13}, {"button", BP_CHECKBOX, CBS_CHECKEDDISABLED, 13, 13},
        {"button", BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, 13, 13}, {"button", BP_RADIOBUTTON, RBS_CHECKEDNORMAL, 13, 13},
        {"button", BP_RADIOBUTTON, RBS_CHECKEDDISABLED, 13, 13},
    };
    int x = 10;
    for (const Part& p : parts) {
      HTHEME t = OpenThemeData(nullptr, p.cls);
      RECT r{x, 310, x + p.w, 310 + p.h};
      DrawThemeBackground(t, dc, p.part, p.state, &r, nullptr);
      if (p.part == BP_PUSHBUTTON)
        DrawThemeText(t, dc, p.part, p.state, "OK", -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &r);
      CloseThemeData(t);
      x += p.w + 6;
    }
    Part parts2[] = {
        {"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, 17, 20}, {"combobox", CP_DROPDOWNBUTTON, CBXS_HOT, 17, 20},
        {"combobox", CP_DROPDOWNBUTTON, CBXS_PRESSED, 17, 20}, {"combobox", CP_DROPDOWNBUTTON, CBXS_DISABLED, 17, 20},
        {"spin", SPNP_UP, UPS_NORMAL, 15, 10},                 {"spin", SPNP_DOWN, DNS_HOT, 15, 10},
        {"scrollbar", SBP_ARROWBTN, ABS_UPNORMAL, 17, 17},      {"scrollbar", SBP_ARROWBTN, ABS_RIGHTHOT, 17, 17},
        {"scrollbar", SBP_THUMBBTNVERT, SCRBS_NORMAL, 17, 30},  {"header", HP_HEADERITEM, HIS_NORMAL, 70, 20},
        {"header", HP_HEADERITEM, HIS_HOT, 70, 20},              {"header", HP_HEADERITEM, HIS_PRESSED, 70, 20},
        {"tab", TABP_TABITEM, TIS_NORMAL, 60, 20},              {"tab", TABP_TABITEM, TIS_SELECTED, 60, 22},
        {"toolbar", TP_BUTTON, TS_HOT, 24, 22},                 {"toolbar", TP_BUTTON, TS_PRESSED, 24, 22},
        {"toolbar", TP_BUTTON, TS_CHECKED, 24, 22},
    };
    x = 10;
    for (const Part& p : parts2) {
      HTHEME t = OpenThemeData(nullptr, p.cls);
      RECT r{x, 345, x + p.w, 345 + p.h};
      DrawThemeBackground(t, dc, p.part, p.state, &r, nullptr);
      CloseThemeData(t);
      x += p.w + 6;
    }
    HTHEME prog = OpenThemeData(nullptr, "progress");
    RECT bar{10, 390, 210, 408};
    DrawThemeBackground(prog, dc, PP_BAR, 1, &bar, nullptr);
    for (int i = 0; i < 12; ++i) {
      RECT chunk{13 + i * 10, 393, 13 + i * 10 + 8, 405};
      DrawThemeBackground(prog, dc, PP_CHUNK, 1, &chunk, nullptr);
    }
    CloseThemeData(prog);
    HTHEME edit = OpenThemeData(nullptr, "edit");
    RECT er{220, 390, 340, 411};
    DrawThemeBackground(edit, dc, EP_EDITTEXT, ETS_NORMAL, &er, nullptr);
    CloseThemeData(edit);
    HTHEME tip = OpenThemeData(nullptr, "tooltip");
    RECT tr{350, 390, 470, 411};
    DrawThemeBackground(tip, dc, TTP_STANDARD, TTSS_NORMAL, &tr, nullptr);
    DrawThemeText(tip, dc, TTP_STANDARD, TTSS_NORMAL, u"Подсказка", -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &tr);
    CloseThemeData(tip);
    HTHEME win = OpenThemeData(nullptr, "window");
    RECT cap{10, 420, 330, 450};
    DrawThemeBackground(win, dc, WP_CAPTION, CS_ACTIVE, &cap, nullptr);
    int bx = 250;
    for (int part : {WP_MINBUTTON, WP_MAXBUTTON, WP_CLOSEBUTTON}) {
      RECT b{bx, 424, bx + 21, 445};
      DrawThemeBackground(win, dc, part, CBS_NORMAL, &b, nullptr);
      bx += 25;
    }
    CloseThemeData(win);
  }
  cv.savePng("sampler.png");
  EXPECT_LT(cv.count(GetSysColor(COLOR_BTNFACE)), 640 * 480 - 20000);
}

}  // namespace
