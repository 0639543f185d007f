// BaseGrid, undo and redo of cell text changes: the recorded steps and the component that
// replays them on its grid, one change or one bracketed sequence at a time.
#include "grid/BaseGrid.h"

void TUndoRedoItem::Publish(TClassBuilder<TUndoRedoItem>& P) {
  using S = TUndoRedoItem;
  P.Int("Col", &S::Col, &S::Col, 0)
      .Int("Row", &S::Row, &S::Row, 0)
      .Str("Value", &S::Value, &S::Value)
      .Str("OrigValue", &S::OrigValue, &S::OrigValue)
      .Bool("SequenceStart", &S::SequenceStart, &S::SequenceStart, false)
      .Bool("SequenceStop", &S::SequenceStop, &S::SequenceStop, false);
}

void TVezIdidUndoRedo::Publish(TClassBuilder<TVezIdidUndoRedo>& P) {
  using S = TVezIdidUndoRedo;
  P.Int("MaxLevel", &S::MaxLevel, &S::MaxLevel, 0).Event("OnUndo", &S::OnUndo).Event("OnRedo", &S::OnRedo);
}

// ---------------------------------------------------------------------------------------
// The step list.
TUndoRedoCollection::TUndoRedoCollection() : TCollection(ItemClassOf<TUndoRedoItem>()) {}

TUndoRedoCollection::~TUndoRedoCollection() = default;

TUndoRedoItem* TUndoRedoCollection::Add() {
  FSteps.push_back(std::make_unique<TUndoRedoItem>(nullptr));
  return FSteps.back().get();
}

void TUndoRedoCollection::DeleteFirst() {
  if (!FSteps.empty()) FSteps.pop_front();
}

TUndoRedoItem* TUndoRedoCollection::Recycle() {
  if (FSteps.empty()) return Add();
  FSteps.push_back(std::move(FSteps.front()));
  FSteps.pop_front();
  // The steps that leave next were written long ago and lie apart on the heap, out of the
  // caches on a long list: fetch one a few changes ahead, so that its turn finds it near.
  constexpr size_t kAhead = 8;
  if (FSteps.size() > kAhead) {
    const char* next = reinterpret_cast<const char*>(FSteps[kAhead].get());
    for (size_t at = 0; at < sizeof(TUndoRedoItem); at += 64) __builtin_prefetch(next + at, 1);
  }
  return FSteps.back().get();
}

void TUndoRedoCollection::Clear() { FSteps.clear(); }

// ---------------------------------------------------------------------------------------
// The component.
TVezIdidUndoRedo::TVezIdidUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

TVezIdidUndoRedo::~TVezIdidUndoRedo() {
  if (FGrid) FGrid->RemoveFreeNotification(this);
}

void TVezIdidUndoRedo::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FGrid) FGrid = nullptr;
}

void TVezIdidUndoRedo::SetGrid(TBaseGrid* Value) {
  if (FGrid == Value) return;
  if (FGrid) FGrid->RemoveFreeNotification(this);
  FGrid = Value;
  if (FGrid) FGrid->FreeNotification(this);
}

void TVezIdidUndoRedo::RegisterChange(int ACol, int ARow, const std::string& OldValue, const std::string& NewValue) {
  TUndoRedoItem* item;
  if (MaxLevel > 0 && FItems->Count() >= MaxLevel) {
    // The oldest step leaves; its object takes the new change.
    item = FItems->Recycle();
    item->SequenceStart = item->SequenceStop = false;
  } else {
    item = FItems->Add();
  }
  item->Col = ACol;
  item->Row = ARow;
  item->Value = NewValue;
  item->OrigValue = OldValue;
  Level = FItems->Count();
}

void TVezIdidUndoRedo::StartSequence() {
  TUndoRedoItem* item = FItems->Add();
  item->Col = item->Row = -1;
  item->SequenceStart = true;
  Level = FItems->Count();
}

void TVezIdidUndoRedo::StopSequence() {
  TUndoRedoItem* item = FItems->Add();
  item->Col = item->Row = -1;
  item->SequenceStop = true;
  Level = FItems->Count();
}

void TVezIdidUndoRedo::Reset() {
  FItems->Clear();
  Level = 0;
}

// Puts the old (Forward false) or new text of one change into its cell and makes the cell
// current where it is shown.
void TVezIdidUndoRedo::Replay(TUndoRedoItem* Item, bool Forward) {
  const std::string& text = Forward ? Item->Value : Item->OrigValue;
  const TVezIdidUndoRedoEvent& event = Forward ? OnRedo : OnUndo;
  if (event) event(this, FGrid, Item->Col, Item->Row, FGrid->GetCellEx(Item->Col, Item->Row), text);
  FGrid->SetCellEx(Item->Col, Item->Row, text);
  const int col = FGrid->DisplColIndex(Item->Col);
  if (col >= 0 && col < FGrid->ColCount()) FGrid->SetCol(col);
  if (Item->Row >= 0 && Item->Row < FGrid->RowCount()) FGrid->SetRow(Item->Row);
}

void TVezIdidUndoRedo::Undo() {
  if (!FGrid || Level <= 0 || Level > FItems->Count()) return;
  TUndoRedoItem* item = FItems->Items(Level - 1);
  if (item->SequenceStop) {
    --Level;
    while (Level > 0 && !FItems->Items(Level - 1)->SequenceStart) {
      TUndoRedoItem* change = FItems->Items(Level - 1);
      if (!change->SequenceStop) Replay(change, false);
      --Level;
    }
    if (Level > 0) --Level;
    FGrid->Invalidate();
    return;
  }
  if (item->SequenceStart) {
    // A start marker whose sequence was never closed: step over it.
    --Level;
    return;
  }
  Replay(item, false);
  FGrid->RepaintCell(FGrid->Col(), item->Row);
  --Level;
}

void TVezIdidUndoRedo::Redo() {
  if (!FGrid || Level >= FItems->Count()) return;
  ++Level;
  TUndoRedoItem* item = FItems->Items(Level - 1);
  if (item->SequenceStart) {
    // The changes up to the stop marker are one step. A sequence whose stop marker was
    // never recorded replays every change that remains.
    while (Level < FItems->Count()) {
      ++Level;
      TUndoRedoItem* change = FItems->Items(Level - 1);
      if (change->SequenceStop) break;
      if (!change->SequenceStart) Replay(change, true);
    }
    FGrid->Invalidate();
    return;
  }
  if (item->SequenceStop) return;
  Replay(item, true);
}
