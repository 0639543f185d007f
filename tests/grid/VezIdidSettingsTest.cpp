// The grid's settings objects: every Assign copies every setting without side effects,
// the background can be set, the sort row is checked against the fixed rows, the change
// events fire as documented.
#include <functional>
#include <memory>
#include <sstream>

#include "GridTestSupport.h"
#include "grid/VezIdidOptions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/TypInfo.h"

namespace {

// Changes every published value of O (recursing into owned objects; bitmaps grow).
void Mutate(TObject* O) {
  for (const TPropInfo* p : GetPropList(O->ClassType())) {
    switch (p->Kind) {
      case tkInteger: case tkChar: case tkEnumeration: case tkSet: case tkInt64: {
        if (!p->SetOrd) break;
        int64_t v = p->GetOrd(O);
        if (p->Enum && p->Kind == tkEnumeration)
          v = p->Enum->MinValue + (v - p->Enum->MinValue + 1) % static_cast<int64_t>(p->Enum->Names.size());
        else
          v += 3;
        p->SetOrd(O, v);
        break;
      }
      case tkFloat:
        if (p->SetFloat) p->SetFloat(O, p->GetFloat(O) + 1);
        break;
      case tkString:
        if (p->SetStr) p->SetStr(O, p->GetStr(O) + "x");
        break;
      case tkClass:
        if (p->IsReference) break;
        if (auto* b = dynamic_cast<TBitmap*>(p->GetObj(O))) b->SetSize(b->GetWidth() + 3, b->GetHeight() + 2);
        else if (TObject* sub = p->GetObj(O)) Mutate(sub);
        break;
      default: break;
    }
  }
}

// Every published value of O as text.
std::string Dump(TObject* O, const std::string& Prefix = "") {
  std::ostringstream out;
  for (const TPropInfo* p : GetPropList(O->ClassType())) {
    out << Prefix << p->Name << "=";
    switch (p->Kind) {
      case tkInteger: case tkChar: case tkEnumeration: case tkSet: case tkInt64: out << p->GetOrd(O); break;
      case tkFloat: out << static_cast<double>(p->GetFloat(O)); break;
      case tkString: out << p->GetStr(O); break;
      case tkClass:
        if (p->IsReference) break;
        if (auto* b = dynamic_cast<TBitmap*>(p->GetObj(O))) out << b->GetWidth() << "x" << b->GetHeight();
        else if (TObject* sub = p->GetObj(O)) out << "{" << Dump(sub, p->Name + ".") << "}";
        break;
      default: break;
    }
    out << "\n";
  }
  return out.str();
}

struct TSettingsCase {
  const char* Name;
  std::function<TPersistent*()> Make;
};

}  // namespace

// Every settings class: after Assign the copy shows every published value of the source,
// including the ones a plain copy of selected fields would forget.
TEST(SettingsAssign, CopiesEverySetting) {
  const TSettingsCase cases[] = {
      {"TSortSettings", [] { return new TSortSettings(nullptr); }},
      {"TControlLook", [] { return new TControlLook(nullptr); }},
      {"TBands", [] { return new TBands(nullptr); }},
      {"TBackGround", [] { return new TBackGround(nullptr); }},
      {"TGrouping", [] { return new TGrouping(); }},
      {"TDragDropSettings", [] { return new TDragDropSettings(nullptr); }},
      {"TBalloonSettings", [] { return new TBalloonSettings(); }},
      {"TShowModified", [] { return new TShowModified(); }},
      {"TDragScrollOptions", [] { return new TDragScrollOptions(); }},
      {"TGridProgressAppearance", [] { return new TGridProgressAppearance(); }},
      {"TMouseActions", [] { return new TMouseActions(nullptr); }},
      {"TNavigation", [] { return new TNavigation(); }},
      {"TColumnSize", [] { return new TColumnSize(nullptr); }},
      {"TCellNode", [] { return new TCellNode(nullptr); }},
      {"THTMLSettings", [] { return new THTMLSettings(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TPersistent> src(c.Make()), dst(c.Make());
    Mutate(src.get());
    ASSERT_NE(Dump(dst.get()), Dump(src.get()));
    dst->Assign(src.get());
    EXPECT_EQ(Dump(dst.get()), Dump(src.get()));
    // A source of another class is ignored.
    std::string before = Dump(dst.get());
    TShowModified other;
    if (c.Name != std::string("TShowModified")) dst->Assign(&other);
    EXPECT_EQ(Dump(dst.get()), before);
  }
}

TEST(SettingsAssign, ProgressStyleIsCopiedToo) {
  TGridProgressAppearance a, b;
  a.SetStyle(VezIdid::psClassic);
  b.Assign(&a);
  EXPECT_EQ(b.Style(), VezIdid::psClassic);
}

// Copying raises no change events, except the progress look's one OnChange.
TEST(SettingsAssign, CopyingIsSilent) {
  int balloon = 0, modified = 0, progress = 0;
  TBalloonSettings b1, b2;
  b2.OnEnableChange = [&](TObject*) { ++balloon; };
  b1.SetEnable(true);
  b2.Assign(&b1);
  EXPECT_TRUE(b2.Enable());
  EXPECT_EQ(balloon, 0);
  b2.SetEnable(true);  // the same value still notifies
  EXPECT_EQ(balloon, 1);

  TShowModified m1, m2;
  m2.OnChange = [&](TObject*) { ++modified; };
  m1.SetColor(0x123456);
  m2.Assign(&m1);
  EXPECT_EQ(m2.Color(), TColor(0x123456));
  EXPECT_EQ(modified, 0);
  m2.SetEnabled(true);  // a plain value
  EXPECT_EQ(modified, 0);
  m2.SetColor(m2.Color());
  EXPECT_EQ(modified, 1);

  TGridProgressAppearance p1, p2;
  p2.OnChange = [&](TObject*) { ++progress; };
  p2.SetSteps(11);  // unchanged: nothing
  EXPECT_EQ(progress, 0);
  p2.SetSteps(12);
  EXPECT_EQ(progress, 1);
  p2.Assign(&p1);  // equal or not, one change afterwards
  EXPECT_EQ(progress, 2);
  EXPECT_EQ(p2.Steps(), 11);
}

TEST(SettingsDefaults, TableOfDefaults) {
  TDragScrollOptions d;
  EXPECT_FALSE(d.Active);
  EXPECT_EQ(d.Delays()->InitialDelay, 1000);
  EXPECT_EQ(d.Delays()->RepeatDelay, 250);
  EXPECT_EQ(d.Margins()->TopMargin + d.Margins()->BottomMargin + d.Margins()->LeftMargin + d.Margins()->RightMargin,
            200);
  TGrouping g;
  EXPECT_EQ(g.HeaderLineColor, TColor(0xFF0000));
  EXPECT_EQ(g.SummaryLineWidth, 2);
  TBackGround bg(nullptr);
  EXPECT_EQ(bg.ColorTo(), clBtnFace);
  TControlLook l(nullptr);
  EXPECT_EQ(l.ControlStyle(), csTheme);
  EXPECT_EQ(l.ProgressMarginX(), 2);
  TBalloonSettings b;
  EXPECT_EQ(b.AutoHideDelay, -1);
  TShowModified m;
  EXPECT_EQ(m.Color(), TColor(0x00FFFF));
  TGridProgressAppearance p;
  EXPECT_EQ(p.Level2Color(), TColor(0x53A9FF));
  EXPECT_EQ(p.Level2Perc(), 90);
  EXPECT_EQ(p.Style(), VezIdid::psXP);
}

class GridSettingsTest : public GridTest {};

// A grid copied through Assign keeps the look settings of its source.
TEST_F(GridSettingsTest, GridAssignKeepsTheLookSettings) {
  auto* other = new TDavEvadurAvuz(form);
  other->SetParent(form);
  Mutate(other->ControlLook());
  Mutate(other->BackGround());
  Mutate(other->Balloon());
  Mutate(other->ShowModified());
  Mutate(other->Bands());
  Mutate(other->DragScrollOptions());
  grid->Assign(other);
  EXPECT_EQ(Dump(grid->ControlLook()), Dump(other->ControlLook()));
  EXPECT_EQ(Dump(grid->BackGround()), Dump(other->BackGround()));
  EXPECT_EQ(Dump(grid->Balloon()), Dump(other->Balloon()));
  EXPECT_EQ(Dump(grid->ShowModified()), Dump(other->ShowModified()));
  EXPECT_EQ(Dump(grid->Bands()), Dump(other->Bands()));
  EXPECT_EQ(Dump(grid->DragScrollOptions()), Dump(other->DragScrollOptions()));
}

TEST_F(GridSettingsTest, SetBackgroundCopiesPictureAndPlace) {
  TBackGround bg(nullptr);
  bg.Bitmap()->SetSize(16, 8);
  bg.SetDisplay(bdFixed);
  bg.SetLeft(5);
  bg.SetTop(7);
  grid->SetBackGround(&bg);
  EXPECT_EQ(grid->BackGround()->Bitmap()->GetWidth(), 16);
  EXPECT_EQ(grid->BackGround()->Bitmap()->GetHeight(), 8);
  EXPECT_EQ(grid->BackGround()->Display(), bdFixed);
  EXPECT_EQ(grid->BackGround()->Left(), 5);
  EXPECT_EQ(grid->BackGround()->Top(), 7);
}

// Copying a control look hands no gradient colour to the grid; a write operation does.
TEST_F(GridSettingsTest, ControlLookCopyLeavesTheGridGradientAlone) {
  TControlLook src(nullptr);
  src.SetFixedGradientFrom(clWhite);
  src.SetFixedGradientTo(clGray);
  TColor before = grid->ZADGradFrom();
  grid->ControlLook()->Assign(&src);
  EXPECT_EQ(grid->ControlLook()->FixedGradientFrom(), clWhite);
  EXPECT_EQ(grid->ControlLook()->FixedGradientTo(), clGray);
  EXPECT_EQ(grid->ZADGradFrom(), before);
}

// The sort row is a header row: 0 <= Row < FixedRows; a bad value raises and is not kept.
TEST_F(GridSettingsTest, SortRowMustBeAFixedRow) {
  grid->SetFixedRows(2);
  struct {
    int Row;
    bool Ok;
  } cases[] = {{0, true}, {1, true}, {2, false}, {-1, false}, {7, false}};
  TSortSettings* s = grid->SortSettings();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Row);
    s->SetSortRow(0);
    if (c.Ok) {
      s->SetSortRow(c.Row);
      EXPECT_EQ(s->Row(), c.Row);
    } else {
      try {
        s->SetSortRow(c.Row);
        ADD_FAILURE() << "no exception";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Sort row should be smaller than number of fixed rows");
      }
      EXPECT_EQ(s->Row(), 0);
    }
  }
  // Copying settings from a grid with more header rows takes the row as it is.
  TSortSettings deep(nullptr);
  deep.SetSortRow(5);
  s->Assign(&deep);
  EXPECT_EQ(s->Row(), 5);
}

TEST_F(GridSettingsTest, SortRemoveClearsColumnAndIndexList) {
  TSortSettings* s = grid->SortSettings();
  s->LoadFromString("i;u1;d4");
  s->Column = 3;
  s->Direction = sdDescending;
  s->Remove();
  EXPECT_EQ(s->Column, -1);
  EXPECT_EQ(grid->SortIndexList()->Count(), 0);
  EXPECT_EQ(s->Direction, sdDescending);
  EXPECT_TRUE(s->IndexShow);
}
