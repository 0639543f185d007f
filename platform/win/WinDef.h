#pragma once
// The basic Windows types of the window system. RECT, POINT, SIZE, BOOL, BYTE, WORD,
// DWORD, UINT, LONG, COLORREF, RGB and the GDI handles come from GDI's base types
// (platform/gdi/GdiTypes.h); this header adds the message parameter types, the window
// system's handles and the packing macros. Header-only.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/GdiTypes.h"

using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
using LPCSTR = const char*;
using LPVOID = void*;
using HANDLE = void*;
using PRECT = RECT*;
using LPCRECT = const RECT*;
using PPOINT = POINT*;
using LPSIZE = SIZE*;

struct HICON__;
struct HMENU__;
struct HINSTANCE__;
struct HHOOK__;
using HICON = HICON__*;
using HCURSOR = HICON__*;
using HMENU = HMENU__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE__*;
using HHOOK = HHOOK__*;

inline constexpr WORD LOWORD(DWORD_PTR v) { return WORD(v & 0xFFFF); }
inline constexpr WORD HIWORD(DWORD_PTR v) { return WORD((v >> 16) & 0xFFFF); }
inline constexpr BYTE LOBYTE(DWORD_PTR v) { return BYTE(v & 0xFF); }
inline constexpr BYTE HIBYTE(DWORD_PTR v) { return BYTE((v >> 8) & 0xFF); }
inline constexpr LONG MAKELONG(WORD lo, WORD hi) { return LONG(DWORD(lo) | (DWORD(hi) << 16)); }
inline constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return WPARAM(DWORD(MAKELONG(lo, hi))); }
inline constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return LPARAM(MAKELONG(lo, hi)); }
inline constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) { return LRESULT(MAKELONG(lo, hi)); }
// Signed coordinates packed in an LPARAM (mouse messages).
inline constexpr int GET_X_LPARAM(LPARAM lp) { return int(SHORT(LOWORD(DWORD_PTR(lp)))); }
inline constexpr int GET_Y_LPARAM(LPARAM lp) { return int(SHORT(HIWORD(DWORD_PTR(lp)))); }
inline constexpr LPARAM PointToLParam(POINT p) { return MAKELPARAM(WORD(p.x), WORD(p.y)); }
inline constexpr POINT LParamToPoint(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }
inline constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp) { return SHORT(HIWORD(wp)); }
inline constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wp) { return LOWORD(wp); }
// A template, so that a unit which also sees the GDI+ layer's MakePoint (a GDI+ point)
// gets that one: a plain function is preferred over a template of the same signature.
template <class = void>
inline constexpr POINT MakePoint(int x, int y) { return POINT{x, y}; }
inline constexpr RECT MakeRect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
inline constexpr int RectWidth(const RECT& r) { return r.right - r.left; }
inline constexpr int RectHeight(const RECT& r) { return r.bottom - r.top; }
