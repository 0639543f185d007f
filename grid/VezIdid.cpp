// VezIdid: the string grid's construction and destruction, the end of form loading, the
// window's creation, invalidation, resizing, integral height and scroll-bar forcing, the
// form hook, Assign, and the update bracket.
#include "grid/VezIdid.h"

#include <algorithm>

#include "foundation/DizStyleIF.h"
#include "foundation/DizTBXPVS.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

TCursor GridLinkCursor = crDefault;

static constexpr UINT_PTR kGridTimer = 111;
static constexpr UINT kGridTimerInterval = 500;

// The unit's start: the date pickers exist with common controls newer than 4.70, and
// the grid's clipboard format is registered.
static bool gDatePickersAvailable = false;
static UINT gGridClipboardFormat = 0;
static const bool kVezIdidStarted = [] {
  const TSystemIdentity& id = SystemIdentity();
  gDatePickersAvailable = id.CommonControlsMajor > 4 || (id.CommonControlsMajor == 4 && id.CommonControlsMinor > 70);
  gGridClipboardFormat = RegisterClipboardFormat("TDavEvadurAvuz Cells");
  return true;
}();

TDavEvadurAvuz* GridOf(TComponent* AOwner) { return dynamic_cast<TDavEvadurAvuz*>(AOwner); }

// ---------------------------------------------------------------------------------------
// Construction.
TDavEvadurAvuz::TDavEvadurAvuz(TComponent* AOwner) : TBaseGrid(AOwner) {
  FControlStyle += csAcceptsControls;
  // Sub-objects, in order, with their change links.
  FFooterPanel = new TFooterPanel(this);
  FFooterPanel->SetAlign(alBottom);
  FFooterPanel->SetHeight(0);
  FFooterPanel->SetBorderWidth(0);
  FSearchPanel = new TSearchPanel(this);
  FSearchPanel->SetAlign(alBottom);
  FSearchPanel->SetHeight(0);
  FSearchPanel->SetBorderWidth(0);
  FSearchFooter = std::make_unique<TSearchFooter>(this);
  FSearchFooter->OnChange = [this](TObject* s) { SearchChanged(s); };
  FFloatingFooter = std::make_unique<TFloatingFooter>(this);
  FPrintSettings = std::make_unique<TPrintSettings>(this);
  FHTMLSettings = std::make_unique<THTMLSettings>();
  FSortSettings = std::make_unique<TSortSettings>(this);
  FDragDropSettings = std::make_unique<TDragDropSettings>(this);
  FDragScrollOptions = std::make_unique<TDragScrollOptions>();
  FControlLook = std::make_unique<TControlLook>(this);
  FNavigation = std::make_unique<TNavigation>();
  FNavigation->OnChange = [this](TObject* s) { OnNavigationChanged(s); };
  FColumnSize = std::make_unique<TColumnSize>(this);
  FCellNode = std::make_unique<TCellNode>(this);
  FBands = std::make_unique<TBands>(this);
  FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
  FMouseActions = std::make_unique<TMouseActions>(this);
  FMouseActions->OnChange = [this](TObject* s) { OnMouseActionsChanged(s); };
  FGrouping = std::make_unique<TGrouping>();
  FColumnHeaders = std::make_unique<TStringList>();
  FColumnHeaders->OnChange = [this](TObject* s) { ColHeaderChanged(s); };
  FOrigColSizes = std::make_unique<TIntList>(-1, -1);

  AutoFilterUpdate = true;
  HoverFixedCells = hfNone;
  FilterDropDownClear = "(All)";

  FFixedFont = std::make_unique<TFont>();
  FFixedFont->SetName("Tahoma");
  FFixedFont->SetStyle(TFontStyles{fsBold});
  FFixedFont->OnChange = [this](TObject* s) { FixedFontChanged(s); };
  FActiveCellFont = std::make_unique<TFont>();
  FActiveCellFont->SetStyle(TFontStyles{fsBold});
  if (Designing()) FActiveCellFont->SetName("Tahoma");
  FActiveCellFont->OnChange = [this](TObject* s) { FixedFontChanged(s); };
  ShowDesignHelper = true;
  EnhRowColMove = true;
  DefaultEditor = edNormal;
  FActiveCellColor = 0x808080;
  FActiveCellColorTo = clNone;
  XYOffset = TPoint{2, 2};

  FRowHeaders = std::make_unique<TStringList>();
  FRowHeaders->OnChange = [this](TObject* s) { RowHeaderChanged(s); };
  FSortRows = std::make_unique<TStringList>();
  FLookupItems = std::make_unique<TStringList>();
  FRowSelect = std::make_unique<TStringList>();
  FColSelect = std::make_unique<TStringList>();
  FSortIndexes = std::make_unique<TSortIndexList>();
  FSortList = std::make_unique<TIntList>(-1, -1);
  FUnSortList = std::make_unique<TIntList>(-1, -1);
  FMergedColumns = std::make_unique<TIntList>(-1, -1);
  FMergedColumns->OnChange = [this](TObject* s, int c, int r) { MergedColumnsChanged(s, c, r); };
  FSelectedRows = std::make_unique<TIntList>(-1, -1);
  FModifiedRows = std::make_unique<TIntList>(-1, -1);
  FRowIndicator = std::make_unique<TBitmap>();
  FBackGround = std::make_unique<TBackGround>(this);
  FHintWindow = new THTMLHintWindow(this);
  FControlList = std::make_unique<TControlList>();
  FProgressAppearance = std::make_unique<TGridProgressAppearance>();
  FProgressAppearance->OnChange = [this](TObject* s) { FixedFontChanged(s); };
  InvalidEntryIcon = ieWarning;

  SetRowCountEx(10);
  SetBounds(Left(), Top(), 400, 250);
  FHiddenRows = std::make_unique<TOwnedCollection>(this, ItemClassOf<TGridItem>());
  FFilter = std::make_unique<TFilter>(this);
  FAutoSizeCols = false;

  HintColor = clInfoBk;
  FSelectionColor = 0xEACAB6;
  FSelectionColorTo = FSelectionMirrorColor = FSelectionMirrorColorTo = clNone;
  FSelectionTextColor = 0;
  FShowSelection = true;
  HideFocusRect = false;
  FixedAsButtons = false;
  EnableHTML = true;
  FURLColor = 0xFF0000;
  VAlignment = vtaTop;
  EnableWheel = true;
  IntelliZoom = true;

  FBalloon = std::make_unique<TBalloonSettings>();
  FBalloon->OnEnableChange = [this](TObject* s) { BalloonChange(s); };
  FShowModified = std::make_unique<TShowModified>();
  FShowModified->OnChange = [this](TObject* s) { ModifiedChanged(s); };

  // The owner form's resize reaches the grid through a subscription; the form keeps its
  // own handler.
  if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !Designing()) {
    FHookedForm = form;
    FHookedForm->FreeNotification(this);
    FResizeSubscription = form->SubscribeResize([this](TObject* s) { GridResize(s); });
    FFormWidth = form->Width();
    FFormHeight = form->Height();
  }

  FVisibleColumns.assign(static_cast<size_t>(ColCount()), true);
  FHiddenColumnWidths.assign(static_cast<size_t>(ColCount()), 0);
  FloatFormat = "%.2f";
  PasswordChar = '*';

  SetDefRowHeightEx(22);
  SetFixedRowHeight(DefaultRowHeight());
  FLook = glXP;
  FScrollType = ssNormal;
  FScrollColor = clNone;
  FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);

  const TSystemIdentity& id = SystemIdentity();
  FIsWinXP = id.MajorVersion > 5 || (id.MajorVersion == 5 && id.MinorVersion >= 1);
  FIsWin7 = id.MajorVersion > 6 || (id.MajorVersion == 6 && id.MinorVersion >= 1);
  FIsVista = IsVista();
  int version = GetFileVersion("COMCTL32.DLL");
  FIsComCtl6 = version != -1 && (version >> 16) > 5;
  SetupWheel();

  FNotifiers = std::make_unique<TList>();
  FColumnOrder = std::make_unique<TIntList>(-1, -1);
  FOfficeHint = NewOfficeHint();
  FIgnoredColumns = std::make_unique<TIntList>(-1, -1);
  FFilterDropDown = std::make_unique<TFilterDropDown>();
  FFilterList = new TDropList(this);
  FFilterList->SetName("droplist");
  FFilterList->SetParent(this);
  FFilterList->SetBounds(0, 0, 0, 0);
  FFilterList->SetVisible(false);
  FFilterList->OnSelect = [this](TObject* s) { FilterSelect(s); };
  FFilterValues = std::make_unique<TStringList>();
  FFilterValues->SetSorted(true);
  FFilterValues->SetDuplicates(dupIgnore);
  FSavedLeftCol = LeftCol();
  FSavedTopRow = TopRow();

  if (!Designing()) CreateChildControls();
  GridLinkCursor = crHandPoint;
}

void TDavEvadurAvuz::SetupWheel() {
  const TSystemIdentity& id = SystemIdentity();
  // The old wheel driver is never present here, so the old systems have no wheel.
  bool old = id.MajorVersion < 4;
  if (old) {
    FWheelMsg = 0;
    FWheelScrollLines = 0;
    return;
  }
  UINT lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  FWheelScrollLines = static_cast<int>(lines);
  FWheelMsg = WM_MOUSEWHEEL;
}

void TDavEvadurAvuz::CreateChildControls() {
  auto hideIn = [this](TControl* c, bool disable) {
    c->SetParent(this);
    if (disable) c->SetEnabled(false);
    c->SetVisible(false);
  };
  FRichEdit1 = new TDizRichEdit(this);
  FRichEdit2 = new TDizRichEdit(this);
  FRichEdit2->OnSelectionChange = [this](TObject* s) { RichSelChange(s); };
  for (int d = 0; d < 4; ++d) FArrows[d] = new TArrowWindow(this, static_cast<TArrowDirection>(d));
  FCombo = new TGridCombo(this);
  hideIn(FCombo, true);
  FCombo->IsWinXP = FIsWinXP;
  FCombo->IsVista = FIsVista && FIsComCtl6;
  FTrackbarDropDown = new TGridTrackbarDropDown(this);
  FTrackbarDropDown->SetParent(this);
  FTrackbarDropDown->SetEditorEnabled(true);
  FTrackbarDropDown->SetVisible(false);
  FMemoDropDown = new TGridMemoDropDown(this);
  hideIn(FMemoDropDown, false);
  FCalculatorDropDown = new TGridCalculatorDropDown(this);
  FCalculatorDropDown->SetParent(this);
  FCalculatorDropDown->SetEditorEnabled(true);
  FCalculatorDropDown->SetVisible(false);
  FTimepickerDropDown = new TGridTimepickerDropDown(this);
  hideIn(FTimepickerDropDown, false);
  FDetailPickerDropDown = new TGridDetailPickerDropDown(this);
  hideIn(FDetailPickerDropDown, false);
  FGridDropDown = new TGridGridDropDown(this);
  hideIn(FGridDropDown, false);
  FColorDropDown = new TGridColorDropDown(this);
  hideIn(FColorDropDown, false);
  FColorDropDown->AddDefaultColors();
  FColorDropDown->OnSelect = [this](TObject* s) { DoColorSelect(s); };
  FImageDropDown = new TGridImageDropDown(this);
  hideIn(FImageDropDown, false);
  FImageDropDown->OnSelect = [this](TObject* s) { DoImageSelect(s); };
  SetEditorsStyle(tsWindowsXP);
  FSpin = new TGridSpin(this);
  hideIn(FSpin, true);
  FSpin->SetBorderStyle(bsNone);
  FSpin->IsWinXP = FIsWinXP;
  FTransEdit = new TGridTransEdit(this);
  hideIn(FTransEdit, false);
  FTransEdit->SetBorderStyle(bsNone);
  FUniEdit = new TGridUniEdit(this);
  hideIn(FUniEdit, true);
  FUniEdit->SetBorderStyle(bsNone);
  FUniMemo = new TGridUniMemo(this);
  hideIn(FUniMemo, true);
  FUniMemo->SetBorderStyle(bsNone);
  FUniEditBtn = new TGridUniEditBtn(this);
  hideIn(FUniEditBtn, true);
  FUniEditBtn->SetBorderStyle(bsNone);
  FUniEditBtn->SetIsWinXP(FIsWinXP);
  FUniEditBtn->SetButtonCaption("...");
  FUniEditBtn->OnClickBtn = [this](TObject* s) { WideEllipsClick(s); };
  FUniCombo = new TGridUniCombo(this);
  hideIn(FUniCombo, true);
  FUniCombo->IsWinXP = FIsWinXP;
  if (gDatePickersAvailable) {
    FDatePicker = new TGridDatePicker(this);
    FDatePicker->SetEnabled(false);
    FDatePicker->SetVisible(false);
    FDatePicker->OnCloseUp = [this](TObject* s) { DatePickerCloseUp(s); };
    FDatePicker->OnDropDown = [this](TObject* s) { DatePickerDropDown(s); };
    FDateTimePicker = new TGridDateTimePicker(this);
    FDateTimePicker->SetEnabled(false);
    FDateTimePicker->SetVisible(false);
    FDateTimePicker->OnCloseUp = [this](TObject* s) { DatePickerCloseUp(s); };
    FDateTimePicker->OnChange = [this](TObject* s) { DateTimePickerChange(s); };
  }
  FCheckBox = new TGridCheckBox(this);
  hideIn(FCheckBox, true);
  FEditBtn = new TGridEditBtn(this);
  hideIn(FEditBtn, true);
  FEditBtn->SetButtonCaption("...");
  FEditBtn->SetBorderStyle(bsNone);
  FEditBtn->IsWinXP = FIsWinXP;
  FUnitEditBtn = new TGridUnitEditBtn(this);
  hideIn(FUnitEditBtn, true);
  FUnitEditBtn->SetButtonCaption("...");
  FUnitEditBtn->SetBorderStyle(bsNone);
  FButton = new TGridButton(this);
  hideIn(FButton, true);
  FPopupButton = new TPopupButton(this);
  hideIn(FPopupButton, true);
  FControlEdit = new TControlEdit(this);
  hideIn(FControlEdit, false);
  FControlCombo = new TControlCombo(this);
  hideIn(FControlCombo, false);
  FScrollBar1 = new TScrollBar(this);
  FScrollBar2 = new TScrollBar(this);
}

void TDavEvadurAvuz::SetEditorsStyle(DUZERazav AStyle) {
  FEditorsStyle = AStyle;
  for (TGridDropDown* d : std::initializer_list<TGridDropDown*>{FColorDropDown, FImageDropDown, FGridDropDown,
                                                                FDetailPickerDropDown, FTimepickerDropDown,
                                                                FCalculatorDropDown, FMemoDropDown})
    if (d) d->SetComponentStyle(AStyle);
}

// ---------------------------------------------------------------------------------------
// Destruction.
void TDavEvadurAvuz::FreeChildControls() {
  auto drop = [](auto*& c) {
    delete c;
    c = nullptr;
  };
  drop(FCombo);
  drop(FTrackbarDropDown);
  drop(FMemoDropDown);
  drop(FCalculatorDropDown);
  drop(FTimepickerDropDown);
  drop(FDetailPickerDropDown);
  drop(FGridDropDown);
  drop(FColorDropDown);
  drop(FImageDropDown);
  drop(FSpin);
  drop(FTransEdit);
  drop(FUniEdit);
  drop(FUniMemo);
  drop(FUniEditBtn);
  drop(FUniCombo);
  drop(FDatePicker);
  drop(FDateTimePicker);
  drop(FCheckBox);
  drop(FEditBtn);
  drop(FUnitEditBtn);
  drop(FButton);
  drop(FPopupButton);
  drop(FControlEdit);
  drop(FControlCombo);
  drop(FScrollBar1);
  drop(FScrollBar2);
  drop(FRichEdit1);
  drop(FRichEdit2);
}

TDavEvadurAvuz::~TDavEvadurAvuz() {
  FDestroyingGrid = true;
  if (FHookedForm) {
    FHookedForm->UnsubscribeResize(FResizeSubscription);
    FHookedForm->RemoveFreeNotification(this);
    FHookedForm = nullptr;
  }
  // A store that cannot be written loses only the saved widths, never the grid's teardown.
  if (FColumnSize && FColumnSize->Save) try {
      SaveColSizes();
    } catch (const Exception&) {
    }
  // Cell properties and their objects are freed over every cell the grid has had.
  int nr = RowCount(), nc = ColCount();
  if (NumHiddenRows() == 0 && !HasNodes()) {
    nr = std::max(nr, FMaxRowCount);
    nc = std::max(nc, FMaxColCount);
  }
  nc = std::max(nc, TotalColCount());
  if (nr > 0 && nc > 0 && CellPropertiesCreated()) ClearPropRect(0, 0, nc - 1, nr - 1);
  // Properties kept by hidden rows belong to their records.
  if (FHiddenRows)
    for (int i = 0; i < FHiddenRows->Count(); ++i)
      if (auto* item = dynamic_cast<TGridItem*>(FHiddenRows->Items(i)))
        for (int c = 0; c < item->Items()->Count(); ++c) {
          delete item->Items()->Objects(c);
          item->Items()->SetObjects(c, nullptr);
        }
  if (!Designing())
    for (auto*& a : FArrows) {
      delete a;
      a = nullptr;
    }
  SetCursor(FLoadedCursor);
  if (!Designing()) FreeChildControls();
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    if (AComponent == FGridImages) FGridImages = nullptr;
    if (AComponent == FPictureContainer) FPictureContainer = nullptr;
    if (AComponent == FCellChecker) FCellChecker = nullptr;
    if (AComponent == FFixedDropDownMenu) FFixedDropDownMenu = nullptr;
    if (AComponent == FHookedForm) FHookedForm = nullptr;
    if (AComponent == FEditLink) FEditLink = nullptr;
  }
  TBaseGrid::Notification(AComponent, Operation);
}

void TDavEvadurAvuz::SetCellChecker(TComponent* Value) {
  FCellChecker = Value;
  if (Value) Value->FreeNotification(this);
}
void TDavEvadurAvuz::SetFixedDropDownMenu(TPopupMenu* Value) {
  FFixedDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}
void TDavEvadurAvuz::SetGridImages(TCustomImageList* Value) {
  FGridImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}
void TDavEvadurAvuz::SetPictureContainer(TComponent* Value) {
  FPictureContainer = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

// ---------------------------------------------------------------------------------------
// Loading.
void TDavEvadurAvuz::Loaded() {
  TBaseGrid::Loaded();
  FLoadedCursor = Cursor();
  ShowColumnHeaders();
  ShowRowHeaders();
  if (FAutoSizeCols) SetAutoSizeP(true);
  if (FColumnSize->Save) LoadColSizes();
  FRememberedFixedRows = TCustomGrid::FixedRows();
  FRememberedFixedCols = TCustomGrid::FixedCols();
  MinRowHeight = DefaultRowHeight();
  MinColWidth = 10;
  FMaxRowCount = std::max(FMaxRowCount, RowCount());
  FGridLoaded = true;
  if (Options().Contains(goAlwaysShowEditor)) {
    FNavigation->AlwaysEdit = true;
    TGridOptions o = Options();
    o -= goAlwaysShowEditor;
    SetOptions(o);
  }
  if (!FIsWinXP && !Designing() && FControlLook->ControlStyle() == csTheme) FControlLook->SetControlStyle(csClassic);
  FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
  SearchChanged(this);
  UpdateScrollBars(false);
  if (FAutoThemeAdapt) ThemeAdapt();
  InitOrigColSizes();
  SetColumnOrder();
  if (FBalloon->Enable()) BalloonInit();
}

// ---------------------------------------------------------------------------------------
// The window.
void TDavEvadurAvuz::CreateWnd() {
  if (ComponentState().Contains(csDestroying) || FDestroyingGrid) return;
  TBaseGrid::CreateWnd();
  if (!Parent()) return;
  if (!Designing()) {
    if (FDatePicker) FDatePicker->SetParent(this);
    if (FDateTimePicker) FDateTimePicker->SetParent(this);
    for (TScrollBar* sb : {FScrollBar1, FScrollBar2}) {
      if (!sb) continue;
      sb->SetVisible(false);
      sb->SetParent(this);
      sb->SetTabStop(false);
      sb->SetKind(sbVertical);
      sb->SetCtl3D(false);
    }
    if (FRichEdit1) {
      FRichEdit1->SetParent(this);
      FRichEdit1->SetVisible(false);
      FRichEdit1->SetBounds(0, 0, 0, 0);
    }
    if (FRichEdit2) {
      FRichEdit2->SetParent(this);
      FRichEdit2->SetVisible(false);
    }
    if (FBalloon->Enable()) BalloonInit();
  }
  FFooterPanel->SetParent(this);
  FFooterPanel->SetVisible(FFloatingFooter->Visible());
  FSearchPanel->SetParent(this);
  FSearchPanel->SetVisible(FSearchFooter->Visible());
  FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
  if (FColumnSize->Save) LoadColSizes();
  SetTimer(Handle(), kGridTimer, kGridTimerInterval, nullptr);
  FTimerRunning = true;
  if (Designing() && !FGridLoaded && !Loading()) Font()->SetName("Tahoma");
  if (FIsWinXP) FIsWinXP = IsThemeActive() != 0;
  if (FScrollType != ssNormal && !Loading()) {
    FlatInit();
    UpdateType();
    UpdateWidth();
    UpdateColor();
  }
}

void TDavEvadurAvuz::DestroyWnd() { TBaseGrid::DestroyWnd(); }

void TDavEvadurAvuz::WndProc(TMessage& Message) {
  if (Message.Msg == WM_DESTROY && FTimerRunning) {
    KillTimer(Handle(), kGridTimer);
    FTimerRunning = false;
  }
  if (ScrollWndProc(Message) || WindowWndProc(Message)) return;
  if (EditWndProc(Message)) return;
  MouseStateWndProc(Message);
  TBaseGrid::WndProc(Message);
}

void TDavEvadurAvuz::Invalidate() {
  if (FSuppressInvalidate) {
    FSuppressInvalidate = false;
    return;
  }
  TBaseGrid::Invalidate();
  if (FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
}

void TDavEvadurAvuz::Resize() {
  TBaseGrid::Resize();
  if (FBackGround &&
      (FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
      FBackGround->ColorTo() != clNone)
    Invalidate();
  UpdateScrollBars(false);
  CellControlsUpdate();
  if (Designing()) Invalidate();
}

// With IntegralHeight the client area holds a whole number of rows: the frame (the
// border on both sides) and a horizontal scroll bar are added to a multiple of the
// default row height.
void TDavEvadurAvuz::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
    int r = DefaultRowHeight();
    int s = VisibleColCount() + FixedCols() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    int b = BorderStyle() == bsSingle ? 2 : 0;
    int h = AHeight - s - 2 * b;
    if (h > 0) h -= h % r;
    AHeight = h + s + 2 * b;
  }
  TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Parent() && Parent()->HandleAllocated()) NCPaintProc();
}

void TDavEvadurAvuz::SetIntegralHeight(bool Value) {
  FIntegralHeight = Value;
  if (Value && !Loading()) SetBounds(Left(), Top(), Width(), Height());
}

void TDavEvadurAvuz::UpdateScrollBars(bool Force) {
  if (!HandleAllocated()) return;
  bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
  bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
  if (ScrollBarAlways != saNone) {
    if (rowsFit) {
      bool show = ScrollBarAlways == saVert || ScrollBarAlways == saBoth;
      ShowScrollBar(Handle(), SB_VERT, show);
      if (show) EnableScrollBar(Handle(), SB_VERT, ESB_DISABLE_BOTH);
    } else {
      EnableScrollBar(Handle(), SB_VERT, ESB_ENABLE_BOTH);
    }
    if (colsFit) {
      bool show = ScrollBarAlways == saHorz || ScrollBarAlways == saBoth;
      ShowScrollBar(Handle(), SB_HORZ, show);
      if (show) EnableScrollBar(Handle(), SB_HORZ, ESB_DISABLE_BOTH);
    } else {
      EnableScrollBar(Handle(), SB_HORZ, ESB_ENABLE_BOTH);
    }
  } else if (Force) {
    if (rowsFit) ShowScrollBar(Handle(), SB_VERT, FALSE);
    if (colsFit) ShowScrollBar(Handle(), SB_HORZ, FALSE);
  }
}

TCustomForm* TDavEvadurAvuz::GetParentForm(TControl* Control) {
  for (TControl* c = Control; c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  return nullptr;
}

std::string TDavEvadurAvuz::GetEditMask(int ACol, int ARow) {
  std::string mask = EditMask;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

TInplaceEdit* TDavEvadurAvuz::CreateEditor() { return new TDizInplaceEdit(this); }

// ---------------------------------------------------------------------------------------
// The owner form's resize: follow its size change when SizeWithForm is set, then
// re-stretch the stretch column. The form's own handler runs after the subscribers.
void TDavEvadurAvuz::GridResize(TObject* Sender) {
  auto* form = dynamic_cast<TCustomForm*>(Sender);
  if (!form) return;
  if (SizeWithForm) {
    int w = Width() + form->Width() - FFormWidth;
    int h = Height() + form->Height() - FFormHeight;
    if (w > 0 && h > 0) SetBounds(Left(), Top(), w, h);
  }
  FFormWidth = form->Width();
  FFormHeight = form->Height();
  if (FColumnSize->Stretch()) StretchColumn(FColumnSize->StretchColumn);
}

// ---------------------------------------------------------------------------------------
// Copying.
void TDavEvadurAvuz::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TDavEvadurAvuz*>(Source);
  if (!src) return;
  Font()->Assign(src->Font());
  FActiveCellColor = src->FActiveCellColor;
  FActiveCellColorTo = src->FActiveCellColorTo;
  FActiveCellFont->Assign(src->FActiveCellFont.get());
  FActiveCellShow = src->FActiveCellShow;
  SetActiveRowShow(src->ActiveRowShow());
  SetAlign(src->Align());
  FFilterDropDown->Assign(src->FFilterDropDown.get());
  AnchorHint = src->AnchorHint;
  AutoNumAlign = src->AutoNumAlign;
  FAutoSizeCols = src->FAutoSizeCols;
  FAutoThemeAdapt = src->FAutoThemeAdapt;
  AutoFilterUpdate = src->AutoFilterUpdate;
  FMouseActions->Assign(src->FMouseActions.get());
  FNavigation->Assign(src->FNavigation.get());
  FGrouping->Assign(src->FGrouping.get());
  FSearchFooter->Assign(src->FSearchFooter.get());
  FPrintSettings->Assign(src->FPrintSettings.get());
  FFilter->Assign(src->FFilter.get());
  FHTMLSettings->Assign(src->FHTMLSettings.get());
  FBands->Assign(src->FBands.get());
  FCellNode->Assign(src->FCellNode.get());
  FSortSettings->Assign(src->FSortSettings.get());
  FDragScrollOptions->Assign(src->FDragScrollOptions.get());
  FDragDropSettings->Assign(src->FDragDropSettings.get());
  FProgressAppearance->Assign(src->FProgressAppearance.get());
  FColumnSize->Assign(src->FColumnSize.get());
  FOfficeHint->Assign(src->FOfficeHint.get());
  FControlLook->Assign(src->FControlLook.get());
  FBackGround->Assign(src->FBackGround.get());
  FBalloon->Assign(src->FBalloon.get());
  FShowModified->Assign(src->FShowModified.get());
  FixedRowAlways = src->FixedRowAlways;
  SetColCountEx(src->GetColCountEx());
  SetRowCountEx(src->GetRowCountEx());
  SetFixedRowsEx(src->GetFixedRowsEx());
  SetFixedColsEx(src->GetFixedColsEx());
  SetDefaultColWidth(src->DefaultColWidth());
  SetDefRowHeightEx(src->GetDefRowHeightEx());
  SetFixedRowHeight(src->FixedRowHeight());
  SetFixedColWidth(src->GetFixedColWidth());
  InvalidEntryTitle = src->InvalidEntryTitle;
  InvalidEntryIcon = src->InvalidEntryIcon;
  InvalidEntryText = src->InvalidEntryText;
  SetOptions(src->Options());
  for (int c = 0; c < ColCount(); ++c) SetColWidths(c, src->ColWidths(c));
  FColumnHeaders->Assign(src->FColumnHeaders.get());
  for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, src->RowHeights(r));
  ScrollProportional = src->ScrollProportional;
  ScrollSynch = src->ScrollSynch;
  FScrollWidth = src->FScrollWidth;
  ScrollHints = src->ScrollHints;
  ScrollBarAlways = src->ScrollBarAlways;
  SetScrollBarsEx(src->GetScrollBarsEx());
  SetScrollColor(src->ScrollColor());
  SetScrollType(src->ScrollType());
  SetScrollWidth(src->ScrollWidth());
  AssignCells(src);
}

// The cells (texts and the attributes of cells that have properties) of the source's
// whole grid. The binary cell stream of the exchange formats gives the same result.
void TDavEvadurAvuz::AssignCells(TPersistent* Source) {
  auto* src = dynamic_cast<TDavEvadurAvuz*>(Source);
  if (!src || src == this) return;
  for (int r = 0; r < std::min(RowCount(), src->RowCount()); ++r)
    for (int c = 0; c < std::min(ColCount(), src->ColCount()); ++c) {
      SetGridCell(c, r, src->GetGridCell(c, r));
      if (TCellProperties* p = dynamic_cast<TCellProperties*>(src->GetGridObject(c, r))) {
        TCellProperties* mine = GetCellProperties(c, r);
        mine->Assign(p);
        mine->BrushColorTo = p->BrushColorTo;
        mine->GradientDirection = p->GradientDirection;
      } else {
        ClearPropCell(c, r);
      }
    }
}

// ---------------------------------------------------------------------------------------
// The update bracket.
// BeginUpdate and EndUpdate are in VezIdidEditEngine.cpp.

void TDavEvadurAvuz::CellControlsUpdate() {
  if (!HandleAllocated()) return;
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->GetControl(i);
    if (!item->Control) continue;
    int dc = RemapColInv(item->Col);
    int dr = RemapRow(item->Row);
    if (dc < FixedCols() || dr < FixedRows()) continue;
    bool shown = !IsHiddenColumn(item->Col) && !IsHiddenRow(item->Row) && dc >= LeftCol() &&
                 dc < LeftCol() + VisibleColCount() && dr >= TopRow() && dr < TopRow() + VisibleRowCount();
    if (shown) {
      TRect r = CellRect(dc, dr);
      item->Control->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
    item->Control->SetVisible(shown);
  }
}

void TDavEvadurAvuz::CellsChanged(const TRect& R) {
  if (OnCellsChanged) OnCellsChanged(this, R);
  for (int i = 0; i < FNotifiers->Count(); ++i) static_cast<TGridChangeNotifier*>(FNotifiers->Get(i))->CellsChanged(R);
  CalcFooter(-1);
}

void TDavEvadurAvuz::InitOrigColSizes() {
  FOrigColSizes->Clear();
  for (int c = 0; c < ColCount(); ++c) FOrigColSizes->Add(ColWidths(c));
  FOrigGridWidth = Width();
}

void TDavEvadurAvuz::SearchChanged(TObject*) {
  if (!FSearchPanel) return;
  FSearchPanel->SetColor(FSearchFooter->Color());
  FSearchPanel->Font()->Assign(FSearchFooter->Font());
  if (HandleAllocated() || !Parent()) {
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
  }
}

void TDavEvadurAvuz::DatePickerCloseUp(TObject*) {
  if (OnDatePickerCloseUp) OnDatePickerCloseUp(this, Row(), Col());
}
void TDavEvadurAvuz::DatePickerDropDown(TObject*) {
  if (OnDatePickerDropDown) OnDatePickerDropDown(this, Row(), Col());
}
void TDavEvadurAvuz::DateTimePickerChange(TObject*) {
  if (OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), 0);
}
void TDavEvadurAvuz::RichSelChange(TObject*) {
  if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
}

std::string TDavEvadurAvuz::GetVersionString() {
  uint32_t v = GetVersionNr();
  return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

// ---------------------------------------------------------------------------------------
// Painting and exchange members the data model calls.
void TDavEvadurAvuz::SetSelectionEx(const TGridRect& R) {
  SetSelection(R);
  if (FActiveCellShow) {
    InvalidateRow(0);
    InvalidateCol(0);
  }
}

void TDavEvadurAvuz::SetScrollBarsEx(TScrollStyle Value) {
  SetScrollBars(Value);
  UpdateScrollBars(true);
}

void TDavEvadurAvuz::UpdateFooter() {
  if (FFooterPanel) FFooterPanel->Invalidate();
}

void TDavEvadurAvuz::SetAutoSizeP(bool Value) {
  FAutoSizeCols = Value;
  if (!Value || Loading()) return;
  TCanvas* c = Canvas();
  c->SetFont(Font());
  for (int col = 0; col < ColCount(); ++col) {
    int w = 0;
    for (int r = 0; r < RowCount(); ++r) w = std::max(w, c->TextWidth(GetCellEx(col, r)));
    if (w > 0) SetColWidths(col, w + 10);
  }
}

TAlignment TDavEvadurAvuz::GetCellAlignment(int ACol, int ARow) {
  TAlignment a = taLeftJustify;
  TVAlignment va = VAlignment;
  GetCellAlignment(ACol, ARow, a, va);
  return a;
}

// ---------------------------------------------------------------------------------------
// Setters of the published surface that repaint.
void TDavEvadurAvuz::SetActiveCellShow(bool Value) {
  FActiveCellShow = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetActiveCellColor(TColor Value) {
  FActiveCellColor = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetActiveCellColorTo(TColor Value) {
  FActiveCellColorTo = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetSelectionColor(TColor Value) {
  if (FSelectionColor == Value) return;
  FSelectionColor = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetSelectionColorTo(TColor Value) {
  if (FSelectionColorTo == Value) return;
  FSelectionColorTo = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetSelectionMirrorColor(TColor Value) {
  if (FSelectionMirrorColor == Value) return;
  FSelectionMirrorColor = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetSelectionMirrorColorTo(TColor Value) {
  if (FSelectionMirrorColorTo == Value) return;
  FSelectionMirrorColorTo = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetSelectionTextColor(TColor Value) {
  if (FSelectionTextColor == Value) return;
  FSelectionTextColor = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetShowSelection(bool Value) {
  if (FShowSelection == Value) return;
  FShowSelection = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetURLColor(TColor Value) {
  if (FURLColor == Value) return;
  FURLColor = Value;
  if (FURLShow) Invalidate();
}
void TDavEvadurAvuz::SetURLShow(bool Value) {
  if (FURLShow == Value) return;
  FURLShow = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetURLShowInText(bool Value) {
  if (FURLShowInText == Value) return;
  FURLShowInText = Value;
  Invalidate();
}
void TDavEvadurAvuz::SetScrollColor(TColor Value) {
  FScrollColor = Value;
  UpdateColor();
}
void TDavEvadurAvuz::SetScrollType(TScrollType Value) {
  if (FScrollType == Value) return;
  FScrollType = Value;
  if (!HandleAllocated()) return;  // the window's creation turns the flat bars on
  if (Value != ssNormal) {
    FlatInit();
    FlatUpdate();
  } else {
    FlatDone();
  }
  UpdateType();
}
void TDavEvadurAvuz::SetScrollWidth(int Value) {
  FScrollWidth = Value;
  UpdateWidth();
}
