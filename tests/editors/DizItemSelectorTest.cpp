// The item selector: cell size per layout, layout in rows, navigation, disabled items, the
// typed lookup, the visible count, scrolling into view, mouse and the item presets.
#include <gtest/gtest.h>

#include "editors/DizItemSelector.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Forms.h"

using namespace DizDropDown;

namespace {

class SelectorTest : public ::testing::Test {
protected:
  SelectorTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 420, 300);
    form->Show();
    images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    TBitmap bmp;
    bmp.SetWidth(16);
    bmp.SetHeight(16);
    bmp.Canvas()->Brush()->SetColor(0x0000FF);
    bmp.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images->Add(&bmp, nullptr);
  }
  ~SelectorTest() override { Application->Restart(); }

  TDizCustomItemSelector* NewSelector(std::initializer_list<const char*> captions, bool withImages = false) {
    auto* s = new TDizCustomItemSelector(form);
    s->SetParent(form);
    s->SetBounds(10, 10, 300, 200);
    for (const char* c : captions) {
      TSelectorItem* it = s->Items()->Add();
      it->SetCaption(c);
      if (withImages) it->SetImageIndex(0);
    }
    if (withImages) s->SetImages(images);
    s->UpdateSelectorPanel();
    return s;
  }

  THeadlessScope scope;
  TForm* form = nullptr;
  TImageList* images = nullptr;
  TRobot robot;
};

TEST_F(SelectorTest, CellSizeFromCaptionsAndImages) {
  // Caption only: 2 × 4 + (text width + 4), text height + 8.
  TDizCustomItemSelector* text = NewSelector({"Метан", "Пропан-бутан"});
  TSize t = text->Panel()->GetItemSize();
  int tw4 = t.cx - 8, th = t.cy - 8;
  ASSERT_GT(tw4, 4);
  // With 16-pixel images and the caption at the right: 4 + 16 + 4 + (tw + 4) + 4 by
  // max(th, 16) + 8; for a 40 × 13 caption that is 72 × 24.
  TDizCustomItemSelector* s = NewSelector({"Метан", "Пропан-бутан"}, true);
  TSize c = s->Panel()->GetItemSize();
  EXPECT_EQ(c.cx, 4 + 16 + 4 + tw4 + 4);
  EXPECT_EQ(c.cy, std::max(th, 16) + 8);
  // Above or below: the wider of text and image, heights stacked with the gap.
  s->SetItemLayout(ilCaptionBottom);
  c = s->Panel()->GetItemSize();
  EXPECT_EQ(c.cx, std::max(tw4, 16) + 8);
  EXPECT_EQ(c.cy, 8 + 16 + 4 + th);
  // Colour boxes: 14 × 14 without captions.
  TDizCustomItemSelector* colours = NewSelector({"", ""});
  colours->SetSelectorType(stColor);
  c = colours->Panel()->GetItemSize();
  EXPECT_EQ(c.cx, 8 + 14);
  EXPECT_EQ(c.cy, 8 + 14);
  // The size event wins.
  colours->OnItemSize = [](TObject*, TSize& sz) { sz = TSize{50, 30}; };
  EXPECT_EQ(colours->Panel()->GetItemSize(), TSize(50, 30));
}

TEST_F(SelectorTest, RowsColumnsAndTheEmptyPanel) {
  TDizCustomItemSelector* empty = NewSelector({});
  EXPECT_EQ(empty->GetItemPanelSize(), TSize(100, 50));
  EXPECT_EQ(empty->GetVisibleItemCount(), 0);

  TDizCustomItemSelector* s = NewSelector({"a", "b", "c", "d", "e"}, true);
  TSize cell = s->Panel()->GetItemSize();
  s->SetColumns(2);
  EXPECT_EQ(s->GetItemPanelSize(), TSize(2 * cell.cx + 4, 3 * cell.cy + 4));
  EXPECT_EQ(s->Panel()->GetItemRect(3), TRect(2 + cell.cx, 2 + cell.cy, 2 + 2 * cell.cx, 2 + 2 * cell.cy));
  EXPECT_EQ(s->Panel()->GetItemRect(5), TRect(-1, -1, -1, -1));
  s->SetColumns(0);
  EXPECT_EQ(s->Columns(), 2);
  EXPECT_EQ(s->Panel()->ItemAtPos(2 + cell.cx, 2 + cell.cy), 3);
  EXPECT_EQ(s->Panel()->ItemAtPos(2 + 2 * cell.cx, 2), -1);
  // 200 pixels show 200 div cell height rows of two.
  EXPECT_EQ(s->GetVisibleItemCount(), 200 / cell.cy * 2);
}

TEST_F(SelectorTest, VisibleCountBeforeTheFirstLayoutIsZero) {
  auto* s = new TDizCustomItemSelector(form);
  s->SetParent(form);
  s->Items()->Add()->SetCaption("x");  // added, not laid out: the cell has no height
  EXPECT_EQ(s->GetVisibleItemCount(), 0);
}

TEST_F(SelectorTest, PanelNeedsAHost) {
  try {
    TCustomItemSelector p(form);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid parent");
  }
}

TEST_F(SelectorTest, NavigationSelectionEventsAndDisabledItems) {
  TDizCustomItemSelector* s = NewSelector({"a", "b", "c", "d"});
  int selects = 0;
  s->OnItemSelect = [&](TObject* sender) {
    EXPECT_EQ(sender, s);
    ++selects;
  };
  s->SelectNext();
  EXPECT_EQ(s->GetItemIndex(), 0);
  s->SetItemIndex(0);  // again: notifies again
  EXPECT_EQ(selects, 2);
  s->Items()->Items(2)->SetEnabled(false);
  s->SelectNext();
  s->SelectNext();  // stops in front of the disabled item
  EXPECT_EQ(s->GetItemIndex(), 1);
  s->SetItemIndex(2);
  EXPECT_EQ(s->GetItemIndex(), 1);
  s->SelectLast();
  EXPECT_EQ(s->GetItemIndex(), 3);
  s->SelectPrevious();
  EXPECT_EQ(s->GetItemIndex(), 3);
  s->HotNext();
  EXPECT_EQ(s->GetItemHot(), 0);
  s->SelectFirst();
  EXPECT_EQ(s->GetItemIndex(), 0);
  // Mouse: a press selects, a move makes hot, the disabled item is neither.
  HWND p = s->Panel()->Handle();
  TRect r1 = s->Panel()->GetItemRect(1), r2 = s->Panel()->GetItemRect(2);
  robot.MoveTo(p, r1.Left + 3, r1.Top + 3);
  EXPECT_EQ(s->GetItemHot(), 1);
  robot.MoveTo(p, r2.Left + 3, r2.Top + 3);
  EXPECT_EQ(s->GetItemHot(), -1);
  robot.Click(p, r2.Left + 3, r2.Top + 3);
  EXPECT_EQ(s->GetItemIndex(), 0);
  robot.Click(p, r1.Left + 3, r1.Top + 3);
  EXPECT_EQ(s->GetItemIndex(), 1);
}

TEST_F(SelectorTest, LookupByThePlainUpperCasedCaption) {
  TDizCustomItemSelector* s = NewSelector({"Alpha", "  <b>Re</b>d", "Reed", "<i>эфир</i>"});
  EXPECT_TRUE(s->LookupItem("RE"));
  EXPECT_EQ(s->GetItemIndex(), 1);
  s->SetItemIndex(0);
  EXPECT_FALSE(s->LookupItem("re"));
  EXPECT_EQ(s->GetItemIndex(), 0);
  EXPECT_TRUE(s->LookupItem("ЭФ"));
  EXPECT_EQ(s->GetItemIndex(), 3);
}

TEST_F(SelectorTest, ScrollsTheChosenCellIntoView) {
  std::vector<std::string> names;
  auto* s = new TDizCustomItemSelector(form);
  s->SetParent(form);
  s->SetBounds(10, 10, 200, 100);
  for (int i = 0; i < 40; ++i) s->Items()->Add()->SetCaption("Item " + std::to_string(i));
  s->UpdateSelectorPanel();
  Headless().Pump();
  ASSERT_TRUE(s->VertScrollBar()->IsScrollBarVisible());
  s->SetItemIndex(30);
  TRect r = s->Panel()->GetItemRect(30);
  int bottom = r.Bottom + s->Panel()->Top();
  EXPECT_EQ(bottom, s->ClientHeight());
  s->SetItemIndex(2);
  EXPECT_EQ(s->Panel()->GetItemRect(2).Top + s->Panel()->Top(), 0);
}

TEST_F(SelectorTest, ItemLookPresetsAndAssign) {
  TItemAppearance a(nullptr), b(nullptr);
  EXPECT_EQ(a.ColorStyle(), scOffice2007);
  EXPECT_EQ(a.ColorSelected, TColor(0xA6FFFB));
  EXPECT_EQ(a.ColorMirrorSelectedTo, TColor(0x68E3F9));
  a.SetColorStyle(scWindowsVista);
  EXPECT_EQ(a.ColorHot, TColor(0xFDF8F1));
  EXPECT_EQ(a.ColorMirrorHot, clNone);
  a.ColorHot = 0x123456;
  a.SetColorStyle(scWindowsVista);  // unchanged style: nothing reloads
  EXPECT_EQ(a.ColorHot, TColor(0x123456));
  a.SetColorStyle(scCustom);
  EXPECT_EQ(a.ColorHot, TColor(0x123456));
  // Assign copies the colours, then takes the source's preset: b's style differed, so
  // the Windows 7 preset is reloaded over the copy.
  TItemAppearance c(nullptr);
  c.SetColorStyle(scWindows7);
  c.ColorHot = 0x00FF00;
  c.ColorHotText = 0x0000FF;
  b.Assign(&c);
  EXPECT_EQ(b.ColorStyle(), scWindows7);
  EXPECT_EQ(b.ColorHot, TColor(0xFCEBDC));
  EXPECT_EQ(b.ColorHotText, TColor(0x0000FF));
}

TEST_F(SelectorTest, HotCellWithoutTopBorderIsAPlainGradient) {
  TDizCustomItemSelector* s = NewSelector({"Alpha", "Beta"}, true);
  TItemAppearance* a = s->ItemAppearance();
  a->BorderColorTop = clNone;
  a->ColorHot = 0x00FFFF;
  a->ColorHotTo = clNone;
  a->BorderColor = 0x0000FF;
  HWND p = s->Panel()->Handle();
  TRect r = s->Panel()->GetItemRect(1);
  robot.MoveTo(p, r.Left + 2, r.Top + 2);
  Headless().Pump();
  EXPECT_EQ(WindowPixel(p, r.Left, r.Top), COLORREF(0x0000FF));
  EXPECT_EQ(WindowPixel(p, r.Right - 3, r.Top + 2), COLORREF(0x00FFFF));
}

}  // namespace
