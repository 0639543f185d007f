#pragma once
// DragDock: the framework's drag and dock, in process. A control with DragMode
// dmAutomatic starts a drag when the left button goes down on it and the mouse then moves
// more than the drag threshold (5 px) away; a drag of kind dkDrag asks the controls under
// the mouse (OnDragOver) and drops on the one that accepts (OnDragDrop); a drag of kind
// dkDock shows an outline frame over the dock site under the mouse and docks the control
// there (ManualDock), or floats it in a host form of its own. Dock sites learn of their
// clients through CM_DOCKCLIENT, CM_UNDOCKCLIENT and CM_DOCKNOTIFICATION.
//
// The drag settings, events and dock links of a control are kept beside it here, reached
// through the functions below.
#include <functional>
#include <vector>

#include "platform/vcl/Controls.h"

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };

// What travels with a docking control: the control, where it would dock (screen
// rectangle) and the dock site under the mouse.
class TDragDockObject : public TObject {
  LORM_CLASS(TDragDockObject, TObject)
public:
  explicit TDragDockObject(TControl* AControl) : Control(AControl) {}
  TControl* Control;
  TRect DockRect{0, 0, 0, 0};
  TWinControl* DragTarget = nullptr;
  TPoint DragPos{0, 0};
  TAlign DropAlign = alNone;
  TControl* DropOnControl = nullptr;
  bool Floating = false;
};

using TStartDragEvent = std::function<void(TObject* Sender)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TDockOverEvent = std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State,
                                          bool& Accept)>;
using TDockDropEvent = std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y)>;
using TUnDockEvent = std::function<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;

// The drag and dock events of a control.
struct TDragEvents {
  TStartDragEvent OnStartDrag;
  TStartDragEvent OnStartDock;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TEndDragEvent OnEndDock;
  TDockOverEvent OnDockOver;
  TDockDropEvent OnDockDrop;
  TUnDockEvent OnUnDock;
};

// A dock site class may take over how clients arrive and leave.
class IDockSiteHooks {
public:
  // The client joins the site (default: it becomes a child of the site).
  virtual void DoAddDockClient(TControl* Client, const TRect& ARect) = 0;
  // The client has left the site.
  virtual void DoRemoveDockClient(TControl* Client) = 0;
  // A docking control is over the site: may set Source->DockRect and Accept.
  virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) = 0;

protected:
  ~IDockSiteHooks() = default;
};

TDragMode DragMode(const TControl* Control);
void SetDragMode(TControl* Control, TDragMode Value);
TDragKind DragKind(const TControl* Control);
void SetDragKind(TControl* Control, TDragKind Value);
TDragEvents& DragEvents(TControl* Control);
// A drag of Control: at once, or once the mouse moved more than Threshold px (-1: the
// mouse's DragThreshold) from where the button went down.
void BeginDrag(TControl* Control, bool Immediate, int Threshold = -1);
void EndDrag(TControl* Control, bool Drop);
bool Dragging(const TControl* Control);
// A drag waits for the threshold.
bool DragPending(const TControl* Control);

bool DockSite(const TWinControl* Site);
void SetDockSite(TWinControl* Site, bool Value);
TWinControl* HostDockSite(const TControl* Control);
int DockClientCount(const TWinControl* Site);
TControl* DockClients(const TWinControl* Site, int Index);
// Docks Control into NewDockSite (nullptr: floats it in a host form where it stands).
// The old site gets CM_UNDOCKCLIENT and DoRemoveDockClient, the new one CM_DOCKCLIENT;
// an exception of the new site passes on with the control back where it was.
bool ManualDock(TControl* Control, TWinControl* NewDockSite, TControl* DropControl = nullptr,
                TAlign ControlSide = alNone);
// Floats Control in a host form at a screen rectangle.
bool ManualFloat(TControl* Control, const TRect& ScreenPos);
// The framework's handling of CM_DOCKCLIENT for a site that passes it on: the client joins
// the site at the drag's dock rectangle (DoAddDockClient).
void DefaultDockClient(TWinControl* Site, TDragDockObject* Source);
// The outline frame of a dock drag (nullptr when none shows).
HWND DockFrameWindow();
