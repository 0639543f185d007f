#pragma once
// The client window of a multiple-document frame: an "MDICLIENT" window that fills what is
// left of an fsMDIForm's client area after its aligned controls, and holds the frame's
// fsMDIChild forms as its child windows. It keeps the children in activation order (the
// first is the active one) and answers the WM_MDI* messages: WM_MDIACTIVATE,
// WM_MDIGETACTIVE (with the maximized flag), WM_MDIMAXIMIZE, WM_MDIRESTORE, WM_MDINEXT,
// WM_MDIDESTROY and WM_MDIREFRESHMENU (answered with 0; a main menu that lists the
// children subclasses the client for it).
#include "platform/win/WinDef.h"
#include "platform/vcl/Controls.h"

class TCustomForm;

namespace MdiClient {

// Creates the client window inside the frame's window (the frame's CreateWnd calls it).
HWND Create(TCustomForm* Frame);
// The frame whose client window this is; nullptr for any other window.
TCustomForm* FrameOf(HWND Client);
// A child form joins the client (when its window is made) or leaves it (when it goes).
void AddChild(HWND Client, TCustomForm* Child);
void RemoveChild(TCustomForm* Child);
// The children in activation order: index 0 is the active one.
int ChildCount(HWND Client);
TCustomForm* Child(HWND Client, int Index);
// The active child that is shown, or nullptr.
TCustomForm* ActiveChild(HWND Client);
// The frame's keys for its children: Ctrl+F4 closes the active child, Ctrl+F6 and
// Ctrl+Shift+F6 activate the next and the previous one. True when the key was taken.
bool TranslateKey(HWND Client, WORD Key, TShiftState Shift);

}  // namespace MdiClient
