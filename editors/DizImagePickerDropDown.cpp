// The image picker drop-down: image items, the selector in the pop-up, the chosen image in
// the edit, keys, wheel and the typed lookup.
#include "editors/DizImagePickerDropDown.h"

#include <fnmatch.h>

#include <filesystem>

#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"

namespace DizDropDown {

namespace {
bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += char(c);
  } else if (c < 0x800) {
    s += char(0xC0 | (c >> 6)), s += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += char(0xE0 | (c >> 12)), s += char(0x80 | ((c >> 6) & 0x3F)), s += char(0x80 | (c & 0x3F));
  } else {
    s += char(0xF0 | (c >> 18)), s += char(0x80 | ((c >> 12) & 0x3F)), s += char(0x80 | ((c >> 6) & 0x3F));
    s += char(0x80 | (c & 0x3F));
  }
  return s;
}
}  // namespace

// ---- items ----------------------------------------------------------------------------

TImageItem::TImageItem(TCollection* Collection) : TCollectionItem(nullptr), FImage(std::make_unique<TPicture>()) {
  SetCollection(Collection);
}

TImageItem::~TImageItem() = default;

void TImageItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TImageItem*>(Source)) {
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    Hint = s->Hint;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TImageItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(false);
}

void TImageItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

TImageItems::TImageItems(TPersistent* AOwner) : TCollection(ItemClassOf<TImageItem>()), FOwner(AOwner) {}

// ---- the picker -----------------------------------------------------------------------

TDizImagePickerDropDown::TDizImagePickerDropDown(TComponent* AOwner)
    : TDizCustomDropDown(AOwner),
      FItems(std::make_unique<TImageItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
  FItems->OnChange = [](TObject*) {};
  SetAutoSize(false);
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  FTimer = new TTimer(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(500);
  FTimer->SetOnTimer([this](TObject*) {
    FTimer->SetEnabled(false);
    FLookup.clear();
  });
  SetCursor(crArrow);
  if (DropDownForm() && !FSelector) CreateDropDownForm();
}

TDizImagePickerDropDown::~TDizImagePickerDropDown() { FTimer->SetEnabled(false); }

void TDizImagePickerDropDown::CreateDropDownForm() {
  TDizCustomDropDown::CreateDropDownForm();
  if (!FDropDownForm) return;
  if (!FSelector) {
    FSelector = new TDizCustomItemSelector(this);
    FSelector->SetParent(FDropDownForm);
    FSelector->SetBounds(0, 0, FSelector->Width(), 150);
  }
  FSelector->SetColor(DropDownColor);
  FSelector->UpdateSelectorPanel();
  SetControl(FSelector);
}

void TDizImagePickerDropDown::SetSelectorProperties() {
  if (!FSelector) return;
  FSelector->OnItemSelect = nullptr;
  FSelector->SetColumns(FColumns);
  FSelector->SetImages(Images());
  FSelector->SetItemLayout(FLayout);
  FSelector->SetColor(DropDownColor);
  FSelector->ItemAppearance()->Assign(FItemAppearance.get());
  TSelectorItems* items = FSelector->Items();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    TImageItem* src = FItems->Items(i);
    TSelectorItem* it = items->Add();
    it->SetCaption(src->Caption());
    it->SetImage(src->Image());
    it->SetImageIndex(src->ImageIndex());
    it->SetHint(src->Hint);
  }
  items->EndUpdate();
  FSelector->UpdateSelectorPanel();
  FSelector->SetItemIndex(FItemIndex);
  FSelector->OnItemSelect = [this](TObject* Sender) { SelectorSelect(Sender); };
  FSelector->SetShowHint(ShowHint());
}

void TDizImagePickerDropDown::BeforeDropDown() {
  TDizCustomDropDown::BeforeDropDown();
  SetSelectorProperties();
  if (FSelector) {
    if (OnDrawItem)
      FSelector->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int Index) {
        if (OnDrawItem) OnDrawItem(this, C, R, Index);
      };
    else
      FSelector->OnDrawItem = nullptr;
  }
  FIndexAtOpening = FItemIndex;
}

void TDizImagePickerDropDown::UpdateDropDownSize() {
  if (!FSelector) {
    TDizCustomDropDown::UpdateDropDownSize();
    return;
  }
  FSelector->SetAlign(alNone);
  TSize s = FSelector->GetItemPanelSize();
  if (DropDownWidth <= 0) FSelector->SetWidth(s.cx);
  if (DropDownHeight <= 0) FSelector->SetHeight(s.cy);
  TDizCustomDropDown::UpdateDropDownSize();
  if (FSelector->VertScrollBar()->IsScrollBarVisible())
    FDropDownForm->SetWidth(FDropDownForm->Width() + GetSystemMetrics(SM_CXVSCROLL));
}

void TDizImagePickerDropDown::DoHideDropDown(bool Cancelled) {
  TDizCustomDropDown::DoHideDropDown(Cancelled);
  if (Cancelled && FSelector) SetItemIndex(FIndexAtOpening);
}

void TDizImagePickerDropDown::SelectorSelect(TObject*) {
  SetItemIndex(FSelector->GetItemIndex());
  if (!FInternalSelect) DoHideDropDown(false);
}

void TDizImagePickerDropDown::SetItemIndex(int Value) {
  if (Value == FItemIndex || Value >= FItems->Count()) return;
  FItemIndex = Value;
  Invalidate();
  if (OnSelect) OnSelect(this);
}

int TDizImagePickerDropDown::GetImageIndex() const {
  return FItemIndex < 0 ? -1 : FItems->Items(FItemIndex)->ImageIndex();
}

void TDizImagePickerDropDown::SetImageIndex(int Value) {
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->ImageIndex() == Value) {
      SetItemIndex(i);
      return;
    }
  SetItemIndex(-1);
}

void TDizImagePickerDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TDizImagePickerDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TDizImagePickerDropDown::SelectNext() {
  if (FItems->Count() == 0) return;
  int i = FItemIndex < 0 ? 0 : FItemIndex + 1;
  if (i < FItems->Count()) SetItemIndex(i);
}

void TDizImagePickerDropDown::SelectPrevious() {
  if (FItems->Count() == 0) return;
  int i = FItemIndex < 0 ? 0 : FItemIndex - 1;
  if (i >= 0) SetItemIndex(i);
}

void TDizImagePickerDropDown::AddImagesFromImageList() {
  if (!Images()) return;
  for (int i = 0; i < Images()->Count(); ++i) FItems->Add()->SetImageIndex(i);
}

void TDizImagePickerDropDown::AddImagesFromFolder(const std::string& Mask, bool WithCaptions) {
  namespace fs = std::filesystem;
  fs::path mask(Mask);
  fs::path dir = mask.parent_path();
  std::string pattern = mask.filename().string();
  std::error_code ec;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    TImageItem* item = FItems->Add();
    try {
      item->Image()->LoadFromFile((dir / name).string());
    } catch (const std::exception&) {
      item->Image()->SetGraphic(nullptr);
    }
    if (WithCaptions) item->SetCaption(name);
  }
}

void TDizImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TDizCustomDropDown::SetSelectionColorStyle(Value);
  if (FSelector) FSelector->ItemAppearance()->SetColorStyle(Value);
}

void TDizImagePickerDropDown::SetComponentStyle(DUZERazav AStyle) {
  TDizCustomDropDown::SetComponentStyle(AStyle);
  SetAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TDizImagePickerDropDown::HandleMouseWheelDown() {
  TDizCustomDropDown::HandleMouseWheelDown();
  if (!Enabled() || ReadOnly() || !FSelector) return;
  if (DroppedDown()) {
    FSelector->HotNext();
  } else {
    FInternalSelect = true;
    FSelector->SelectNext();
    FInternalSelect = false;
  }
}

void TDizImagePickerDropDown::HandleMouseWheelUp() {
  TDizCustomDropDown::HandleMouseWheelUp();
  if (!Enabled() || ReadOnly() || !FSelector) return;
  if (DroppedDown()) {
    FSelector->HotPrevious();
  } else {
    FInternalSelect = true;
    FSelector->SelectPrevious();
    FInternalSelect = false;
  }
}

void TDizImagePickerDropDown::SelectInSelector(int Index) {
  if (Index < 0 || Index >= FSelector->Items()->Count()) return;
  FInternalSelect = true;
  FSelector->SetItemIndex(Index);
  FInternalSelect = false;
  FSelector->ScrollItemInView(Index);
}

void TDizImagePickerDropDown::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      TDizCustomDropDown::WndProc(Message);
      PaintImage();
      return;
    case WM_KEYDOWN: {
      WORD key = WORD(Message.WParam);
      bool handled = false;
      if (Enabled() && DroppedDown() && key == VK_RETURN && FSelector && FSelector->GetItemHot() >= 0) {
        FSelector->SetItemIndex(FSelector->GetItemHot());
        handled = true;
      }
      TDizCustomDropDown::WndProc(Message);
      KeyDownMessage(key, handled);
      return;
    }
    case WM_CHAR:
      // The lookup is built from typed characters, so it follows the keyboard layout.
      if (Enabled() && !KeyHeld(VK_CONTROL) && FSelector && Message.WParam >= 32) {
        TypedChar(char32_t(Message.WParam));
        return;
      }
      break;
    default: break;
  }
  TDizCustomDropDown::WndProc(Message);
}

void TDizImagePickerDropDown::TypedChar(char32_t Ch) {
  FLookup += AnsiUpperCase(Utf8(Ch));
  FInternalSelect = true;
  FSelector->LookupItem(FLookup);
  FInternalSelect = false;
  FTimer->SetEnabled(false);
  FTimer->SetEnabled(true);
}

void TDizImagePickerDropDown::KeyDownMessage(WORD Key, bool HandledEnter) {
  if (!Enabled() || KeyHeld(VK_MENU)) return;
  bool shown = DroppedDown();
  switch (Key) {
    case VK_RETURN:
      if (!HandledEnter && OnSelect) OnSelect(this);
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (!FSelector) break;
      if (FSelector->Items()->Count() != FItems->Count()) SetSelectorProperties();
      int n = FSelector->GetVisibleItemCount();
      if (n <= 0) break;
      int cur = FSelector->GetItemIndex();
      int target = Key == VK_PRIOR ? std::max(cur - n, 0) : std::min(cur + n, FItems->Count() - 1);
      SelectInSelector(target);
      break;
    }
    case VK_HOME:
    case VK_END:
      if (shown && FSelector) {
        FInternalSelect = true;
        if (Key == VK_HOME) FSelector->SelectFirst();
        else FSelector->SelectLast();
        FInternalSelect = false;
      } else {
        if (Key == VK_HOME) SelectFirst();
        else SelectLast();
      }
      break;
    case VK_UP:
    case VK_DOWN:
      if (shown && FSelector) {
        int cur = FSelector->GetItemIndex();
        int target = cur < 0 ? 0 : cur + (Key == VK_UP ? -FColumns : FColumns);
        SelectInSelector(target);
      } else if (Key == VK_UP) {
        SelectPrevious();
      } else {
        SelectNext();
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (!EditorEnabled() && shown && FSelector) {
        FInternalSelect = true;
        if (Key == VK_LEFT) FSelector->SelectPrevious();
        else FSelector->SelectNext();
        FInternalSelect = false;
      }
      break;
    default: break;
  }
}

void TDizImagePickerDropDown::PaintImage() {
  if (!HandleAllocated()) return;
  HDC dc = GetDC(Handle());
  TCanvas c;
  c.SetHandle(dc);
  TRect R = GetEditRect();
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, &c, R);
  } else if (FItemIndex >= 0 && FItemIndex < FItems->Count()) {
    TImageItem* item = FItems->Items(FItemIndex);
    TGraphic* g = item->Image()->GetGraphic();
    if (g && !g->GetEmpty()) {
      c.Draw(R.Left + (R.Width() - g->GetWidth()) / 2, R.Top + (R.Height() - g->GetHeight()) / 2, g);
    } else if (Images() && item->ImageIndex() >= 0) {
      Images()->Draw(&c, R.Left + (R.Width() - Images()->GetWidth()) / 2,
                     R.Top + (R.Height() - Images()->GetHeight()) / 2, item->ImageIndex(), true);
    }
  }
  c.SetHandle(nullptr);
  ReleaseDC(Handle(), dc);
}

}  // namespace DizDropDown
