// VivIzizEzuPosition: a tool bar's own stored position: whether it floated, where and in
// how many rows, and which of its named controls were visible.
#include <memory>

#include "platform/rtl/IniFiles.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuFloating.h"

namespace VivIzizEzu {

namespace {
std::unique_ptr<TCustomIniFile> OpenStore(const TPersistence* P) {
  if (P->Location() == plIniFile) return std::make_unique<TIniFile>(P->Key());
  return std::make_unique<TRegistryIniFile>(P->Key());
}

bool SameName(const std::string& A, const std::string& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    char a = A[i], b = B[i];
    if (a >= 'a' && a <= 'z') a = char(a - 32);
    if (b >= 'a' && b <= 'z') b = char(b - 32);
    if (a != b) return false;
  }
  return true;
}
}  // namespace

TPoint TDizCustomToolBar::GetPosition() const {
  if (FState == tsFloating && FFloatingWindow) return TPoint{FFloatingWindow->Left(), FFloatingWindow->Top()};
  return TPoint{Left(), Top()};
}

void TDizCustomToolBar::SavePosition() {
  if (!FPersistence->Active() || IsDesigning()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenStore(FPersistence.get());
  const std::string& sec = FPersistence->Section();
  const std::string bar = Name();
  if (FState == tsFloating) {
    const TPoint p = GetPosition();
    ini->WriteString(sec, bar + ".Name", bar);
    ini->WriteInteger(sec, bar + ".State", int(FState));
    ini->WriteInteger(sec, bar + ".FloatingRows", FFloatingRows);
    ini->WriteInteger(sec, bar + ".Left", p.X);
    ini->WriteInteger(sec, bar + ".Top", p.Y);
    ini->WriteInteger(sec, bar + ".Width", Width());
    ini->WriteInteger(sec, bar + ".Height", Height());
    ini->WriteInteger(sec, bar + ".Visible", Visible() ? 1 : 0);
  } else {
    const std::string stored = ini->ReadString(sec, bar + ".Name", "");
    if (SameName(stored, bar) && ini->ReadInteger(sec, bar + ".State", 0) == 1)
      ini->WriteInteger(sec, bar + ".State", int(FState));
  }
  for (int i = 0; i < FSequence->Count(); ++i) {
    auto* c = static_cast<TControl*>(FSequence->Get(i));
    if (!c->Name().empty()) ini->WriteInteger(sec, bar + "." + c->Name(), c->Visible() ? 1 : 0);
  }
}

void TDizCustomToolBar::LoadPosition() {
  if (!FPersistence->Active() || IsDesigning()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenStore(FPersistence.get());
  const std::string& sec = FPersistence->Section();
  const std::string bar = Name();
  const std::string stored = ini->ReadString(sec, bar + ".Name", "");
  const int state = ini->ReadInteger(sec, bar + ".State", 0);
  if (!stored.empty() && SameName(stored, bar) && state == 1) {
    const int rows = ini->ReadInteger(sec, bar + ".FloatingRows", FFloatingRows);
    const int left = ini->ReadInteger(sec, bar + ".Left", Left());
    const int top = ini->ReadInteger(sec, bar + ".Top", Top());
    // SetFloating keeps the window inside the work area.
    SetFloating(left, top, true);
    if (rows > FFloatingRows) SetFloatingRows(rows);
    const bool visible = ini->ReadInteger(sec, bar + ".Visible", Visible() ? 1 : 0) != 0;
    if (visible != Visible()) SetVisible(visible);
  }
  bool changed = false;
  for (int i = 0; i < FSequence->Count(); ++i) {
    auto* c = static_cast<TControl*>(FSequence->Get(i));
    if (c->Name().empty()) continue;
    const bool v = ini->ReadInteger(sec, bar + "." + c->Name(), c->Visible() ? 1 : 0) != 0;
    if (v != c->Visible()) {
      c->SetVisible(v);
      changed = true;
    }
  }
  if (changed) SetControlsPosition(true);
  FPositionLoaded = true;
}

}  // namespace VivIzizEzu
