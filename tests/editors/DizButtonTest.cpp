// The strip push buttons (size, faces, modal results, keys, groups), their place in the
// strips, and the looks that SetComponentStyle and the item presets give a drop-down.
#include <gtest/gtest.h>

#include "editors/DizButton.h"
#include "editors/DizDropDownEditor.h"
#include "editors/DizItemSelector.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

using namespace DizDropDown;

namespace {

class ButtonTest : public ::testing::Test {
protected:
  ButtonTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 420, 300);
    form->Show();
  }
  ~ButtonTest() override { Application->Restart(); }

  TDizDropDown* NewDropDown() {
    auto* d = new TDizDropDown(form);
    d->SetParent(form);
    d->SetBounds(20, 20, 200, 21);
    return d;
  }
  template <class Strip>
  static std::vector<TDizButton*> Buttons(Strip* s) {
    std::vector<TDizButton*> v;
    for (int i = 0; i < s->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TDizButton*>(s->Controls(i))) v.push_back(b);
    return v;
  }
  void ClickOn(TControl* c) { robot.Click(static_cast<TWinControl*>(c)->Handle(), c->Width() / 2, c->Height() / 2); }

  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
};

TEST_F(ButtonTest, AutoSizeFromCaptionAndImage) {
  TDizButtonAppearance look;
  auto* b = new TDizButton(form);
  b->SetParent(form);
  EXPECT_EQ(b->Width(), 23);
  EXPECT_EQ(b->Height(), 22);
  b->SetCaption("Закрыть");
  b->SetAutoSizeEx();  // no appearance: unchanged
  EXPECT_EQ(b->Width(), 23);
  b->SetAppearance(&look);
  b->Canvas()->Font()->Assign(look.Font());
  TSize t = GetTextSize(b->Canvas(), "Закрыть");
  b->SetAutoSizeEx();
  EXPECT_EQ(b->Width(), t.cx + 8);
  EXPECT_EQ(b->Height(), t.cy + 4);
  // With a 16-pixel image each side is the larger of text and image: a 30 × 13 caption
  // gives 38 × 20.
  TImageList images(form);
  images.SetWidth(16);
  images.SetHeight(16);
  TBitmap bmp;
  bmp.SetWidth(16);
  bmp.SetHeight(16);
  images.Add(&bmp, nullptr);
  b->SetImages(&images);
  b->SetImageIndex(0);
  b->SetAutoSizeEx();
  EXPECT_EQ(b->Width(), std::max(t.cx, 16) + 8);
  EXPECT_EQ(b->Height(), std::max(t.cy, 16) + 4);
  if (t.cx == 30 && t.cy == 13) EXPECT_EQ(TSize(b->Width(), b->Height()), TSize(38, 20));
}

// Within a gradient band of the colour (each channel off by at most 4).
bool Near(COLORREF a, COLORREF b) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 4) return false;
  return true;
}

TEST_F(ButtonTest, InitialFacesNormalHotAndPressed) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 200, 60);
  panel->SetBevelOuter(bvNone);
  panel->SetColor(0x00FF00);
  TDizButtonAppearance look;
  auto* b = new TDizButton(form);
  b->SetParent(panel);
  b->SetBounds(20, 10, 40, 24);
  b->SetAppearance(&look);
  HWND h = b->Handle();
  Headless().Pump();
  // Normal: no face and no border, the parent's colour shows through.
  EXPECT_EQ(WindowPixel(h, 0, 0), COLORREF(0x00FF00));
  EXPECT_EQ(WindowPixel(h, 20, 12), COLORREF(0x00FF00));
  // Hot: gradient from 0xF5F0E1 down to 0xF9D2B2 with a grey border.
  robot.MoveTo(h, 5, 5);
  Headless().Pump();
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_EQ(WindowPixel(h, 0, 0), COLORREF(0x808080));
  EXPECT_TRUE(Near(WindowPixel(h, 3, 1), 0xF5F0E1));
  EXPECT_TRUE(Near(WindowPixel(h, 3, 22), 0xF9D2B2));
  // Pressed: 0xF5D8CA to 0xF9BDA0 with a navy border.
  robot.MouseDown(h, 5, 5);
  EXPECT_EQ(WindowPixel(h, 0, 0), COLORREF(0x800000));
  EXPECT_TRUE(Near(WindowPixel(h, 3, 1), 0xF5D8CA));
  EXPECT_TRUE(Near(WindowPixel(h, 3, 22), 0xF9BDA0));
  robot.MouseUp(h, 5, 5);
}

TEST_F(ButtonTest, DragOutAndBackDecidesTheClick) {
  TDizButtonAppearance look;
  auto* b = new TDizButton(form);
  b->SetParent(form);
  b->SetBounds(20, 10, 40, 24);
  b->SetAppearance(&look);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  HWND h = b->Handle();
  robot.MouseDown(h, 5, 5);
  robot.MoveTo(h, 100, 5);
  robot.MouseUp(h, 100, 5);
  EXPECT_EQ(clicks, 0);
  Headless().Advance(1000);  // not a double click
  robot.MouseDown(h, 5, 5);
  robot.MoveTo(h, 100, 5);
  robot.MoveTo(h, 6, 6);
  robot.MouseUp(h, 6, 6);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, GroupsAndAllowAllUp) {
  auto* a = new TDizButton(form);
  auto* b = new TDizButton(form);
  a->SetParent(form);
  b->SetParent(form);
  // Group 0 plain buttons are never down.
  a->SetDown(true);
  EXPECT_FALSE(a->Down());
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetDown(true);
  EXPECT_TRUE(a->Down());
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  // Without AllowAllUp the down button stays down.
  b->SetDown(false);
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());  // the group follows
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
  // A check button toggles on every click.
  auto* c = new TDizButton(form);
  c->SetParent(form);
  c->SetBounds(100, 10, 30, 20);
  c->SetStyle(tasCheck);
  ClickOn(c);
  EXPECT_TRUE(c->Down());
  ClickOn(c);
  EXPECT_FALSE(c->Down());
}

TEST_F(ButtonTest, FooterModalResultsCloseThePopup) {
  TDizDropDown* d = NewDropDown();
  for (int mr : {2, 1, 4}) d->DropDownFooter()->Buttons()->Add()->SetModalResult(mr);
  d->DropDownFooter()->Buttons()->Items(0)->SetCaption("Cancel");
  d->DropDownFooter()->Buttons()->Items(1)->SetCaption("OK");
  d->DropDownFooter()->Buttons()->Items(2)->SetCaption("Retry");
  d->DropDownHeight = 120;
  std::vector<int> clicked;
  d->OnDropDownFooterButtonClick = [&](TObject* s, int i) {
    EXPECT_EQ(s, d);
    clicked.push_back(i);
  };
  std::vector<bool> ups;
  d->OnDropUp = [&](TObject*, bool cancelled) { ups.push_back(cancelled); };
  auto button = [&](int i) {
    auto v = Buttons(d->DropDownForm()->Footer());
    EXPECT_EQ(v.size(), 3u);
    return v.at(size_t(i));
  };
  d->ShowDropDown();
  ClickOn(button(2));  // Retry: event, stays open
  EXPECT_TRUE(d->DroppedDown());
  EXPECT_EQ(clicked, std::vector<int>{2});
  ClickOn(button(0));  // Cancel
  EXPECT_FALSE(d->DroppedDown());
  d->ShowDropDown();
  ClickOn(button(1));  // OK
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(ups, (std::vector<bool>{true, false}));
  EXPECT_EQ(clicked, (std::vector<int>{2, 0, 1}));
  // Enter on a focused OK button closes accepted without the click event.
  d->ShowDropDown();
  TDizButton* ok = button(1);
  ok->SetFocus();
  SendMessage(ok->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(ups.back(), false);
  EXPECT_EQ(clicked.size(), 3u);
}

TEST_F(ButtonTest, HeaderButtonsStackFromTheRightAndFitTheStrip) {
  TDizDropDown* d = NewDropDown();
  int clicked = -1;
  d->OnDropDownHeaderButtonClick = [&](TObject*, int i) { clicked = i; };
  for (const char* c : {"A", "B", "C"}) d->DropDownHeader()->Buttons()->Add()->SetCaption(c);
  d->DropDownHeader()->Buttons()->Items(1)->SerHeight(40);
  d->DropDownHeader()->Buttons()->Items(2)->SetWidth(30);
  auto* f = d->DropDownFooter()->Buttons()->Add();
  f->SerHeight(40);
  d->DropDownWidth = 240;
  d->DropDownHeight = 120;
  d->ShowDropDown();
  TDizHeader* h = d->DropDownForm()->Header();
  auto v = Buttons(h);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0]->Left() + v[0]->Width(), h->Width() - 2);
  EXPECT_EQ(v[1]->Left() + v[1]->Width(), v[0]->Left());
  EXPECT_EQ(v[2]->Left() + v[2]->Width(), v[1]->Left());
  EXPECT_EQ(v[2]->Width(), 30);
  // A 22-pixel header leaves 17 pixels for a button, the footer 18.
  EXPECT_EQ(v[1]->Height(), 17);
  EXPECT_EQ(Buttons(d->DropDownForm()->Footer()).at(0)->Height(), 18);
  EXPECT_EQ(h->GetButtonsCoveredRect().Right, v[2]->Left() - 2);
  ClickOn(v[1]);
  EXPECT_EQ(clicked, 1);
  EXPECT_TRUE(d->DroppedDown());
  d->HideDropDown(true);
  // baLeft stacks from the left edge.
  d->DropDownHeader()->ButtonAlignment = baLeft;
  d->ShowDropDown();
  v = Buttons(h);
  EXPECT_EQ(v[0]->Left(), 2);
  EXPECT_EQ(v[1]->Left(), v[0]->Left() + v[0]->Width());
}

TEST_F(ButtonTest, ATransparentButtonShowsItsStrip) {
  TDizDropDown* d = NewDropDown();
  d->DropDownHeader()->Color = 0x00FF00;
  d->DropDownHeader()->ColorTo = clNone;
  d->DropDownHeader()->Buttons()->Add()->SetWidth(30);
  d->DropDownWidth = 200;
  d->DropDownHeight = 100;
  d->ShowDropDown();
  Headless().Pump();
  auto v = Buttons(d->DropDownForm()->Header());
  ASSERT_EQ(v.size(), 1u);
  // The strip paints itself into the button's context, moved to the button's place.
  EXPECT_EQ(WindowPixel(v[0]->Handle(), 2, 2), COLORREF(0x00FF00));
  EXPECT_EQ(WindowPixel(v[0]->Handle(), v[0]->Width() - 2, v[0]->Height() - 2), COLORREF(0x00FF00));
}

// ---- looks -------------------------------------------------------------------------------------

TEST_F(ButtonTest, ComponentStylePopupAndStrips) {
  TDizDropDown* d = NewDropDown();
  d->DropDownBorderColor = 0x123456;
  d->SetComponentStyle(tsOffice2003Blue);
  EXPECT_EQ(d->GetComponentStyle(), tsOffice2003Blue);
  EXPECT_EQ(d->DropDownBorderColor, TColor(0x123456));
  EXPECT_EQ(d->DropDownColor, TColor(0xFFFFFF));
  EXPECT_EQ(d->DropDownColorTo, clNone);
  EXPECT_EQ(d->DropDownHeader()->BorderColor, TColor(0x000000));
  EXPECT_EQ(d->DropDownFooter()->BorderColor, TColor(0x962D00));
  EXPECT_EQ(d->DropDownHeader()->Color, TColor(0xFCE1CB));
  EXPECT_EQ(d->DropDownFooter()->ColorTo, TColor(0xE0A57D));

  d->SetComponentStyle(tsWindowsVista);
  EXPECT_EQ(d->DropDownBorderColor, TColor(0x979797));
  EXPECT_EQ(d->DropDownHeader()->Color, TColor(0xFFFDF9));
  EXPECT_EQ(d->DropDownHeader()->ColorTo, TColor(0xFFFAF0));
  EXPECT_EQ(d->DropDownFooter()->Color, TColor(0xFFFAF0));
  EXPECT_EQ(d->DropDownFooter()->ColorTo, TColor(0xFFFDF9));

  // Rows of the table: pop-up colours, strip colour pair, font and border.
  struct Row {
    DUZERazav s;
    TColor dd, ddTo, border, color, colorTo, font, stripBorder;
  };
  const Row rows[] = {
      {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
      {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF},
      {tsOffice2007Obsidian, 0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C},
      {tsWhidbey, 0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00},
      {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F},
      {tsWindows7, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8},
      {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, 0x000000, clNone},
  };
  for (const Row& r : rows) {
    d->SetComponentStyle(r.s);
    EXPECT_EQ(d->DropDownColor, r.dd) << r.s;
    EXPECT_EQ(d->DropDownColorTo, r.ddTo) << r.s;
    EXPECT_EQ(d->DropDownBorderColor, r.border) << r.s;
    for (TStripAppearance* a : {static_cast<TStripAppearance*>(d->DropDownHeader()),
                                static_cast<TStripAppearance*>(d->DropDownFooter())}) {
      EXPECT_EQ(a->Color, r.color) << r.s;
      EXPECT_EQ(a->ColorTo, r.colorTo) << r.s;
      EXPECT_EQ(a->Font()->GetColor(), r.font) << r.s;
      EXPECT_EQ(a->BorderColor, r.stripBorder) << r.s;
    }
  }
  // tsCustom is remembered and changes nothing.
  d->SetComponentStyle(tsOffice2007Luna);
  d->SetComponentStyle(tsCustom);
  EXPECT_EQ(d->GetComponentStyle(), tsCustom);
  EXPECT_EQ(d->DropDownColor, TColor(0xF3E5DA));
  EXPECT_EQ(d->ButtonAppearance()->ColorTo(), TColor(0xFFDDC4));
}

TEST_F(ButtonTest, ComponentStyleButtonColoursRaiseChanges) {
  TDizDropDown* d = NewDropDown();
  int changes = 0;
  d->ButtonAppearance()->OnChange = [&](TObject*) { ++changes; };
  struct Row {
    DUZERazav s;
    TColor color, colorTo, border, hot, hotTo, borderHot, down, downTo, borderDown, checked, borderChecked;
  };
  const Row rows[] = {
      {tsOffice2003Blue, 0xFCE1CB, 0xE0A57D, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE,
       0x76AFF1, 0x45667B},
      {tsOffice2003Classic, 0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080,
       0xD8D5D4, 0x808080},
      {tsWindowsXP, 0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption,
       clInactiveCaption, clHighlight, 0xB9D8DC, 0x000000},
      {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A,
       0xFEF9F0, 0xFEDF9A},
      {tsWindows7, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D,
       0xFEF9F0, 0xCEA27D},
      {tsTerminal, clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080,
       clBtnFace, clHighlight},
  };
  for (const Row& r : rows) {
    d->SetComponentStyle(r.s);
    TDizButtonAppearance* a = d->ButtonAppearance();
    EXPECT_EQ(a->Color(), r.color) << r.s;
    EXPECT_EQ(a->ColorTo(), r.colorTo) << r.s;
    EXPECT_EQ(a->BorderColor(), r.border) << r.s;
    EXPECT_EQ(a->ColorHot(), r.hot) << r.s;
    EXPECT_EQ(a->ColorHotTo(), r.hotTo) << r.s;
    EXPECT_EQ(a->BorderColorHot(), r.borderHot) << r.s;
    EXPECT_EQ(a->ColorDown(), r.down) << r.s;
    EXPECT_EQ(a->ColorDownTo(), r.downTo) << r.s;
    EXPECT_EQ(a->BorderColorDown(), r.borderDown) << r.s;
    EXPECT_EQ(a->ColorChecked(), r.checked) << r.s;
    EXPECT_EQ(a->BorderColorChecked(), r.borderChecked) << r.s;
  }
  EXPECT_GT(changes, 0);
}

TEST_F(ButtonTest, SelectionPresetsAndItemLooks) {
  TDizDropDown* d = NewDropDown();
  EXPECT_EQ(d->SelectionColorStyle(), scOffice2007);
  EXPECT_EQ(d->SelectionColor, TColor(0xD7FFFD));
  EXPECT_EQ(d->SelectionColorTo, TColor(0x58D4FC));
  d->SetSelectionColorStyle(scWindows7);
  EXPECT_EQ(d->SelectionColor, TColor(0xFCEBDC));
  d->SetSelectionColorStyle(scWindowsVista);
  EXPECT_EQ(d->SelectionColorTo, TColor(0xFCEFD5));
  d->SetSelectionColor(0x0000FF);
  d->SetSelectionColorStyle(scCustom);
  EXPECT_EQ(d->SelectionColor, TColor(0x0000FF));
  // scCustom paints a plain fill of SelectionColor.
  TBitmap bmp;
  bmp.SetWidth(20);
  bmp.SetHeight(20);
  d->DrawSelectionBackground(bmp.Canvas(), TRect{0, 0, 20, 20}, clWhite, 0);
  EXPECT_EQ(bmp.Canvas()->GetPixel(10, 10), TColor(0x0000FF));

  TItemAppearance a(nullptr);
  a.ColorHotText = 0x00FF00;
  a.ColorSelectedText = 0x00FF00;
  a.ColorHot = 0x111111;
  d->SetAppearanceStyle(&a, tsCustom);
  EXPECT_EQ(a.ColorHotText, TColor(0));
  EXPECT_EQ(a.ColorSelectedText, TColor(0));
  EXPECT_EQ(a.ColorHot, TColor(0x111111));
  d->SetAppearanceStyle(&a, tsOffice2003Blue);
  EXPECT_EQ(a.ColorMirrorHot, TColor(0x59DAFF));
  EXPECT_EQ(a.BorderColorTop, clNone);
  d->SetAppearanceStyle(&a, tsOffice2007Luna);
  EXPECT_EQ(a.BorderColorTop, TColor(0xF4FEFF));
  EXPECT_EQ(a.EdgeColor, TColor(0xC3D9DF));
  d->SetAppearanceStyle(&a, tsWindowsXP);
  EXPECT_EQ(a.ColorSelected, clHighlight);
  EXPECT_EQ(a.ColorSelectedText, clHighlightText);
  d->SetAppearanceStyle(&a, tsWindows7);
  EXPECT_EQ(a.ColorSelectedTo, TColor(0xFCDBC1));
  EXPECT_EQ(a.EdgeColor, TColor(0xE0C5AE));
}

}  // namespace
