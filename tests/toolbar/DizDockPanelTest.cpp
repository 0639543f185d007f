// Tests of the dock panel and its rows: parents, docking, rows built at loading, locked
// rows, alignment, sizing, the row rules of moving and sizing tool bars, painting, and the
// main window's stored dock panel.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "menus/DovAvarOrodez.h"
#include "platform/backend/Headless.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuCustomizer.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace {

using namespace VivIzizEzu;

class DockPanelTest : public ::testing::Test {
protected:
  DockPanelTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(0, 0, 600, 300);
    form->Show();
  }
  ~DockPanelTest() override { Application->Restart(); }

  TDizDockPanel* NewPanel(TDockAlign align = daTop) {
    auto* p = new TDizDockPanel(form);
    p->SetParent(form);
    p->SetDockAlign(align);
    return p;
  }
  // A tool bar with a fixed length (no controls to size it).
  TVivIzizEzu* NewBar(int length = 100) {
    auto* bar = new TVivIzizEzu(form);
    bar->SetParent(form);  // a fixed tool bar may leave automatic sizing
    bar->SetAutoSizeEx(false);
    bar->Constraints()->SetMinWidth(0);
    bar->Constraints()->SetMaxWidth(0);
    bar->SetBounds(0, 0, length, 26);
    bar->Constraints()->SetMinWidth(length);
    bar->Constraints()->SetMaxWidth(length);
    return bar;
  }
  TVivIzizEzu* Dock(TDizDockPanel* panel, int length = 100) {
    TVivIzizEzu* bar = NewBar(length);
    bar->SetParent(panel);
    return bar;
  }
  static TRect RowRect(TDizDockPanel* panel, int row) { return panel->Rows()->GetItem(row)->GetRowRect(); }
  static std::string Message(const std::function<void()>& f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.Message();
    }
    return "";
  }
  TForm* form = nullptr;
};

// ---- the main window's stored dock panel ------------------------------------------------
const char* const kMainWindowForm = R"(object MainForm: TForm
  Left = 0
  Top = 0
  Width = 640
  Height = 200
  object DizDockPanel1: TDizDockPanel
    Left = 0
    Top = 0
    Width = 640
    Height = 2
    Align = daTop
    MinimumSize = 2
    LockHeight = False
    Persistence.Location = plRegistry
    Persistence.Enabled = False
    ToolBarStyler = VivIzizEzuOfficeStyler1
    UseRunTimeHeight = True
    object DovAvarOrodez1: TDovAvarOrodez
      Left = 365
      Top = 4
      Width = 29
      Height = 32
      FocusType = ftHot
    end
  end
  object VivIzizEzuOfficeStyler1: TVivIzizEzuOfficeStyler
    Style = bsOffice2007Luna
  end
  object VivIzizEzuCustomizer1: TVivIzizEzuCustomizer
    EnablePersistence = True
    FileName = '.\untitled.ini'
  end
end
)";

TEST_F(DockPanelTest, MainWindowFormLoads) {
  TComponent* root = nullptr;
  ASSERT_NO_THROW(root = ReadComponentFromText(kMainWindowForm, form));
  auto* panel = dynamic_cast<TDizDockPanel*>(form->FindComponent("DizDockPanel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->DockAlign(), daTop);
  EXPECT_EQ(panel->Align(), alTop);
  EXPECT_EQ(panel->MinimumSize(), 2);
  EXPECT_FALSE(panel->LockHeight());
  EXPECT_TRUE(panel->UseRunTimeHeight());
  EXPECT_EQ(panel->Persistence()->Location(), plRegistry);
  EXPECT_FALSE(panel->Persistence()->Enabled());
  EXPECT_EQ(panel->ToolBarStyler(), form->FindComponent("VivIzizEzuOfficeStyler1"));
  EXPECT_EQ(panel->Height(), 2);
  EXPECT_EQ(panel->GetRowCount(), 0);
  auto* glow = dynamic_cast<TDovAvarOrodez*>(form->FindComponent("DovAvarOrodez1"));
  ASSERT_NE(glow, nullptr);
  EXPECT_EQ(glow->Parent(), panel);
  auto* customizer = dynamic_cast<TVivIzizEzuCustomizer*>(form->FindComponent("VivIzizEzuCustomizer1"));
  ASSERT_NE(customizer, nullptr);
  EXPECT_TRUE(customizer->EnablePersistence());
  EXPECT_EQ(customizer->FileName(), ".\\untitled.ini");
  EXPECT_EQ(customizer->IniPath(), "./untitled.ini");
  EXPECT_EQ(customizer->Commands()->Count(), 0);
  (void)root;
}

// The main window's dock panel with a tool bar docked beside the glow button, rendered.
TEST_F(DockPanelTest, MainWindowDockRendersToPng) {
  std::string text = kMainWindowForm;
  const std::string bar =
      "    object VivIzizEzu1: TVivIzizEzu\n      Left = 3\n      Top = 1\n      Caption = 'Tools'\n"
      "      ToolBarStyler = VivIzizEzuOfficeStyler1\n"
      "      object VivIzizEzuButton1: TVivIzizEzuButton\n        Caption = 'One'\n        ShowCaption = True\n      end\n"
      "      object VivIzizEzuSeparator1: TVivIzizEzuSeparator\n      end\n"
      "      object VivIzizEzuButton2: TVivIzizEzuButton\n        Caption = 'Two'\n        ShowCaption = True\n      end\n"
      "    end\n";
  text.insert(text.find("    object DovAvarOrodez1"), bar);
  ReadComponentFromText(text, form);
  form->Show();
  auto* panel = static_cast<TDizDockPanel*>(form->FindComponent("DizDockPanel1"));
  auto* tb = static_cast<TVivIzizEzu*>(form->FindComponent("VivIzizEzu1"));
  ASSERT_TRUE(panel && tb);
  EXPECT_EQ(tb->ToolBarState(), tsDocked);
  EXPECT_EQ(panel->GetRowCount(), 1);
  EXPECT_EQ(tb->Top(), 1);
  EXPECT_EQ(tb->Left(), 3);
  EXPECT_EQ(panel->Height(), RowRect(panel, 0).Bottom);
  EXPECT_EQ(tb->StylerInForce(), form->FindComponent("VivIzizEzuOfficeStyler1"));
  panel->Repaint();
  // The dock colour of the office look fills the panel beside the tool bar.
  TColor c = clNone;
  ASSERT_TRUE(panel->DockPixel(panel->Width() - 3, panel->Height() - 1, true, c));
  EXPECT_NE(c, clWhite);
  // Button captions stand on the face without a text background of their own.
  {
    auto* b1 = static_cast<TControl*>(form->FindComponent("VivIzizEzuButton1"));
    TBitmap shot(tb->Width(), tb->Height());
    tb->PaintTo(shot.Canvas()->GetHandle(), 0, 0);
    shot.Canvas()->Refresh();
    int white = 0;
    for (int y = b1->Top() + 2; y < b1->Top() + b1->Height() - 2; ++y)
      for (int x = b1->Left() + 2; x < b1->Left() + b1->Width() - 2; ++x)
        if (shot.Canvas()->GetPixel(x, y) == clWhite) ++white;
    EXPECT_EQ(white, 0);
  }
  const char* keep = std::getenv("LORM_KEEP_PNG");
  const std::filesystem::path dir =
      keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
  const auto png = dir / "lorm_dock_panel.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  if (keep) {
    // The panel's left part enlarged, to look at single pixels.
    TBitmap shot(panel->Width(), panel->Height());
    panel->PaintTo(shot.Canvas()->GetHandle(), 0, 0);
    shot.Canvas()->Refresh();
    TBitmap big(420 * 3, panel->Height() * 3);
    big.Canvas()->StretchDraw({0, 0, panel->Width() * 3, panel->Height() * 3}, &shot);
    const TByteBuffer data = EncodePng(big.ToRawImage());
    if (FILE* f = std::fopen((dir / "lorm_dock_panel_zoom.png").string().c_str(), "wb")) {
      std::fwrite(data.data(), 1, data.size(), f);
      std::fclose(f);
    }
  }
  if (!keep) std::filesystem::remove(png);
}

// ---- parents ----------------------------------------------------------------------------
TEST_F(DockPanelTest, ParentRule) {
  TDizDockPanel* outer = NewPanel();
  auto* inner = new TDizDockPanel(form);
  TVivIzizEzu* bar = NewBar();
  bar->SetParent(form);
  EXPECT_EQ(Message([&] { inner->SetParent(outer); }), "Invalid Parent");
  EXPECT_EQ(inner->Parent(), nullptr);
  EXPECT_EQ(Message([&] { inner->SetParent(bar); }), "Invalid Parent");
  EXPECT_EQ(inner->Parent(), nullptr);
  // Anything else is accepted.
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  EXPECT_EQ(Message([&] { inner->SetParent(panel); }), "");
  EXPECT_EQ(inner->Parent(), panel);
  EXPECT_EQ(Message([&] { inner->SetParent(nullptr); }), "");
}

// ---- sizes ------------------------------------------------------------------------------
TEST_F(DockPanelTest, EmptyAndOneBarSizes) {
  TDizDockPanel* panel = NewPanel();
  EXPECT_EQ(panel->MinimumSize(), 3);
  EXPECT_EQ(panel->Height(), 3);
  EXPECT_EQ(panel->Width(), form->ClientWidth());
  TVivIzizEzu* bar = Dock(panel);
  const int W = panel->Width();
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  EXPECT_EQ(panel->GetRowCount(), 1);
  EXPECT_EQ(RowRect(panel, 0), (TRect{1, 1, W - 1, 28}));
  EXPECT_EQ(bar->Left(), 3);
  EXPECT_EQ(bar->Top(), 1);
  EXPECT_EQ(bar->Row(), 0);
  EXPECT_EQ(panel->Height(), 28);
  panel->SetDesigning(true, false);
  panel->Rows()->SetRowsPosition();
  EXPECT_EQ(panel->Height(), 41);
  panel->SetUseRunTimeHeight(true);
  EXPECT_EQ(panel->Height(), 28);
}

TEST_F(DockPanelTest, EmptyPanelAtDesignTime) {
  struct Case {
    TDockAlign align;
    bool runTimeHeight;
    int thickness;
  } cases[] = {{daTop, false, 13}, {daLeft, false, 15}, {daTop, true, 3}, {daBottom, false, 13}};
  for (const Case& c : cases) {
    TDizDockPanel* panel = NewPanel(c.align);
    panel->SetDesigning(true, false);
    panel->SetUseRunTimeHeight(c.runTimeHeight);
    panel->Rows()->SetRowsPosition();
    EXPECT_EQ(IsHorizontal(c.align) ? panel->Height() : panel->Width(), c.thickness) << c.align;
    delete panel;
  }
}

TEST_F(DockPanelTest, MinimumSizeIgnoresNonPositive) {
  TDizDockPanel* panel = NewPanel();
  for (int v : {0, -5}) {
    panel->SetMinimumSize(v);
    EXPECT_EQ(panel->MinimumSize(), 3) << v;
    EXPECT_EQ(panel->Height(), 3) << v;
  }
  panel->SetMinimumSize(7);
  EXPECT_EQ(panel->MinimumSize(), 7);
  EXPECT_EQ(panel->Height(), 7);
}

TEST_F(DockPanelTest, RowNeverThinnerThan26) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar();
  bar->SetHeight(20);
  bar->SetParent(panel);
  EXPECT_EQ(panel->Rows()->GetItem(0)->GetHeight(), 26);
  EXPECT_EQ(panel->Height(), 28);
}

TEST_F(DockPanelTest, FullSizeBarSpansItsRow) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* full = Dock(panel);
  full->SetFullSize(true);
  const int W = panel->Width();
  EXPECT_EQ(full->Left(), 3);
  EXPECT_EQ(full->Width(), W - 6);
  EXPECT_EQ(full->Constraints()->MinWidth(), W - 6);
  EXPECT_EQ(full->Constraints()->MaxWidth(), W - 6);
  TRowCollectionItem* row = panel->Rows()->GetItem(full->Row());
  TVivIzizEzu* other = NewBar();
  EXPECT_FALSE(row->IsAllowed(other));
  EXPECT_EQ(row->AddToolBar(other), -1);
}

// ---- loading ----------------------------------------------------------------------------
std::string DockForm(const std::string& bars, const std::string& extra = "") {
  return "object F: TForm\n  Width = 640\n  Height = 300\n  object Dock: TDizDockPanel\n    Width = 640\n" + extra +
         bars + "  end\nend\n";
}
std::string BarText(const std::string& name, int left, int top) {
  return "    object " + name + ": TVivIzizEzu\n      Left = " + std::to_string(left) +
         "\n      Top = " + std::to_string(top) + "\n    end\n";
}

TEST_F(DockPanelTest, LoadingBuildsRowsFromDesignedPlaces) {
  ReadComponentFromText(DockForm(BarText("B1", 200, 30) + BarText("B2", 3, 1) + BarText("B3", 100, 1)), form);
  auto* panel = static_cast<TDizDockPanel*>(form->FindComponent("Dock"));
  auto* b1 = static_cast<TVivIzizEzu*>(form->FindComponent("B1"));
  auto* b2 = static_cast<TVivIzizEzu*>(form->FindComponent("B2"));
  auto* b3 = static_cast<TVivIzizEzu*>(form->FindComponent("B3"));
  ASSERT_TRUE(panel && b1 && b2 && b3);
  ASSERT_EQ(panel->GetRowCount(), 2);
  TRowCollectionItem* first = panel->Rows()->GetItem(0);
  ASSERT_EQ(first->ToolBarCount(), 2);
  EXPECT_EQ(first->ToolBars(0), b2);
  EXPECT_EQ(first->ToolBars(1), b3);
  EXPECT_EQ(panel->Rows()->GetItem(1)->ToolBars(0), b1);
  EXPECT_EQ(b2->Row(), 0);
  EXPECT_EQ(b3->Row(), 0);
  EXPECT_EQ(b1->Row(), 1);
  EXPECT_EQ(b2->Top(), b3->Top());
  EXPECT_GT(b1->Top(), b2->Top());
  EXPECT_EQ(panel->Height(), RowRect(panel, 1).Bottom);
  EXPECT_TRUE(panel->PropertiesLoaded());
}

// ---- locked rows ------------------------------------------------------------------------
TEST_F(DockPanelTest, LockHeightChoosesTheRowNearestTheContent) {
  for (TDockAlign align : {daTop, daBottom}) {
    TDizDockPanel* panel = NewPanel(align);
    Dock(panel);
    TVivIzizEzu* second = Dock(panel);
    // Two rows, each accepting another tool bar.
    second->SetTop(second->Top() + 30);
    ASSERT_EQ(panel->GetRowCount(), 2) << align;
    panel->SetLockHeight(true);
    TVivIzizEzu* bar = NewBar();
    bar->SetParent(panel);
    EXPECT_EQ(panel->GetRowCount(), 2);
    EXPECT_EQ(bar->Row(), align == daTop ? 1 : 0) << align;
    delete panel;
  }
}

TEST_F(DockPanelTest, LockHeightRefusesWhenNoRowAccepts) {
  TDizDockPanel* panel = NewPanel();
  for (int i = 0; i < 3; ++i) {
    TVivIzizEzu* full = Dock(panel);
    full->SetFullSize(true);
  }
  ASSERT_EQ(panel->GetRowCount(), 3);
  panel->SetLockHeight(true);
  TVivIzizEzu* bar = NewBar();
  bar->SetParent(form);
  int docked = 0;
  bar->OnDocked = [&](TObject*, TWinControl*) { ++docked; };
  EXPECT_EQ(panel->AddToolBar(bar), -1);
  bar->SetParent(panel);
  EXPECT_EQ(docked, 0);
  EXPECT_EQ(bar->Parent(), form);
  EXPECT_EQ(bar->ToolBarState(), tsFixed);
  EXPECT_EQ(panel->GetRowCount(), 3);
  EXPECT_EQ(panel->GetVivIzizEzuCount(), 3);
  // Unlocked, the same tool bar gets a row of its own.
  panel->SetLockHeight(false);
  bar->SetParent(panel);
  EXPECT_EQ(docked, 1);
  EXPECT_EQ(panel->GetRowCount(), 4);
}

// ---- alignment --------------------------------------------------------------------------
TEST_F(DockPanelTest, AlignLeftTurnsToolBarsVertical) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* a = Dock(panel);
  TVivIzizEzu* b = Dock(panel);
  EXPECT_TRUE(a->Horizontal());
  panel->SetDockAlign(daLeft);
  EXPECT_EQ(panel->Align(), alLeft);
  for (TVivIzizEzu* bar : {a, b}) {
    EXPECT_EQ(bar->Position(), daLeft);
    EXPECT_FALSE(bar->Horizontal());
  }
  struct Case {
    TDockAlign align;
    TAlign frame;
  } cases[] = {{daRight, alRight}, {daBottom, alBottom}, {daTop, alTop}};
  for (const Case& c : cases) {
    panel->SetDockAlign(c.align);
    EXPECT_EQ(panel->Align(), c.frame);
    EXPECT_EQ(a->Position(), c.align);
  }
}

TEST_F(DockPanelTest, TurningThePanelExchangesTheBarsLengthAndThickness) {
  struct Case {
    TDockAlign align;
    bool tall;
  } cases[] = {{daLeft, true}, {daTop, false}, {daRight, true}, {daBottom, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.align));
    TDizDockPanel* panel = NewPanel();
    // An automatically sized bar, and one whose length is fixed.
    auto* automatic = new TVivIzizEzu(form);
    automatic->SetParent(panel);
    TVivIzizEzu* fixed = Dock(panel, 100);
    const int length = automatic->Width();
    panel->SetDockAlign(c.align);
    for (TVivIzizEzu* bar : {automatic, fixed}) {
      EXPECT_EQ(bar->Height() > bar->Width(), c.tall) << bar->Width() << " x " << bar->Height();
      EXPECT_EQ(c.tall ? bar->Width() : bar->Height(), bar->DockedThickness());
    }
    EXPECT_EQ(c.tall ? automatic->Height() : automatic->Width(), length);
  }
}

// ---- the row rules ----------------------------------------------------------------------
TEST_F(DockPanelTest, SideBySideAndPushing) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* a = Dock(panel);
  TVivIzizEzu* b = Dock(panel);
  // Designed into the first row next to a.
  b->SetBounds(200, 1, b->Width(), b->Height());
  ASSERT_EQ(panel->GetRowCount(), 1);
  EXPECT_EQ(b->Left(), 200);
  EXPECT_EQ(b->Row(), 0);
  // The first tool bar stops 2 px from the row's start.
  a->SetLeft(-50);
  EXPECT_EQ(a->Left(), 3);
  // Moving a towards b pushes b along.
  a->SetLeft(150);
  EXPECT_EQ(a->Left(), 150);
  EXPECT_EQ(b->Left(), 252);
  // Dragging towards the end never swaps; past the end it stops.
  a->SetLeft(10000);
  EXPECT_LE(b->Left() + b->Width(), panel->Width() - 1 - 2);
  EXPECT_LT(a->Left(), b->Left());
}

TEST_F(DockPanelTest, DragAcrossRows) {
  struct Case {
    int up;       // pixels the second tool bar is dragged up (negative: down)
    int rows;     // rows afterwards
    int rowOfB;   // its row
    bool locked;  // LockHeight on at run time
  } cases[] = {
      {3, 3, 1, false}, {4, 3, 1, false}, {5, 3, 1, false}, {6, 2, 1, false},
      {7, 2, 0, false}, {3, 2, 1, true},  {-3, 3, 2, false}, {-5, 3, 2, false},
      {-4, 2, 1, true},
  };
  for (const Case& c : cases) {
    TDizDockPanel* panel = NewPanel();
    Dock(panel);
    TVivIzizEzu* a2 = Dock(panel);
    a2->SetTop(a2->Top() + 30);
    ASSERT_EQ(panel->GetRowCount(), 2);
    TVivIzizEzu* b = Dock(panel);
    b->SetTop(RowRect(panel, 1).Top);
    b->SetLeft(200);
    ASSERT_EQ(panel->Rows()->GetItem(1)->ToolBarCount(), 2);
    ASSERT_EQ(b->Row(), 1);
    if (c.locked) panel->SetLockHeight(true);
    b->SetTop(b->Top() - c.up);
    EXPECT_EQ(panel->GetRowCount(), c.rows) << c.up;
    EXPECT_EQ(b->Row(), c.rowOfB) << c.up;
    EXPECT_EQ(b->Top(), RowRect(panel, b->Row()).Top) << c.up;
    delete panel;
  }
}

TEST_F(DockPanelTest, LastBarSnapsBackAtRunTime) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* a = Dock(panel);
  a->SetTop(a->Top() + 40);
  EXPECT_EQ(panel->GetRowCount(), 1);
  EXPECT_EQ(a->Top(), 1);
}

TEST_F(DockPanelTest, DraggingTowardsTheStartSwaps) {
  TDizDockPanel* panel = NewPanel();
  panel->SetBounds(0, 0, 250, 3);
  TVivIzizEzu* a = Dock(panel);
  TVivIzizEzu* b = Dock(panel);
  b->SetBounds(120, 1, b->Width(), b->Height());
  ASSERT_EQ(panel->GetRowCount(), 1);
  ASSERT_EQ(a->Left(), 3);
  ASSERT_EQ(b->Left(), 120);
  b->SetLeft(8);
  TRowCollectionItem* row = panel->Rows()->GetItem(0);
  EXPECT_EQ(row->ToolBars(0), b);
  EXPECT_EQ(row->ToolBars(1), a);
  EXPECT_EQ(b->Left(), 3);
  EXPECT_EQ(a->Left(), 105);
}

TEST_F(DockPanelTest, GrowingBarPushesItsNeighbour) {
  TDizDockPanel* panel = NewPanel();
  auto* a = new TVivIzizEzu(form);
  a->SetParent(panel);  // sizes itself to its controls
  TVivIzizEzu* b = Dock(panel);
  b->SetBounds(a->Left() + a->Width() + 2, 1, b->Width(), b->Height());
  ASSERT_EQ(panel->GetRowCount(), 1);
  for (int i = 0; i < 6; ++i) {
    auto* btn = new TVivIzizEzuButton(form);
    btn->SetParent(a);
  }
  // The bar takes its full length; its neighbour is pushed along, 2 px after it.
  EXPECT_EQ(a->Width(), a->FullLength());
  EXPECT_GT(a->Width(), 100);
  EXPECT_EQ(a->Top(), b->Top());
  EXPECT_EQ(b->Left(), a->Left() + a->Width() + 2);
  EXPECT_LE(b->Left() + b->Width(), panel->Width() - 1 - 2);
}

TEST_F(DockPanelTest, ExtremeRequestsStayInTheRow) {
  const int far = std::numeric_limits<int>::max(), near = std::numeric_limits<int>::min();
  const int requests[][4] = {{far, 1, 100, 26}, {near, 1, 100, 26}, {3, far, 100, 26},
                             {3, near, 100, 26}, {3, 1, far, 26},   {3, 1, 100, far}};
  for (const auto& r : requests) {
    TDizDockPanel* panel = NewPanel();
    TVivIzizEzu* a = Dock(panel);
    Dock(panel)->SetBounds(200, 1, 100, 26);
    a->SetBounds(r[0], r[1], r[2], r[3]);
    EXPECT_GE(a->Left(), 3);
    EXPECT_LE(a->Left(), panel->Width());
    EXPECT_EQ(a->Top(), RowRect(panel, a->Row()).Top);
    delete panel;
  }
}

TEST_F(DockPanelTest, ShorteningTheOnlyBarIsRefused) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* a = Dock(panel);
  a->Constraints()->SetMinWidth(40);
  a->SetWidth(60);
  EXPECT_EQ(a->Width(), 100);
  TVivIzizEzu* b = Dock(panel);
  b->SetBounds(200, 1, b->Width(), b->Height());
  ASSERT_EQ(panel->Rows()->GetItem(0)->ToolBarCount(), 2);
  a->SetWidth(60);
  EXPECT_EQ(a->Width(), 60);
}

TEST_F(DockPanelTest, RowErrors) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* a = Dock(panel);
  TVivIzizEzu* stranger = NewBar();
  int l = 5, w = 50;
  TRowCollectionItem* row = panel->Rows()->GetItem(0);
  EXPECT_EQ(Message([&] { row->SetToolBarLeftAndWidth(stranger, l, w); }), "Invalid ToolBar Index");
  EXPECT_EQ(l, 5);
  // The other orientation's call returns at once.
  EXPECT_EQ(Message([&] { row->SetToolBarTopAndHeight(stranger, l, w); }), "");
  for (int bad : {-1, 1, 7})
    EXPECT_EQ(Message([&] { panel->Rows()->MoveToolBarToRow(a, bad); }), "Invalid Row Index") << bad;
  EXPECT_EQ(Message([&] { panel->Rows()->MoveToolBarToRow(nullptr, 0); }), "");
  EXPECT_EQ(a->Row(), 0);
  EXPECT_EQ(Message([&] { panel->GetVivIzizEzus(1); }), "Index out of bounds in list read access");
}

// ---- visibility and leaving -------------------------------------------------------------
TEST_F(DockPanelTest, HidingShowingAndFreeing) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* a = Dock(panel);
  TVivIzizEzu* b = Dock(panel);
  ASSERT_EQ(panel->GetRowCount(), 2);
  b->SetVisible(false);
  EXPECT_EQ(panel->GetRowCount(), 1);
  EXPECT_EQ(panel->HiddenToolBars()->IndexOf(b), 0);
  b->SetVisible(true);
  EXPECT_EQ(panel->GetRowCount(), 2);
  EXPECT_EQ(panel->HiddenToolBars()->Count(), 0);
  delete b;
  EXPECT_EQ(panel->GetRowCount(), 1);
  EXPECT_EQ(panel->GetVivIzizEzuCount(), 1);
  a->SetParent(form);
  EXPECT_EQ(panel->GetRowCount(), 0);
  EXPECT_EQ(panel->GetVivIzizEzuCount(), 0);
  EXPECT_EQ(panel->Height(), 3);
}

TEST_F(DockPanelTest, VerticalRowStartsAtTheFarEnd) {
  TDizDockPanel* panel = NewPanel(daLeft);
  auto* bar = new TVivIzizEzu(form);
  bar->SetParent(form);
  bar->SetAutoSizeEx(false);
  bar->Constraints()->SetMinWidth(0);
  bar->Constraints()->SetMaxWidth(0);
  bar->SetBounds(0, 0, 26, 80);
  bar->SetParent(panel);
  EXPECT_FALSE(bar->Horizontal());
  const TRect r = RowRect(panel, 0);
  EXPECT_EQ(r, (TRect{1, 1, 28, panel->Height() - 1}));
  EXPECT_EQ(bar->Left(), 1);
  EXPECT_EQ(bar->Top() + bar->Height(), r.Bottom - 2);
  EXPECT_EQ(panel->Width(), 29);  // the row's right edge + the row margin
}

// ---- persistence ------------------------------------------------------------------------
TEST_F(DockPanelTest, PersistenceOffWritesNothing) {
  const auto dir = std::filesystem::temp_directory_path() / "lorm_dock_persistence";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string ini = (dir / "dock.ini").string();
  {
    TDizDockPanel* panel = NewPanel();
    panel->Persistence()->SetLocation(plIniFile);
    panel->Persistence()->SetKey(ini);
    panel->Persistence()->SetSection("Dock");
    TVivIzizEzu* a = Dock(panel);
    a->SetName("A");
    delete panel;  // Enabled is off
    EXPECT_FALSE(std::filesystem::exists(ini));
  }
  TDizDockPanel* panel = NewPanel();
  panel->Persistence()->SetLocation(plIniFile);
  panel->Persistence()->SetKey(ini);
  panel->Persistence()->SetSection("Dock");
  panel->Persistence()->SetEnabled(true);
  TVivIzizEzu* a = Dock(panel);
  a->SetName("A");
  TVivIzizEzu* b = Dock(panel);
  b->SetName("B");
  panel->SaveToolBarsPosition();
  TIniFile f(ini);
  EXPECT_EQ(f.ReadInteger("Dock", "ToolBarCount", -1), 2);
  EXPECT_EQ(f.ReadInteger("Dock", "RowCount", -1), 2);
  EXPECT_EQ(f.ReadString("Dock", "Name1", ""), "A");
  EXPECT_EQ(f.ReadString("Dock", "Name2", ""), "B");
  EXPECT_EQ(f.ReadInteger("Dock", "B.Row", -1), 1);
  EXPECT_EQ(f.ReadInteger("Dock", "B.Visible", -1), 1);
  std::filesystem::remove_all(dir);
}

TEST_F(DockPanelTest, DockedToolBarsFollowThePanelsPersistence) {
  TDizDockPanel* panel = NewPanel();
  panel->Persistence()->SetLocation(plIniFile);
  panel->Persistence()->SetKey("layout.ini");
  panel->Persistence()->SetSection("Dock");
  TVivIzizEzu* bar = Dock(panel);
  EXPECT_EQ(bar->Persistence()->Location(), plIniFile);
  EXPECT_EQ(bar->Persistence()->Key(), "layout.ini");
  EXPECT_EQ(bar->Persistence()->Section(), "UnDockedVivIzizEzus");
  EXPECT_FALSE(bar->Persistence()->Enabled());
  panel->Persistence()->SetEnabled(true);
  panel->Persistence()->SetKey("other.ini");
  EXPECT_TRUE(bar->Persistence()->Enabled());
  EXPECT_EQ(bar->Persistence()->Key(), "other.ini");
  // Assigning copies without a change notice.
  TPersistence copy(nullptr);
  int changes = 0;
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(panel->Persistence());
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(copy.Key(), "other.ini");
  EXPECT_EQ(copy.Section(), "Dock");
}

TEST_F(DockPanelTest, LoadingRestoresTheSavedRows) {
  const auto dir = std::filesystem::temp_directory_path() / "lorm_dock_restore";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string ini = (dir / "dock.ini").string();
  {
    TIniFile f(ini);
    // Three rows stored, the middle one empty; "b2" differs from B2 only in case; Gone is
    // no tool bar of the form.
    const char* entries[][2] = {{"ToolBarCount", "3"}, {"RowCount", "3"},  {"Name1", "b2"},   {"b2.Row", "0"},
                                {"b2.Left", "3"},      {"Name2", "Gone"},  {"Gone.Row", "1"}, {"Name3", "B1"},
                                {"B1.Row", "2"},       {"B1.Left", "150"}, {"B1.Visible", "1"}};
    for (auto& e : entries) f.WriteString("Dock", e[0], e[1]);
  }
  const std::string extra = "    Persistence.Location = plIniFile\n    Persistence.Key = '" + ini +
                            "'\n    Persistence.Section = 'Dock'\n    Persistence.Enabled = True\n";
  ReadComponentFromText(DockForm(BarText("B1", 3, 1) + BarText("B2", 100, 1) + BarText("B3", 3, 40), extra), form);
  auto* panel = static_cast<TDizDockPanel*>(form->FindComponent("Dock"));
  auto* b1 = static_cast<TVivIzizEzu*>(form->FindComponent("B1"));
  auto* b2 = static_cast<TVivIzizEzu*>(form->FindComponent("B2"));
  auto* b3 = static_cast<TVivIzizEzu*>(form->FindComponent("B3"));
  ASSERT_TRUE(panel && b1 && b2 && b3);
  // The empty middle row went; B3, not named, got a row of its own after the named ones.
  ASSERT_EQ(panel->GetRowCount(), 3);
  EXPECT_EQ(b2->Row(), 0);
  EXPECT_EQ(b1->Row(), 1);
  EXPECT_EQ(b3->Row(), 2);
  EXPECT_EQ(b1->Left(), 150);
  EXPECT_LT(b2->Top(), b1->Top());
  // A damaged store: huge counts neither hang nor make rows.
  {
    TIniFile f(ini);
    f.WriteString("Dock", "ToolBarCount", "2000000000");
    f.WriteString("Dock", "RowCount", "2000000000");
  }
  auto* again = new TDizDockPanel(form);
  again->Persistence()->Assign(panel->Persistence());
  again->SetParent(form);
  ASSERT_NO_THROW(again->LoadToolBarsPosition());
  EXPECT_LE(again->GetRowCount(), 11);
  std::filesystem::remove_all(dir);
}

// ---- styler and painting ----------------------------------------------------------------
TEST_F(DockPanelTest, StylerLinkAndFlatDockColour) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = Dock(panel);
  bar->SetParentStyler(true);
  auto* styler = new TVivIzizEzuOfficeStyler(form);
  styler->SetToolBarStyle(bsOffice2007Luna);
  panel->SetToolBarStyler(styler);
  EXPECT_EQ(panel->StylerInForce(), styler);
  EXPECT_EQ(bar->StylerInForce(), styler);
  styler->DockColor()->SetColor(TColor(0x123456));
  styler->DockColor()->SetColorTo(clNone);
  panel->Repaint();
  TColor c = clNone;
  ASSERT_TRUE(panel->DockPixel(panel->Width() - 2, 0, true, c));
  EXPECT_EQ(c, TColor(0x123456));
  EXPECT_FALSE(panel->DockPixel(-1, 0, true, c));
  delete styler;
  EXPECT_EQ(panel->StylerInForce(), panel->InternalStyler());
  EXPECT_EQ(panel->ToolBarStyler(), nullptr);
}

}  // namespace
