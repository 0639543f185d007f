// The track bar, memo and image picker drop-downs, and pictures of their pop-ups with
// strips and hot or pressed buttons in several looks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editors/DizButton.h"
#include "editors/DizImagePickerDropDown.h"
#include "editors/DizMemoDropDown.h"
#include "editors/DizTrackBarDropDown.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"

using namespace DizDropDown;

namespace {

class PickerTest : public ::testing::Test {
protected:
  PickerTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 420, 300);
    form->Show();
  }
  ~PickerTest() override { Application->Restart(); }

  template <class T>
  T* New(int top = 20) {
    auto* d = new T(form);
    d->SetParent(form);
    d->SetBounds(20, top, 200, 21);
    return d;
  }
  static void Key(TWinControl* c, WORD vk) { SendMessage(c->Handle(), WM_KEYDOWN, vk, 0); }

  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
};

// ---- track bar -------------------------------------------------------------------------------

TEST_F(PickerTest, TrackBarKeysAndRange) {
  auto* d = New<TDizTrackBarDropDown>();
  EXPECT_FALSE(d->EditorEnabled());
  EXPECT_FALSE(d->DropDownHeader()->Visible);
  d->SetPosition(8);
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    Key(d, VK_DOWN);
    seen.push_back(d->Position());
  }
  EXPECT_EQ(seen, (std::vector<int>{9, 10, 10, 10}));
  EXPECT_EQ(d->Text(), "10");
  Key(d, VK_UP);
  EXPECT_EQ(d->Position(), 9);
  d->SetPosition(15);
  EXPECT_EQ(d->Position(), 10);
  d->SetPosition(-3);
  EXPECT_EQ(d->Position(), 0);
}

TEST_F(PickerTest, TrackBarDragOverTheEdit) {
  auto* d = New<TDizTrackBarDropDown>();
  d->SetMax(100);
  d->SetPosition(10);
  HWND h = d->Handle();
  robot.MouseDown(h, 20, 5);
  robot.MoveTo(h, 27, 5);  // 7 pixels, 2 per unit: +3
  EXPECT_EQ(d->Position(), 13);
  robot.MoveTo(h, 28, 5);  // one pixel: nothing, but the start moves on
  robot.MoveTo(h, 29, 5);
  EXPECT_EQ(d->Position(), 13);
  robot.MouseUp(h, 29, 5);
  // A page size of 0 steps one unit per pixel instead of dividing by zero.
  d->SetPageSize(0);
  robot.MouseDown(h, 20, 5);
  robot.MoveTo(h, 25, 5);
  robot.MouseUp(h, 25, 5);
  EXPECT_EQ(d->Position(), 18);
}

TEST_F(PickerTest, TrackBarIgnoresTextThatIsNoNumber) {
  auto* d = New<TDizTrackBarDropDown>();
  d->SetPosition(4);
  EXPECT_NO_THROW(d->SetTextDirect("x7"));
  EXPECT_EQ(d->Position(), 4);
  d->SetTextDirect("6");
  EXPECT_EQ(d->Position(), 6);
}

TEST_F(PickerTest, TrackBarMovesShowAndAClickOutsideKeeps) {
  auto* d = New<TDizTrackBarDropDown>();
  int changes = 0;
  d->OnTrackChange = [&](TObject*) { ++changes; };
  d->ShowDropDown();
  ASSERT_TRUE(d->DroppedDown());
  EXPECT_EQ(d->Control(), d->TrackBar());
  SendMessage(d->TrackBar()->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  SendMessage(d->TrackBar()->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(d->Position(), 2);
  EXPECT_EQ(d->Text(), "2");
  EXPECT_EQ(changes, 2);
  robot.Click(form->Handle(), 300, 250);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->Position(), 2);
  EXPECT_EQ(d->Text(), "2");
}

// ---- memo --------------------------------------------------------------------------------------

TEST_F(PickerTest, MemoShowsTheFirstLine) {
  auto* d = New<TDizMemoDropDown>();
  d->MemoText()->Add("Alpha");
  d->MemoText()->Add("Beta");
  EXPECT_EQ(d->Text(), "Alpha...");
  d->MemoText()->Clear();
  d->MemoText()->Add(std::string(80, 'W'));
  std::string shown = d->Text();
  EXPECT_LT(shown.size(), 80u);
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  // Typing replaces the whole text.
  d->SetTextDirect("one line");
  EXPECT_EQ(d->MemoText()->Count(), 1);
  EXPECT_EQ(d->MemoText()->Strings(0), "one line");
}

TEST_F(PickerTest, MemoEscRestoresF4Keeps) {
  auto* d = New<TDizMemoDropDown>();
  d->MemoText()->Add("Alpha");
  d->MemoText()->Add("Beta");
  d->ShowDropDown();
  TMemo* m = d->Memo();
  ASSERT_EQ(d->Control(), m);
  EXPECT_EQ(m->Lines()->Count(), 2);
  m->Lines()->Add("Gamma");
  WORD esc = VK_ESCAPE;
  d->OnDropDownControlKeyDown(m, esc, {});
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->MemoText()->Count(), 2);
  EXPECT_EQ(d->Text(), "Alpha...");
  d->ShowDropDown();
  m->Lines()->Add("Gamma");
  // Other keys stay in the memo; Ctrl+A selects all of it.
  WORD enter = VK_RETURN;
  d->OnDropDownControlKeyDown(m, enter, {});
  EXPECT_TRUE(d->DroppedDown());
  WORD a = 'A';
  d->OnDropDownControlKeyDown(m, a, {ssCtrl});
  EXPECT_EQ(m->SelLength(), int(m->Text().size()));
  WORD f4 = VK_F4;
  d->OnDropDownControlKeyDown(m, f4, {});
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->MemoText()->Count(), 3);
  EXPECT_EQ(d->MemoText()->Strings(2), "Gamma");
}

// ---- image picker ------------------------------------------------------------------------------

TDizImagePickerDropDown* Picker(PickerTest*, TForm* form, std::initializer_list<const char*> captions) {
  auto* d = new TDizImagePickerDropDown(form);
  d->SetParent(form);
  d->SetBounds(20, 20, 200, 24);
  for (const char* c : captions) d->Items()->Add()->SetCaption(c);
  return d;
}

TEST_F(PickerTest, ImagePickerKeysByColumns) {
  auto* d = Picker(this, form, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
  d->SetColumns(4);
  d->SetItemIndex(5);
  int selects = 0;
  d->OnSelect = [&](TObject*) { ++selects; };
  d->ShowDropDown();
  ASSERT_TRUE(d->DroppedDown());
  Key(d, VK_UP);
  EXPECT_EQ(d->ItemIndex(), 1);
  EXPECT_TRUE(d->DroppedDown());
  Key(d, VK_UP);  // 1 - 4: nothing
  EXPECT_EQ(d->ItemIndex(), 1);
  Key(d, VK_DOWN);
  Key(d, VK_DOWN);
  EXPECT_EQ(d->ItemIndex(), 9);
  // Esc restores the item chosen at opening.
  Key(d, VK_ESCAPE);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->ItemIndex(), 5);
  EXPECT_EQ(selects, 4);
  // Closed: Up and Down step by one; the wheel moves the selector's selection.
  Key(d, VK_DOWN);
  EXPECT_EQ(d->ItemIndex(), 6);
  // The wheel over the closed control moves the selector's selection (left at 9 by the
  // opening) without opening.
  robot.Wheel(d->Handle(), 5, 5, -1);
  EXPECT_EQ(d->ItemIndex(), 10);
  EXPECT_FALSE(d->DroppedDown());
}

TEST_F(PickerTest, ImagePickerWheelBeforeTheFirstOpeningChangesNothing) {
  auto* d = Picker(this, form, {"a", "b", "c"});
  d->SetItemIndex(1);
  robot.Wheel(d->Handle(), 5, 5, -1);
  EXPECT_EQ(d->ItemIndex(), 1);
}

TEST_F(PickerTest, ImagePickerTypedLookup) {
  auto* d = Picker(this, form, {"Alpha", "Kilo", "KLM", "Lima", "Эхо"});
  d->ShowDropDown();
  robot.Type("k");
  robot.Type("l");
  EXPECT_EQ(d->LookupText(), "KL");
  EXPECT_EQ(d->ItemIndex(), 2);
  Headless().Advance(600);
  Headless().Pump();
  EXPECT_EQ(d->LookupText(), "");
  robot.Type("l");
  EXPECT_EQ(d->LookupText(), "L");
  EXPECT_EQ(d->ItemIndex(), 3);
  // Shift and function keys add nothing; Cyrillic letters arrive as typed.
  Headless().Advance(600);
  Headless().Pump();
  robot.PressKey(VK_SHIFT);
  robot.PressKey(VK_F5);
  EXPECT_EQ(d->LookupText(), "");
  SendMessage(d->Handle(), WM_CHAR, WPARAM(U'э'), 0);
  EXPECT_EQ(d->LookupText(), "Э");
  EXPECT_EQ(d->ItemIndex(), 4);
}

TEST_F(PickerTest, ImagePickerImageIndexAndClickPicks) {
  auto* d = Picker(this, form, {"a", "b", "c"});
  for (int i = 0; i < 3; ++i) d->Items()->Items(i)->SetImageIndex(10 + i);
  d->SetImageIndex(11);
  EXPECT_EQ(d->ItemIndex(), 1);
  EXPECT_EQ(d->GetImageIndex(), 11);
  d->SetImageIndex(99);
  EXPECT_EQ(d->ItemIndex(), -1);
  EXPECT_EQ(d->GetImageIndex(), -1);
  d->SetItemIndex(7);  // beyond the items: ignored
  EXPECT_EQ(d->ItemIndex(), -1);
  d->ShowDropDown();
  TCustomItemSelector* p = d->Selector()->Panel();
  TRect r = p->GetItemRect(2);
  robot.Click(p->Handle(), r.Left + 2, r.Top + 2);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->ItemIndex(), 2);
}

TEST_F(PickerTest, ImagePickerFromAFolderOfRealFiles) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("lorm_pick_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  TBitmap bmp;
  bmp.SetWidth(12);
  bmp.SetHeight(10);
  bmp.Canvas()->Brush()->SetColor(0x00FF00);
  bmp.Canvas()->FillRect(TRect{0, 0, 12, 10});
  bmp.SaveToFile((dir / "b.bmp").string());
  TPngImage png;
  png.Assign(&bmp);
  png.SaveToFile((dir / "p.png").string());
  TJPEGImage jpg;
  jpg.Assign(&bmp);
  jpg.SaveToFile((dir / "j.jpg").string());
  std::ofstream((dir / "x.png").string()) << "not a picture";
  std::ofstream((dir / "note.txt").string()) << "skip";
  auto* d = Picker(this, form, {});
  EXPECT_NO_THROW(d->AddImagesFromFolder((dir / "*.*g").string(), true));
  d->AddImagesFromFolder((dir / "*.bmp").string(), false);
  ASSERT_EQ(d->Items()->Count(), 4);
  int empty = 0, full = 0;
  for (int i = 0; i < 4; ++i) {
    TImageItem* it = d->Items()->Items(i);
    TGraphic* g = it->Image()->GetGraphic();
    if (!g || g->GetEmpty()) {
      ++empty;
      EXPECT_EQ(it->Caption(), "x.png");
    } else {
      ++full;
      EXPECT_EQ(g->GetWidth(), 12);
    }
  }
  EXPECT_EQ(empty, 1);
  EXPECT_EQ(full, 3);
  EXPECT_EQ(d->Items()->Items(3)->Caption(), "");
  fs::remove_all(dir);
}

// ---- pictures ----------------------------------------------------------------------------------

void KeepPng(const std::string& name) {
  const char* keep = std::getenv("LORM_KEEP_PNG");
  auto path = (keep ? std::filesystem::path(keep) : std::filesystem::temp_directory_path()) / name;
  EXPECT_TRUE(SaveScreenPng(path.string()));
  if (!keep) std::filesystem::remove(path);
}

void Strips(TDizCustomDropDown* d) {
  d->DropDownHeader()->Visible = true;
  d->DropDownFooter()->Visible = true;
  d->DropDownHeader()->Caption = "<b>Выбор</b>";
  d->DropDownHeader()->Buttons()->Add()->SetCaption("?");
  auto* ok = d->DropDownFooter()->Buttons()->Add();
  ok->SetCaption("OK");
  ok->SetModalResult(1);
  auto* cancel = d->DropDownFooter()->Buttons()->Add();
  cancel->SetCaption("Отмена");
  cancel->SetModalResult(2);
}

TEST_F(PickerTest, PicturesOfEachPopupInFourLooks) {
  form->SetBounds(0, 0, 700, 500);
  const std::pair<DUZERazav, const char*> looks[] = {{tsOffice2007Luna, "luna"},
                                                     {tsWindowsVista, "vista"},
                                                     {tsWindows7, "win7"},
                                                     {tsOffice2003Blue, "blue2003"}};
  for (auto [look, name] : looks) {
    auto* t = New<TDizTrackBarDropDown>(20);
    auto* m = New<TDizMemoDropDown>(50);
    auto* p = Picker(this, form, {"<b>Метан</b>", "Этан", "Пропан", "Бутан", "Азот", "Кислород"});
    p->SetTop(80);
    p->SetColumns(2);
    p->SetItemIndex(1);
    m->MemoText()->Add("Первая строка");
    m->MemoText()->Add("Вторая строка");
    int i = 0;
    for (TDizCustomDropDown* d : std::initializer_list<TDizCustomDropDown*>{t, m, p}) {
      Strips(d);
      d->SetComponentStyle(look);
      d->DropDownWidth = 260;
      if (d != p) d->DropDownHeight = 150;
      d->ShowDropDown();
      // Header button hot, first footer button pressed.
      auto button = [](TWinControl* strip) {
        for (int k = 0; k < strip->ControlCount(); ++k)
          if (auto* b = dynamic_cast<TDizButton*>(strip->Controls(k))) return b;
        return static_cast<TDizButton*>(nullptr);
      };
      TDizButton* hb = button(d->DropDownForm()->Header());
      TDizButton* fb = button(d->DropDownForm()->Footer());
      ASSERT_NE(hb, nullptr);
      ASSERT_NE(fb, nullptr);
      robot.MoveTo(hb->Handle(), 3, 3);
      robot.MouseDown(fb->Handle(), 3, 3);
      Headless().Pump();
      const char* kind[] = {"trackbar", "memo", "imagepicker"};
      KeepPng(std::string("lorm_popup_") + kind[i++] + "_" + name + ".png");
      robot.MouseUp(fb->Handle(), 300, 300);
      d->HideDropDown(true);
    }
    delete t;
    delete m;
    delete p;
  }
}

}  // namespace
