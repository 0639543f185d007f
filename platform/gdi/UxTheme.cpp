#include "platform/gdi/UxTheme.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <unordered_map>

#include "platform/rtl/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"

using namespace gdi;

namespace {

enum class Cls { Button, ComboBox, Spin, ScrollBar, Header, Tab, ToolBar, Progress, Edit, ToolTip, Window, Other };

struct ThemeState {
  bool active = true;
  std::string scheme = "NormalColor";
  ThemeChangeHandler changed;
  std::unordered_map<std::uintptr_t, Cls> open;
  std::uintptr_t next = 0x7E000;
  ThemeParentBackgroundPainter parentPainter;
};
ThemeState& TS() {
  static ThemeState* s = new ThemeState();
  return *s;
}

bool Lookup(HTHEME theme, Cls& cls) {
  auto it = TS().open.find(reinterpret_cast<std::uintptr_t>(theme));
  if (it == TS().open.end()) return false;
  cls = it->second;
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ClassFromName(const std::string& rawName, Cls& cls) {
  std::string name = Lower(rawName);
  // Trim blanks.
  while (!name.empty() && name.front() == ' ') name.erase(name.begin());
  while (!name.empty() && name.back() == ' ') name.pop_back();
  static const std::pair<const char*, Cls> known[] = {
      {"button", Cls::Button},     {"combobox", Cls::ComboBox}, {"spin", Cls::Spin},
      {"scrollbar", Cls::ScrollBar}, {"header", Cls::Header},   {"tab", Cls::Tab},
      {"toolbar", Cls::ToolBar},   {"progress", Cls::Progress}, {"edit", Cls::Edit},
      {"tooltip", Cls::ToolTip},   {"window", Cls::Window},     {"clock", Cls::Other},
      {"explorerbar", Cls::Other}, {"listview", Cls::Other},    {"menu", Cls::Other},
      {"page", Cls::Other},        {"rebar", Cls::Other},       {"startpanel", Cls::Other},
      {"status", Cls::Other},      {"taskband", Cls::Other},    {"taskbar", Cls::Other},
      {"trackbar", Cls::Other},    {"traynotify", Cls::Other},  {"treeview", Cls::Other},
      {"globals", Cls::Other}};
  for (const auto& [n, c] : known)
    if (name == n) {
      cls = c;
      return true;
    }
  return false;
}

std::string U16(const char16_t* s, int count = -1) {
  std::string out;
  if (!s) return out;
  for (int i = 0; count < 0 ? s[i] != 0 : i < count; ++i) {
    char16_t c = s[i];
    if (c < 0x80) out += char(c);
    else out += '?';  // class names are ASCII; text goes through the UTF-8 converter below
  }
  return out;
}

// ---- painting helpers ------------------------------------------------------------------------
struct RGBd {
  double r, g, b;
};
RGBd C(COLORREF c) { return RGBd{GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0}; }

class Painter {
public:
  Painter(DC* dc, const RECT& logical, const RECT* clip) : dc_(dc), t_(dc) {
    if (!t_.valid()) return;
    r_ = LogicalRectToDevice(dc, logical);
    cr_ = cairo_create(t_.surface());
    ClipCairo(cr_, t_);
    POINT o = t_.origin();
    if (clip) {
      RECT c = LogicalRectToDevice(dc, *clip);
      cairo_rectangle(cr_, c.left + o.x, c.top + o.y, c.right - c.left, c.bottom - c.top);
      cairo_clip(cr_);
    }
    cairo_translate(cr_, o.x, o.y);
  }
  ~Painter() {
    if (cr_) cairo_destroy(cr_);
  }
  bool ok() const { return cr_ != nullptr; }
  cairo_t* cr() const { return cr_; }
  const RECT& r() const { return r_; }
  double x() const { return r_.left; }
  double y() const { return r_.top; }
  double w() const { return r_.right - r_.left; }
  double h() const { return r_.bottom - r_.top; }

  void roundRect(double x, double y, double w, double h, double rad) {
    rad = std::min({rad, w / 2, h / 2});
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - rad, y + rad, rad, -std::numbers::pi / 2, 0);
    cairo_arc(cr_, x + w - rad, y + h - rad, rad, 0, std::numbers::pi / 2);
    cairo_arc(cr_, x + rad, y + h - rad, rad, std::numbers::pi / 2, std::numbers::pi);
    cairo_arc(cr_, x + rad, y + rad, rad, std::numbers::pi, 3 * std::numbers::pi / 2);
    cairo_close_path(cr_);
  }
  void vgradFill(double x, double y, double w, double h, COLORREF top, COLORREF bottom, double rad = 0) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    RGBd a = C(top), b = C(bottom);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr_, p);
    if (rad > 0) roundRect(x, y, w, h, rad);
    else cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
  }
  void hgradFill(double x, double y, double w, double h, COLORREF left, COLORREF right) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + w, 0);
    RGBd a = C(left), b = C(right);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr_, p);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
  }
  void fill(double x, double y, double w, double h, COLORREF c) {
    set(c);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
  }
  // A one-pixel outline on pixel centres, optionally rounded.
  void frame(double x, double y, double w, double h, COLORREF c, double rad = 0) {
    set(c);
    cairo_set_line_width(cr_, 1);
    if (rad > 0) roundRect(x + 0.5, y + 0.5, w - 1, h - 1, rad);
    else cairo_rectangle(cr_, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_stroke(cr_);
  }
  void hline(double x0, double x1, double y, COLORREF c) { fill(x0, y, x1 - x0, 1, c); }
  void vline(double x, double y0, double y1, COLORREF c) { fill(x, y0, 1, y1 - y0, c); }
  void set(COLORREF c) {
    RGBd v = C(c);
    cairo_set_source_rgb(cr_, v.r, v.g, v.b);
  }
  // Luna's arrow: a chevron seven pixels wide and four deep with two-pixel strokes,
  // symmetric about the centre of (x, y, w, h); dir 0 up, 1 down, 2 left, 3 right.
  void arrow(double x, double y, double w, double h, int dir, COLORREF c, double = 0) {
    static const int kRows[4][2] = {{-3, -2}, {-2, -1}, {-1, 1}, {0, 0}};  // down, row by row
    int cx = int(std::floor(x + (w - 1) / 2)), cy = int(std::floor(y + (h - 1) / 2));
    set(c);
    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    for (int row = 0; row < 4; ++row) {
      int depth = dir == 1 || dir == 3 ? row : 3 - row;  // position along the pointing axis
      auto span = [&](int from, int to) {
        if (dir <= 1) cairo_rectangle(cr_, cx + from, cy - 1 + depth, to - from + 1, 1);
        else cairo_rectangle(cr_, cx - 1 + depth, cy + from, 1, to - from + 1);
      };
      span(kRows[row][0], kRows[row][1]);
      if (row < 2) span(-kRows[row][1], -kRows[row][0]);
    }
    cairo_fill(cr_);
    cairo_restore(cr_);
  }
  // Whole-pixel rectangles in one colour, not anti-aliased.
  void rects(std::initializer_list<std::array<double, 4>> list, COLORREF c) {
    set(c);
    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    for (const auto& r : list) cairo_rectangle(cr_, r[0], r[1], r[2], r[3]);
    cairo_fill(cr_);
    cairo_restore(cr_);
  }

private:
  DC* dc_;
  Target t_;
  RECT r_{};
  cairo_t* cr_ = nullptr;
};

// Luna palette.
constexpr COLORREF kButtonBorder = RGB(0, 60, 116), kButtonTop = RGB(255, 255, 255), kButtonBottom = RGB(226, 223, 214),
                   kHotOuter = RGB(255, 240, 207), kHotInner = RGB(229, 151, 0), kDefOuter = RGB(206, 231, 255),
                   kDefInner = RGB(105, 130, 238), kPressedTop = RGB(209, 204, 193), kPressedBottom = RGB(239, 237, 232),
                   kDisabledBorder = RGB(201, 199, 186), kDisabledFace = RGB(245, 244, 234),
                   kDisabledText = RGB(161, 161, 146), kCheckBorder = RGB(28, 81, 128), kCheckMark = RGB(33, 161, 33),
                   kBlueBtnTop = RGB(213, 226, 252), kBlueBtnBottom = RGB(176, 199, 250),
                   kBlueBtnBorder = RGB(187, 202, 235), kBlueArrow = RGB(77, 97, 133),
                   kBlueHotTop = RGB(235, 242, 255), kBlueHotBottom = RGB(199, 215, 253),
                   kBluePressedTop = RGB(110, 142, 241), kBluePressedBottom = RGB(160, 185, 245),
                   kEditBorder = RGB(127, 157, 185), kHeaderFace = RGB(235, 234, 219), kTabBorder = RGB(145, 155, 156),
                   kTabSelected = RGB(255, 200, 60), kTabSelected2 = RGB(230, 139, 44), kProgressChunkTop = RGB(159, 232, 158),
                   kProgressChunk = RGB(43, 201, 42), kInfoBk = RGB(255, 255, 225);

void PushButton(Painter& p, int state) {
  double x = p.x(), y = p.y(), w = p.w(), h = p.h();
  if (state == PBS_DISABLED) {
    p.fill(x + 1, y + 1, w - 2, h - 2, kDisabledFace);
    p.frame(x, y, w, h, kDisabledBorder, 3);
    return;
  }
  if (state == PBS_PRESSED) p.vgradFill(x + 1, y + 1, w - 2, h - 2, kPressedTop, kPressedBottom);
  else p.vgradFill(x + 1, y + 1, w - 2, h - 2, kButtonTop, kButtonBottom);
  if (state == PBS_HOT) {
    p.frame(x + 1, y + 1, w - 2, h - 2, kHotOuter, 2);
    p.frame(x + 2, y + 2, w - 4, h - 4, kHotInner, 1);
  } else if (state == PBS_DEFAULTED) {
    p.frame(x + 1, y + 1, w - 2, h - 2, kDefOuter, 2);
    p.frame(x + 2, y + 2, w - 4, h - 4, kDefInner, 1);
  }
  p.frame(x, y, w, h, kButtonBorder, 3);
}

void CheckBox(Painter& p, int state, bool radio) {
  // 13x13 box at the top-left of the rectangle, vertically centred.
  double s = 13;
  double x = p.x() + std::floor((p.w() - s) / 2), y = p.y() + std::floor((p.h() - s) / 2);
  int base = (state - 1) % 4;  // 0 normal, 1 hot, 2 pressed, 3 disabled
  int mark = (state - 1) / 4;  // 0 unchecked, 1 checked, 2 mixed
  bool disabled = base == 3;
  COLORREF border = disabled ? kDisabledBorder : kCheckBorder;
  cairo_t* cr = p.cr();
  if (radio) {
    cairo_arc(cr, x + 6.5, y + 6.5, 6.5, 0, 2 * std::numbers::pi);
    cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x + s, y + s);
    RGBd a = C(disabled ? RGB(255, 255, 255) : base == 2 ? RGB(176, 176, 167) : RGB(220, 220, 215));
    RGBd b = C(RGB(255, 255, 255));
    cairo_pattern_add_color_stop_rgb(g, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(g, 1, b.r, b.g, b.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    p.set(border);
    cairo_set_line_width(cr, 1);
    cairo_new_path(cr);
    cairo_arc(cr, x + 6.5, y + 6.5, 6, 0, 2 * std::numbers::pi);
    cairo_stroke(cr);
    if (base == 1) {
      p.set(kHotInner);
      cairo_arc(cr, x + 6.5, y + 6.5, 4.5, 0, 2 * std::numbers::pi);
      cairo_stroke(cr);
    }
    if (mark == 1) {
      p.set(disabled ? kDisabledText : kCheckMark);
      cairo_arc(cr, x + 6.5, y + 6.5, 2.5, 0, 2 * std::numbers::pi);
      cairo_fill(cr);
    }
    return;
  }
  COLORREF top = disabled ? RGB(255, 255, 255) : base == 2 ? RGB(176, 176, 167) : RGB(220, 220, 215);
  p.vgradFill(x + 1, y + 1, s - 2, s - 2, top, RGB(255, 255, 255));
  if (base == 1) {
    p.frame(x + 1, y + 1, s - 2, s - 2, kHotOuter);
    p.frame(x + 2, y + 2, s - 4, s - 4, kHotInner);
  }
  p.frame(x, y, s, s, border);
  COLORREF mc = disabled ? kDisabledText : kCheckMark;
  if (mark == 1) {
    // A tick three pixels thick.
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    p.set(mc);
    for (int i = 0; i < 7; ++i) {
      static const int top2[7] = {2, 3, 4, 3, 2, 1, 0};
      cairo_rectangle(cr, x + 3 + i, y + 3 + top2[i], 1, 3);
    }
    cairo_fill(cr);
    cairo_restore(cr);
  } else if (mark == 2) {
    p.fill(x + 3, y + 3, s - 6, s - 6, mc);
  }
}

void BlueButton(Painter& p, int state, int arrowDir) {
  double x = p.x(), y = p.y(), w = p.w(), h = p.h();
  int base = (state - 1) % 4;
  if (base == 3) {
    p.fill(x, y, w, h, RGB(232, 232, 223));
    p.frame(x, y, w, h, RGB(232, 232, 223), 1);
    if (arrowDir >= 0) p.arrow(x, y, w, h, arrowDir, RGB(201, 199, 186));
    return;
  }
  COLORREF top = base == 2 ? kBluePressedTop : base == 1 ? kBlueHotTop : kBlueBtnTop;
  COLORREF bottom = base == 2 ? kBluePressedBottom : base == 1 ? kBlueHotBottom : kBlueBtnBottom;
  p.vgradFill(x, y, w, h, top, bottom, 2);
  p.frame(x, y, w, h, kBlueBtnBorder, 2);
  if (arrowDir >= 0) {
    p.arrow(x, y, w, h, arrowDir, base == 2 ? RGB(255, 255, 255) : kBlueArrow);
  } else {
    // A scroll thumb: four short grip lines across its middle.
    bool vertical = h >= w;
    double cx = std::floor(x + w / 2), cy = std::floor(y + h / 2);
    for (int i = -2; i < 2; ++i) {
      if (vertical) p.hline(cx - 3, cx + 4, cy + 2 * i, RGB(238, 244, 254));
      else p.vline(cx + 2 * i, cy - 3, cy + 4, RGB(238, 244, 254));
      if (vertical) p.hline(cx - 2, cx + 5, cy + 2 * i + 1, RGB(140, 176, 248));
      else p.vline(cx + 2 * i + 1, cy - 2, cy + 5, RGB(140, 176, 248));
    }
  }
}

void CaptionButton(Painter& p, int part, int state) {
  double x = p.x(), y = p.y(), w = p.w(), h = p.h();
  bool close = part == WP_CLOSEBUTTON || part == WP_SMALLCLOSEBUTTON;
  COLORREF top = close ? RGB(227, 92, 59) : RGB(60, 133, 255), bottom = close ? RGB(199, 58, 28) : RGB(0, 76, 222);
  if (state == CBS_HOT) {
    top = close ? RGB(240, 134, 104) : RGB(104, 162, 255);
    bottom = close ? RGB(219, 82, 50) : RGB(33, 104, 238);
  } else if (state == CBS_PUSHED) {
    top = close ? RGB(180, 48, 20) : RGB(0, 58, 190);
    bottom = close ? RGB(214, 86, 56) : RGB(40, 110, 240);
  } else if (state == CBS_DISABLED) {
    top = bottom = RGB(150, 175, 235);
  }
  p.vgradFill(x + 1, y + 1, w - 2, h - 2, top, bottom, 2);
  p.frame(x, y, w, h, RGB(255, 255, 255), 3);
  COLORREF g = state == CBS_DISABLED ? RGB(200, 212, 245) : RGB(255, 255, 255);
  // Glyphs in whole pixels, sized for the 21-pixel button.
  double gx = x + std::floor((w - 21) / 2), gy = y + std::floor((h - 21) / 2);
  switch (part) {
    case WP_CLOSEBUTTON:
    case WP_SMALLCLOSEBUTTON: {
      // An X of two-pixel strokes, nine pixels square.
      cairo_t* cr = p.cr();
      p.set(g);
      cairo_save(cr);
      cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
      for (int i = 0; i < 9; ++i) {
        cairo_rectangle(cr, gx + 6 + i, gy + 6 + i, i < 8 ? 2 : 1, 1);
        cairo_rectangle(cr, gx + 14 - i - (i < 8 ? 1 : 0), gy + 6 + i, i < 8 ? 2 : 1, 1);
      }
      cairo_fill(cr);
      cairo_restore(cr);
      break;
    }
    case WP_MINBUTTON: p.rects({{gx + 6, gy + 13, 7, 3}}, g); break;
    case WP_MAXBUTTON:
      // A window: one-pixel sides and bottom, a three-pixel title bar.
      p.rects({{gx + 5, gy + 5, 11, 3}, {gx + 5, gy + 8, 1, 8}, {gx + 15, gy + 8, 1, 8}, {gx + 5, gy + 15, 11, 1}}, g);
      break;
    case WP_RESTOREBUTTON:
      p.rects({{gx + 8, gy + 4, 8, 2}, {gx + 15, gy + 6, 1, 6}, {gx + 13, gy + 11, 2, 1}, {gx + 8, gy + 6, 1, 2},
               {gx + 5, gy + 8, 8, 2}, {gx + 5, gy + 10, 1, 6}, {gx + 12, gy + 10, 1, 6}, {gx + 5, gy + 15, 8, 1}},
              g);
      break;
    case WP_HELPBUTTON: {
      cairo_t* cr = p.cr();
      PangoLayout* layout = pango_cairo_create_layout(cr);
      pango_layout_set_text(layout, "?", 1);
      PangoFontDescription* d = pango_font_description_from_string("Liberation Sans Bold");
      pango_font_description_set_absolute_size(d, (h - 6) * PANGO_SCALE);
      pango_layout_set_font_description(layout, d);
      int lw, lh;
      pango_layout_get_pixel_size(layout, &lw, &lh);
      p.set(g);
      cairo_move_to(cr, x + (w - lw) / 2, y + (h - lh) / 2);
      pango_cairo_show_layout(cr, layout);
      pango_font_description_free(d);
      g_object_unref(layout);
      break;
    }
    default: break;
  }
}

// Luna's caption: a blue band lighter at its top, with a bright first line.
void Caption(Painter& p, bool active) {
  double x = p.x(), y = p.y(), w = p.w(), h = p.h();
  cairo_t* cr = p.cr();
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  auto stop = [&](double at, COLORREF c) {
    RGBd v = C(c);
    cairo_pattern_add_color_stop_rgb(g, at, v.r, v.g, v.b);
  };
  if (active) {
    stop(0, RGB(10, 102, 255));
    stop(0.12, RGB(0, 88, 238));
    stop(0.55, RGB(0, 84, 227));
    stop(1, RGB(0, 67, 207));
  } else {
    stop(0, RGB(157, 185, 235));
    stop(0.5, RGB(122, 150, 223));
    stop(1, RGB(112, 138, 210));
  }
  cairo_set_source(cr, g);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  p.hline(x, x + w, y, active ? RGB(61, 149, 255) : RGB(180, 200, 240));
  p.vline(x, y, y + h, active ? RGB(0, 25, 207) : RGB(112, 138, 210));
  p.vline(x + w - 1, y, y + h, active ? RGB(0, 25, 207) : RGB(112, 138, 210));
}

// Luna's frame sides: blue with a dark outer line.
void FrameSide(Painter& p, int part, bool active) {
  double x = p.x(), y = p.y(), w = p.w(), h = p.h();
  COLORREF face = active ? RGB(0, 84, 227) : RGB(122, 150, 223), outer = active ? RGB(0, 25, 207) : RGB(112, 138, 210);
  p.fill(x, y, w, h, face);
  if (part == WP_FRAMELEFT) p.vline(x, y, y + h, outer);
  else if (part == WP_FRAMERIGHT) p.vline(x + w - 1, y, y + h, outer);
  else p.hline(x, x + w, y + h - 1, outer);
}

void PaintPart(Painter& p, Cls cls, int part, int state) {
  double x = p.x(), y = p.y(), w = p.w(), h = p.h();
  switch (cls) {
    case Cls::Button:
      if (part == BP_PUSHBUTTON || part == BP_USERBUTTON) PushButton(p, state);
      else if (part == BP_CHECKBOX) CheckBox(p, state, false);
      else if (part == BP_RADIOBUTTON) CheckBox(p, state, true);
      else if (part == BP_GROUPBOX) p.frame(x, y, w, h, state == GBS_DISABLED ? kDisabledBorder : RGB(208, 208, 191), 3);
      break;
    case Cls::ComboBox:
      if (part == CP_DROPDOWNBUTTON) BlueButton(p, state, 1);
      break;
    case Cls::Spin: BlueButton(p, state, part == SPNP_UP ? 0 : part == SPNP_DOWN ? 1 : part == SPNP_UPHORZ ? 3 : 2); break;
    case Cls::ScrollBar:
      if (part == SBP_ARROWBTN) BlueButton(p, ((state - 1) % 4) + 1, (state - 1) / 4);
      else if (part == SBP_THUMBBTNHORZ || part == SBP_THUMBBTNVERT) BlueButton(p, state, -1);
      else if (part >= SBP_LOWERTRACKHORZ && part <= SBP_UPPERTRACKVERT) {
        // A light track with a faint line along each long side.
        bool vertical = part == SBP_LOWERTRACKVERT || part == SBP_UPPERTRACKVERT;
        p.fill(x, y, w, h, state == SCRBS_PRESSED ? RGB(190, 190, 180) : RGB(246, 245, 240));
        if (vertical) {
          p.vline(x, y, y + h, RGB(238, 237, 229));
          p.vline(x + w - 1, y, y + h, RGB(238, 237, 229));
        } else {
          p.hline(x, x + w, y, RGB(238, 237, 229));
          p.hline(x, x + w, y + h - 1, RGB(238, 237, 229));
        }
      }
      else if (part == SBP_SIZEBOX) p.fill(x, y, w, h, RGB(236, 233, 216));
      break;
    case Cls::Header: {
      COLORREF face = state == HIS_PRESSED ? RGB(222, 223, 216) : state == HIS_HOT ? RGB(250, 248, 243) : kHeaderFace;
      p.fill(x, y, w, h, face);
      if (state == HIS_HOT) {
        p.hline(x, x + w, y + h - 3, RGB(250, 227, 156));
        p.hline(x, x + w, y + h - 2, RGB(248, 169, 0));
        p.hline(x, x + w, y + h - 1, RGB(248, 169, 0));
      } else {
        p.hline(x, x + w, y + h - 3, RGB(226, 222, 205));
        p.hline(x, x + w, y + h - 2, RGB(214, 210, 194));
        p.hline(x, x + w, y + h - 1, RGB(203, 199, 184));
      }
      if (part != HP_HEADERITEMRIGHT && state != HIS_PRESSED) {
        p.vline(x + w - 2, y + 3, y + h - 4, RGB(199, 197, 178));
        p.vline(x + w - 1, y + 3, y + h - 4, RGB(255, 255, 255));
      }
      if (part == HP_HEADERSORTARROW) p.arrow(x, y, w, h, 0, RGB(172, 168, 153), 3);
      break;
    }
    case Cls::Tab:
      if (part == TABP_PANE || part == TABP_BODY) {
        p.fill(x, y, w, h, RGB(252, 252, 254));
        if (part == TABP_PANE) p.frame(x, y, w, h, kTabBorder);
      } else {
        bool selected = state == TIS_SELECTED;
        p.vgradFill(x, y, w, h, RGB(255, 255, 255), selected ? RGB(252, 252, 254) : RGB(236, 235, 230));
        p.frame(x, y, w, h + (selected ? 1 : 0), kTabBorder, 2);
        if (selected || state == TIS_HOT) {
          p.hline(x + 1, x + w - 1, y, selected ? kTabSelected2 : RGB(230, 139, 44));
          p.hline(x, x + w, y + 1, selected ? kTabSelected : RGB(255, 200, 60));
          p.hline(x, x + w, y + 2, selected ? kTabSelected : RGB(255, 200, 60));
        }
      }
      break;
    case Cls::ToolBar: {
      if (part == TP_SEPARATOR) {
        p.vline(std::floor(x + w / 2), y + 2, y + h - 2, RGB(197, 194, 184));
        break;
      }
      if (part == TP_SEPARATORVERT) {
        p.hline(x + 2, x + w - 2, std::floor(y + h / 2), RGB(197, 194, 184));
        break;
      }
      if (state == TS_NORMAL || state == TS_DISABLED) break;  // flat until hot
      COLORREF top = state == TS_PRESSED ? RGB(225, 226, 216) : state == TS_CHECKED ? RGB(248, 248, 244)
                                                                                    : RGB(255, 255, 255);
      COLORREF bottom = state == TS_PRESSED ? RGB(232, 232, 226) : RGB(238, 237, 229);
      p.vgradFill(x, y, w, h, top, bottom, 2);
      p.frame(x, y, w, h, state == TS_PRESSED ? RGB(158, 158, 148) : RGB(206, 206, 195), 2);
      if (part == TP_SPLITBUTTONDROPDOWN || part == TP_DROPDOWNBUTTON) p.arrow(x, y, w, h, 1, RGB(0, 0, 0), 2);
      break;
    }
    case Cls::Progress:
      if (part == PP_BAR || part == PP_BARVERT) {
        p.fill(x + 1, y + 1, w - 2, h - 2, RGB(255, 255, 255));
        p.frame(x, y, w, h, RGB(104, 104, 104), 3);
      } else if (part == PP_CHUNK) {
        cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
        RGBd a = C(kProgressChunkTop), b = C(kProgressChunk);
        cairo_pattern_add_color_stop_rgb(g, 0, a.r, a.g, a.b);
        cairo_pattern_add_color_stop_rgb(g, 0.5, b.r, b.g, b.b);
        cairo_pattern_add_color_stop_rgb(g, 1, a.r, a.g, a.b);
        cairo_set_source(p.cr(), g);
        cairo_rectangle(p.cr(), x, y, w, h);
        cairo_fill(p.cr());
        cairo_pattern_destroy(g);
      } else if (part == PP_CHUNKVERT) {
        p.hgradFill(x, y, w, h, kProgressChunkTop, kProgressChunk);
      }
      break;
    case Cls::Edit:
      if (part == EP_EDITTEXT) {
        COLORREF fill = state == ETS_DISABLED ? RGB(235, 235, 228) : state == ETS_READONLY ? RGB(248, 248, 245)
                                                                                           : RGB(255, 255, 255);
        p.fill(x + 1, y + 1, w - 2, h - 2, fill);
        p.frame(x, y, w, h, state == ETS_DISABLED ? kDisabledBorder : kEditBorder);
      }
      break;
    case Cls::ToolTip:
      p.fill(x, y, w, h, kInfoBk);
      p.frame(x, y, w, h, RGB(0, 0, 0), part == TTP_BALLOON ? 4 : 0);
      break;
    case Cls::Window:
      if (part == WP_CAPTION || part == WP_SMALLCAPTION || part == WP_MINCAPTION) {
        Caption(p, state == CS_ACTIVE);
      } else if (part == WP_FRAMELEFT || part == WP_FRAMERIGHT || part == WP_FRAMEBOTTOM) {
        FrameSide(p, part, state != FS_INACTIVE);
      } else if (part >= WP_SYSBUTTON && part <= WP_HELPBUTTON + 1) {
        CaptionButton(p, part, state);
      }
      break;
    case Cls::Other: p.fill(x, y, w, h, RGB(236, 233, 216)); break;
  }
}

COLORREF TextColorFor(Cls cls, int part, int state) {
  switch (cls) {
    case Cls::Button:
      if (part == BP_PUSHBUTTON) return state == PBS_DISABLED ? kDisabledText : RGB(0, 0, 0);
      if (part == BP_CHECKBOX || part == BP_RADIOBUTTON) return (state - 1) % 4 == 3 ? kDisabledText : RGB(0, 0, 0);
      if (part == BP_GROUPBOX) return RGB(0, 70, 213);
      return RGB(0, 0, 0);
    case Cls::ToolBar: return state == TS_DISABLED ? kDisabledText : RGB(0, 0, 0);
    case Cls::Tab: return state == TIS_DISABLED ? kDisabledText : RGB(0, 0, 0);
    case Cls::Edit: return state == ETS_DISABLED ? kDisabledText : RGB(0, 0, 0);
    case Cls::Window: return RGB(255, 255, 255);
    default: return RGB(0, 0, 0);
  }
}

}  // namespace

HTHEME OpenThemeData(HWND, const char* classList) {
  if (!TS().active || !classList) return nullptr;
  std::string list(classList);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    Cls cls;
    if (ClassFromName(list.substr(start, end - start), cls)) {
      std::uintptr_t id = TS().next;
      TS().next += 16;
      TS().open[id] = cls;
      return reinterpret_cast<HTHEME>(id);
    }
    start = end + 1;
  }
  return nullptr;
}

HTHEME OpenThemeData(HWND window, const char16_t* classList) {
  if (!classList) return nullptr;
  return OpenThemeData(window, U16(classList).c_str());
}

HRESULT CloseThemeData(HTHEME theme) {
  if (!theme) return S_OK;
  return TS().open.erase(reinterpret_cast<std::uintptr_t>(theme)) ? S_OK : E_INVALIDARG;
}

HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int part, int state, const RECT* rect, const RECT* clip) {
  Cls cls;
  DC* dc = GetDC(hdc);
  if (!Lookup(theme, cls) || !dc || !rect) return E_INVALIDARG;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return S_OK;
  Painter p(dc, *rect, clip);
  if (!p.ok()) return E_FAIL;
  PaintPart(p, cls, part, state);
  return S_OK;
}

HRESULT DrawThemeText(HTHEME theme, HDC hdc, int part, int state, const char* text, int count, DWORD flags, DWORD,
                      const RECT* rect) {
  Cls cls;
  if (!Lookup(theme, cls) || !GetDC(hdc) || !rect || !text) return E_INVALIDARG;
  COLORREF oldColor = SetTextColor(hdc, TextColorFor(cls, part, state));
  int oldMode = SetBkMode(hdc, TRANSPARENT);
  RECT r = *rect;
  DrawText(hdc, text, count, &r, flags);
  SetBkMode(hdc, oldMode);
  SetTextColor(hdc, oldColor);
  return S_OK;
}

HRESULT DrawThemeText(HTHEME theme, HDC hdc, int part, int state, const char16_t* text, int count, DWORD flags,
                      DWORD flags2, const RECT* rect) {
  if (!text) return E_INVALIDARG;
  // Convert through the text unit's UTF-16 entry point.
  Cls cls;
  if (!Lookup(theme, cls) || !GetDC(hdc) || !rect) return E_INVALIDARG;
  COLORREF oldColor = SetTextColor(hdc, TextColorFor(cls, part, state));
  int oldMode = SetBkMode(hdc, TRANSPARENT);
  RECT r = *rect;
  DrawTextW(hdc, text, count, &r, flags);
  SetBkMode(hdc, oldMode);
  SetTextColor(hdc, oldColor);
  (void)flags2;
  return S_OK;
}

HRESULT GetThemePartSize(HTHEME theme, HDC, int part, int state, const RECT* rect, THEMESIZE kind, SIZE* size) {
  Cls cls;
  if (!Lookup(theme, cls) || !size) return E_INVALIDARG;
  SIZE s{0, 0};
  switch (cls) {
    case Cls::Button:
      if (part == BP_CHECKBOX || part == BP_RADIOBUTTON) s = SIZE{13, 13};
      break;
    case Cls::ComboBox: s = SIZE{17, 17}; break;
    case Cls::Spin: s = SIZE{15, 10}; break;
    case Cls::ScrollBar: s = SIZE{17, 17}; break;
    case Cls::Window:
      if (part >= WP_SYSBUTTON && part <= WP_HELPBUTTON) s = SIZE{21, 21};
      else if (part == WP_CAPTION) s = SIZE{0, 30};
      break;
    case Cls::Progress:
      if (part == PP_CHUNK || part == PP_CHUNKVERT) s = SIZE{8, 8};
      break;
    default: break;
  }
  if (kind == TS_DRAW && rect && (s.cx == 0 || s.cy == 0)) s = SIZE{rect->right - rect->left, rect->bottom - rect->top};
  *size = s;
  return S_OK;
}

HRESULT GetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color) {
  Cls cls;
  if (!Lookup(theme, cls) || !color) return E_INVALIDARG;
  switch (prop) {
    case TMT_TEXTCOLOR: *color = TextColorFor(cls, part, state); return S_OK;
    case TMT_BORDERCOLOR:
      *color = cls == Cls::Edit ? kEditBorder : cls == Cls::Tab ? kTabBorder : cls == Cls::ToolTip ? RGB(0, 0, 0)
                                                                                                   : kButtonBorder;
      return S_OK;
    case TMT_FILLCOLOR:
      *color = cls == Cls::Edit ? RGB(255, 255, 255) : cls == Cls::ToolTip ? kInfoBk
               : cls == Cls::Header ? kHeaderFace
                                    : RGB(236, 233, 216);
      return S_OK;
    case TMT_EDGELIGHTCOLOR: *color = RGB(255, 255, 255); return S_OK;
    case TMT_EDGEHIGHLIGHTCOLOR: *color = RGB(241, 239, 226); return S_OK;
    case TMT_EDGESHADOWCOLOR: *color = RGB(172, 168, 153); return S_OK;
    case TMT_EDGEDKSHADOWCOLOR: *color = RGB(113, 111, 100); return S_OK;
    case TMT_EDGEFILLCOLOR: *color = RGB(236, 233, 216); return S_OK;
    case TMT_GLOWCOLOR: *color = kHotInner; return S_OK;
    case TMT_FILLCOLORHINT: *color = RGB(236, 233, 216); return S_OK;
    case TMT_BORDERCOLORHINT: *color = kButtonBorder; return S_OK;
    case TMT_ACCENTCOLORHINT: *color = RGB(49, 106, 197); return S_OK;
    default: return E_INVALIDARG;
  }
}

HRESULT GetThemeInt(HTHEME theme, int part, int state, int prop, int* value) {
  Cls cls;
  if (!Lookup(theme, cls) || !value) return E_INVALIDARG;
  switch (prop) {
    case TMT_BORDERSIZE: *value = 1; return S_OK;
    case TMT_PROGRESSCHUNKSIZE: *value = 8; return S_OK;
    case TMT_PROGRESSSPACESIZE: *value = 2; return S_OK;
    default: return E_INVALIDARG;
  }
}

HRESULT GetThemeMargins(HTHEME theme, HDC, int part, int state, int prop, const RECT*, MARGINS* margins) {
  Cls cls;
  if (!Lookup(theme, cls) || !margins) return E_INVALIDARG;
  MARGINS m;
  if (prop == TMT_CONTENTMARGINS || prop == TMT_SIZINGMARGINS) {
    int v = cls == Cls::Button && part == BP_PUSHBUTTON ? 3 : cls == Cls::Edit ? 1 : 0;
    m = MARGINS{v, v, v, v};
  }
  *margins = m;
  return S_OK;
}

HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds, RECT* content) {
  Cls cls;
  if (!Lookup(theme, cls) || !bounds || !content) return E_INVALIDARG;
  MARGINS m;
  GetThemeMargins(theme, dc, part, state, TMT_CONTENTMARGINS, bounds, &m);
  *content = RECT{bounds->left + m.cxLeftWidth, bounds->top + m.cyTopHeight, bounds->right - m.cxRightWidth,
                  bounds->bottom - m.cyBottomHeight};
  return S_OK;
}

HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int, int, const RECT* dest, UINT edge, UINT flags, RECT* content) {
  Cls cls;
  if (!Lookup(theme, cls) || !dest) return E_INVALIDARG;
  RECT r = *dest;
  DrawEdge(dc, &r, edge, flags | BF_ADJUST);
  if (content) *content = r;
  return S_OK;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int) {
  Cls cls;
  if (!Lookup(theme, cls)) return FALSE;
  // Rounded parts leave their corners to the parent.
  return (cls == Cls::Button && (part == BP_PUSHBUTTON || part == BP_CHECKBOX || part == BP_RADIOBUTTON ||
                                 part == BP_GROUPBOX)) ||
                 cls == Cls::ToolBar || cls == Cls::Tab || cls == Cls::ComboBox || cls == Cls::Spin
             ? TRUE
             : FALSE;
}

BOOL IsThemePartDefined(HTHEME theme, int part, int) {
  Cls cls;
  return Lookup(theme, cls) && part > 0 ? TRUE : FALSE;
}

HRESULT GetThemeSysFont(HTHEME, int fontId, LOGFONT* font) {
  if (!font) return E_INVALIDARG;
  LOGFONT lf;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  switch (fontId) {
    case TMT_CAPTIONFONT:
      lf.lfFaceName = "Trebuchet MS";
      lf.lfHeight = -13;
      lf.lfWeight = FW_BOLD;
      break;
    case TMT_SMALLCAPTIONFONT:
      lf.lfFaceName = "Tahoma";
      lf.lfHeight = -11;
      lf.lfWeight = FW_BOLD;
      break;
    case TMT_MENUFONT:
    case TMT_STATUSFONT:
    case TMT_MSGBOXFONT:
    case TMT_ICONTITLEFONT:
      lf.lfFaceName = "Tahoma";
      lf.lfHeight = -11;
      lf.lfWeight = FW_NORMAL;
      break;
    default: return E_INVALIDARG;
  }
  *font = lf;
  return S_OK;
}

COLORREF GetThemeSysColor(HTHEME, int colorId) { return GetSysColor(colorId); }

BOOL IsThemeActive() { return TS().active ? TRUE : FALSE; }
BOOL IsAppThemed() { return TS().active ? TRUE : FALSE; }

HRESULT GetCurrentThemeName(char16_t* themeFile, int maxFile, char16_t* colorName, int maxColor, char16_t* sizeName,
                            int maxSize) {
  if (!TS().active) return E_FAIL;
  auto put = [](char16_t* buf, int max, const std::string& text) {
    if (!buf || max <= 0) return;
    std::u16string s = Utf8ToUtf16(text);
    int n = std::min(int(s.size()), max - 1);
    std::copy_n(s.begin(), n, buf);
    buf[n] = 0;
  };
  put(themeFile, maxFile, "C:\\WINDOWS\\resources\\Themes\\Luna\\Luna.msstyles");
  put(colorName, maxColor, TS().scheme);
  put(sizeName, maxSize, "NormalSize");
  return S_OK;
}

HRESULT EnableTheming(BOOL enable) {
  SetThemeActive(enable != FALSE);
  return S_OK;
}

HRESULT DrawThemeParentBackground(HWND child, HDC dc, const RECT* rect) {
  if (!GetDC(dc)) return E_INVALIDARG;
  if (TS().parentPainter) return TS().parentPainter(child, dc, rect);
  RECT r{};
  if (rect) r = *rect;
  else GetClipBox(dc, &r);
  FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
  return S_OK;
}

namespace {
void ThemeChanged() {
  // A copy: the handler may replace itself.
  if (ThemeChangeHandler handler = TS().changed) handler();
}
}  // namespace

void SetThemeActive(bool active) {
  if (TS().active == active) return;
  TS().active = active;
  ThemeChanged();
}

void SetThemeColorScheme(const std::string& scheme) {
  if (TS().scheme == scheme) return;
  TS().scheme = scheme;
  ThemeChanged();
}

std::string GetThemeColorScheme() { return TS().scheme; }

void SetThemeChangeHandler(ThemeChangeHandler handler) { TS().changed = std::move(handler); }

void SetThemeParentBackgroundPainter(ThemeParentBackgroundPainter painter) {
  TS().parentPainter = std::move(painter);
}
