// Tests of the tool bar customizer: the recorded and the user's INI sections, applying and
// resetting them, hostile names, parked controls, safe saving and the INI file's path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "menus/DovAvarOrodez.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "toolbar/VivIzizEzuCustomizer.h"

namespace {

namespace fs = std::filesystem;
using namespace VivIzizEzu;

class CustomizerTest : public ::testing::Test {
protected:
  CustomizerTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetName("CustForm");
    form->SetBounds(0, 0, 600, 200);
    dir = fs::temp_directory_path() /
          ("lorm_customizer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    ini = (dir / "layout.ini").string();
    bar = new TVivIzizEzu(form);
    bar->SetName("Bar");
    bar->SetParent(form);
    bar->SetCaption("Tools");
    btn = new TVivIzizEzuButton(form);
    btn->SetName("Btn1");
    btn->SetParent(bar);
    btn->SetCaption("One");
    btn->SetHint("First");
    btn->SetImageIndex(1);
    sep = new TVivIzizEzuSeparator(form);
    sep->SetName("Sep1");
    sep->SetParent(bar);
    glow = new TDovAvarOrodez(form);
    glow->SetName("Glow1");
    glow->SetParent(bar);
    glow->SetCaption("Shine");
    edit = new TEdit(form);
    edit->SetName("Edit1");
    edit->SetParent(bar);
    cust = new TVivIzizEzuCustomizer(form);
    cust->SetName("Cust");
    cust->SetVivIzizEzu(bar);
  }
  ~CustomizerTest() override {
    Application->Restart();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  std::vector<std::string> Items() const {
    std::vector<std::string> names;
    for (int i = 0; i < bar->GetToolBarControlCount(); ++i) names.push_back(bar->GetToolBarControls(i)->Name());
    return names;
  }
  // Replaces the user's section with the "key=value" lines of Text.
  void WriteSection(const std::string& text) {
    TIniFile f(ini);
    f.EraseSection("Cust");
    size_t at = 0;
    while (at < text.size()) {
      const size_t end = text.find('\n', at);
      const std::string line = text.substr(at, end - at);
      const size_t eq = line.find('=');
      f.WriteString("Cust", line.substr(0, eq), line.substr(eq + 1));
      at = end + 1;
    }
  }
  std::string Read(const std::string& section, const std::string& key) const {
    TIniFile f(ini);
    return f.ReadString(section, key, "<none>");
  }

  TForm* form = nullptr;
  fs::path dir;
  std::string ini;
  TVivIzizEzu* bar = nullptr;
  TVivIzizEzuButton* btn = nullptr;
  TVivIzizEzuSeparator* sep = nullptr;
  TDovAvarOrodez* glow = nullptr;
  TEdit* edit = nullptr;
  TVivIzizEzuCustomizer* cust = nullptr;
};

TEST_F(CustomizerTest, Defaults) {
  auto* c = new TVivIzizEzuCustomizer(form);
  EXPECT_TRUE(c->EnablePersistence());
  EXPECT_EQ(c->FileName(), ".\\untitled.ini");
  EXPECT_EQ(c->Commands()->Count(), 0);
  EXPECT_TRUE(c->ButtonProperties()->Caption());
  EXPECT_FALSE(c->ButtonProperties()->Visible());
  EXPECT_TRUE(c->DialogSettings()->EditCaption());
  EXPECT_FALSE(c->DialogSettings()->LargeIcon());
  EXPECT_EQ(c->DialogSettings()->Customize(), "Customize");
  EXPECT_FALSE(c->Options()->DeleteAll());
  TVIECommand* cmd = c->Commands()->Add();
  cmd->SetCaption("Open my file");
  EXPECT_EQ(cmd->Caption(), "Open_my_file");
  EXPECT_EQ(cmd->ItemIndex(), -1);
}

TEST_F(CustomizerTest, SaveInitialStateRecordsEveryItem) {
  cust->SetFileName(ini);  // records the present layout, then applies the (missing) user section
  EXPECT_EQ(Read("CustOrg", "VIECaption"), "Tools");
  EXPECT_EQ(Read("CustOrg", "GlyphPosition"), "0");
  EXPECT_EQ(Read("CustOrg", "LargeIcon"), "1");  // no large images and no images: the same
  EXPECT_EQ(Read("CustOrg", "ToolBarItemCount"), "4");
  const struct {
    const char* key;
    const char* value;
  } expected[] = {
      {"Name0", "Btn1"},          {"Name0.ClassName", "VIVIZIZEZUBUTTON"},
      {"Name0.ImageIndex", "1"},  {"Name0.Visible", "1"},
      {"Name0.ShowCaption", "0"}, {"Name0.Caption", "One"},
      {"Name0.Hint", "First"},    {"Name0.CommandID", "<none>"},
      {"Name1", "Sep1"},          {"Name1.ClassName", "VIVIZIZEZUSEPARATOR"},
      {"Name1.Visible", "<none>"}, {"Name2", "Glow1"},
      {"Name2.ClassName", "DIZCUSTOMGLOWBUTTON"}, {"Name2.Caption", "Shine"},
      {"Name3", "Edit1"},         {"Name3.ClassName", "-1"},
  };
  for (const auto& e : expected) EXPECT_EQ(Read("CustOrg", e.key), e.value) << e.key;
  // No user section yet: the tool bar stays as designed.
  EXPECT_EQ(Items(), (std::vector<std::string>{"Btn1", "Sep1", "Glow1", "Edit1"}));
  EXPECT_EQ(bar->Caption(), "Tools");
}

TEST_F(CustomizerTest, UserSectionAppliedAndReset) {
  cust->SetFileName(ini);
  int executed = 0;
  TVIECommand* cmd = cust->Commands()->Add();
  cmd->SetCaption("Run");
  cmd->OnExecute = [&](TObject*) { ++executed; };
  WriteSection(
      "VIECaption=Mine\nToolBarItemCount=4\n"
      "Name0=edit1\nName0.ClassName=-1\n"
      "Name1=Btn1\nName1.ClassName=VIVIZIZEZUBUTTON\nName1.Caption=Uno\nName1.ShowCaption=2\nName1.ImageIndex=4\n"
      "Name2=NewBtn\nName2.ClassName=vivizizezubutton\nName2.CommandID=0\nName2.Caption=Run\n"
      "Name3=NewGlow\nName3.ClassName=DIZCUSTOMGLOWBUTTON\nName3.CommandID=7\nName3.ImageIndex=3\n");
  cust->UpdateVivIzizEzu();
  EXPECT_EQ(bar->Caption(), "Mine");
  EXPECT_EQ(Items(), (std::vector<std::string>{"Edit1", "Btn1", "NewBtn", "NewGlow"}));
  EXPECT_EQ(btn->Caption(), "Uno");
  EXPECT_FALSE(btn->ShowCaption());  // only 1 reads as true
  EXPECT_EQ(btn->ImageIndex(), 4);
  auto* made = dynamic_cast<TVivIzizEzuButton*>(bar->GetToolBarControls(2));
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->MadeByCustomizer);
  EXPECT_EQ(made->CommandID, 0);
  EXPECT_EQ(made->Owner(), bar);
  made->Click();
  EXPECT_EQ(executed, 1);
  auto* madeGlow = dynamic_cast<TDovAvarOrodez*>(bar->GetToolBarControls(3));
  ASSERT_NE(madeGlow, nullptr);
  EXPECT_TRUE(madeGlow->MadeByCustomizer());
  EXPECT_EQ(madeGlow->CommandID(), -1);  // command 7 does not exist
  EXPECT_EQ(madeGlow->ImageIndex(), 3);
  // The items the section does not name are parked, not freed.
  ASSERT_EQ(cust->RemovedItems()->Count(), 2);
  EXPECT_EQ(sep->Parent(), nullptr);
  EXPECT_EQ(glow->Parent(), nullptr);
  EXPECT_EQ(cust->GetCtrl("sep1"), nullptr);

  cust->ResetToolBar();
  EXPECT_EQ(bar->Caption(), "Tools");
  EXPECT_EQ(Items(), (std::vector<std::string>{"Btn1", "Sep1", "Glow1", "Edit1"}));
  EXPECT_EQ(btn->Caption(), "One");
  EXPECT_EQ(btn->ImageIndex(), 1);
  EXPECT_EQ(cust->RemovedItems()->Count(), 0);
  EXPECT_EQ(form->FindComponent("NewBtn"), nullptr);
  EXPECT_EQ(bar->FindComponent("NewBtn"), nullptr);
  // The user's section lost all its keys.
  TIniFile f(ini);
  TStringList keys;
  f.ReadSection("Cust", &keys);
  EXPECT_EQ(keys.Count(), 0);
}

TEST_F(CustomizerTest, EmptyLayoutParksEverything) {
  cust->SetFileName(ini);
  WriteSection("ToolBarItemCount=0\n");
  cust->UpdateVivIzizEzu();
  EXPECT_EQ(bar->GetToolBarControlCount(), 0);
  EXPECT_EQ(cust->RemovedItems()->Count(), 4);
  // A parked control that its owner frees leaves the list.
  delete edit;
  EXPECT_EQ(cust->RemovedItems()->Count(), 3);
  delete cust;  // the parked controls stay alive
  EXPECT_EQ(sep->Parent(), nullptr);
  EXPECT_EQ(sep->Name(), "Sep1");
}

TEST_F(CustomizerTest, AGlowButtonItMakesCarriesItsCommand) {
  cust->SetFileName(ini);
  int executed = 0;
  TVIECommand* cmd = cust->Commands()->Add();
  cmd->SetCaption("Run");
  cmd->OnExecute = [&](TObject*) { ++executed; };
  WriteSection("ToolBarItemCount=2\nName0=Glow1\nName0.ClassName=DIZCUSTOMGLOWBUTTON\nName0.CommandID=0\n"
               "Name1=RunGlow\nName1.ClassName=DIZCUSTOMGLOWBUTTON\nName1.CommandID=0\n");
  cust->UpdateVivIzizEzu();
  ASSERT_EQ(Items(), (std::vector<std::string>{"Glow1", "RunGlow"}));
  // The designed glow button is not the customizer's: it keeps its defaults.
  EXPECT_FALSE(glow->MadeByCustomizer());
  EXPECT_EQ(glow->CommandID(), -1);
  auto* made = dynamic_cast<TDovAvarOrodez*>(bar->GetToolBarControls(1));
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->MadeByCustomizer());
  EXPECT_EQ(made->CommandID(), 0);
  made->Click();
  EXPECT_EQ(executed, 1);
  // Left out of the next layout, both are parked, the made one still carrying its command.
  WriteSection("ToolBarItemCount=0\n");
  cust->UpdateVivIzizEzu();
  EXPECT_GE(cust->RemovedItems()->IndexOf(made), 0);
  EXPECT_GE(cust->RemovedItems()->IndexOf(glow), 0);
  EXPECT_EQ(made->CommandID(), 0);
}

TEST_F(CustomizerTest, HostileNamesAreSkipped) {
  cust->SetFileName(ini);
  WriteSection(
      "ToolBarItemCount=6\n"
      "Name0=1bad\nName0.ClassName=VIVIZIZEZUBUTTON\n"
      "Name1=has space\nName1.ClassName=VIVIZIZEZUSEPARATOR\n"
      "Name2=CustForm\nName2.ClassName=DIZCUSTOMGLOWBUTTON\n"
      "Name3=Cust\nName3.ClassName=VIVIZIZEZUBUTTON\n"
      "Name4=\nName4.ClassName=VIVIZIZEZUBUTTON\n"
      "Name5=Fine\nName5.ClassName=VIVIZIZEZUSEPARATOR\n");
  ASSERT_NO_THROW(cust->UpdateVivIzizEzu());
  EXPECT_EQ(Items(), (std::vector<std::string>{"Fine"}));
  EXPECT_EQ(form->FindComponent("Cust"), cust);
  // Two entries with one name make one control.
  WriteSection("ToolBarItemCount=2\nName0=Twin\nName0.ClassName=VIVIZIZEZUBUTTON\nName1=twin\nName1.ClassName=VIVIZIZEZUBUTTON\n");
  ASSERT_NO_THROW(cust->UpdateVivIzizEzu());
  EXPECT_EQ(Items(), (std::vector<std::string>{"Twin"}));
}

TEST_F(CustomizerTest, DamagedCountsAndValues) {
  cust->SetFileName(ini);
  // A huge count: only the entries present are read (no endless loop).
  WriteSection("ToolBarItemCount=2000000000\nGlyphPosition=9\nName0=Sep1\nName0.ClassName=VIVIZIZEZUSEPARATOR\n"
               "Name1=Btn1\nName1.ClassName=VIVIZIZEZUBUTTON\nName1.Visible=2\nName1.ImageIndex=x\n");
  cust->ButtonProperties()->SetVisible(true);
  btn->SetVisible(false);
  ASSERT_NO_THROW(cust->UpdateVivIzizEzu());
  EXPECT_EQ(Items(), (std::vector<std::string>{"Sep1", "Btn1"}));
  EXPECT_TRUE(btn->Visible());         // any value but 0 is true
  EXPECT_EQ(btn->ImageIndex(), 1);     // not a number: unchanged
  EXPECT_EQ(btn->GlyphPosition(), gpLeft);  // out of range: left
}

TEST_F(CustomizerTest, ResetNeverFreesApplicationControls) {
  cust->SetFileName(ini);
  // A control the application adds after the start is not in the recorded layout.
  auto* late = new TVivIzizEzuButton(form);
  late->SetName("Late");
  late->SetParent(bar);
  WriteSection("ToolBarItemCount=1\nName0=Btn1\nName0.ClassName=VIVIZIZEZUBUTTON\n");
  cust->ResetToolBar();
  EXPECT_EQ(form->FindComponent("Late"), late);
  EXPECT_EQ(late->Parent(), nullptr);
  EXPECT_EQ(cust->RemovedItems()->IndexOf(late), 0);
  delete late;
  EXPECT_EQ(cust->RemovedItems()->Count(), 0);
}

TEST_F(CustomizerTest, FailedSaveKeepsThePreviousFile) {
  cust->SetFileName(ini);
  std::ifstream before(ini);
  const std::string old((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(old.empty());
  // The working copy cannot be made: a folder with content stands in its place.
  fs::create_directories(ini + ".saving/blocker");
  bar->SetCaption("Changed");
  try {
    cust->SaveInitialState();
    ADD_FAILURE() << "no error";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + ini);
  }
  std::ifstream after(ini);
  const std::string now((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>());
  EXPECT_EQ(now, old);
  // A file in a folder that does not exist.
  cust->SetEnablePersistence(false);
  cust->SetFileName((dir / "missing" / "x.ini").string());
  cust->SetEnablePersistence(true);
  EXPECT_THROW(cust->SaveInitialState(), EIniFileException);
}

TEST_F(CustomizerTest, RelativeWindowsPathIsTheCurrentFolder) {
  const fs::path here = fs::current_path();
  cust->SetEnablePersistence(false);
  cust->SetFileName("elsewhere.ini");
  cust->SetEnablePersistence(true);
  fs::current_path(dir);
  cust->SetFileName(".\\untitled.ini");
  fs::current_path(here);
  EXPECT_TRUE(fs::exists(dir / "untitled.ini"));
  EXPECT_FALSE(fs::exists(dir / ".\\untitled.ini"));
}

TEST_F(CustomizerTest, NothingWithoutToolBarOrPersistence) {
  const fs::path here = fs::current_path();
  fs::current_path(dir);
  auto* lone = new TVivIzizEzuCustomizer(form);
  lone->SetName("Lone");
  lone->SetFileName("lone.ini");
  lone->SaveInitialState();
  lone->UpdateVivIzizEzu();
  lone->ResetToolBar();
  lone->ShowCustomizer();
  cust->SetEnablePersistence(false);
  cust->SetFileName("off.ini");
  cust->SaveInitialState();
  fs::current_path(here);
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(CustomizerTest, LinkFollowsBothSides) {
  EXPECT_EQ(bar->Customizer(), cust);
  cust->SetVivIzizEzu(nullptr);
  EXPECT_EQ(bar->Customizer(), nullptr);
  cust->SetVivIzizEzu(bar);
  delete bar;
  EXPECT_EQ(cust->VivIzizEzu(), nullptr);
  auto* other = new TVivIzizEzu(form);
  cust->SetVivIzizEzu(other);
  delete cust;
  EXPECT_EQ(other->Customizer(), nullptr);
}

// Loading a form runs the customizer: the designed layout is recorded and the user's one
// applied on top.
TEST_F(CustomizerTest, LoadingAppliesTheUserLayout) {
  Application->Restart();
  std::ofstream(ini) << "[Cust2]\nToolBarItemCount=1\nName0=B2\nName0.ClassName=VIVIZIZEZUBUTTON\n";
  TForm* f = nullptr;
  Application->CreateForm(f);
  const std::string text = "object F: TForm\n  object T: TVivIzizEzu\n"
                           "    object B1: TVivIzizEzuButton\n      Caption = 'a'\n    end\n"
                           "    object B2: TVivIzizEzuButton\n      Caption = 'b'\n    end\n  end\n"
                           "  object Cust2: TVivIzizEzuCustomizer\n    VivIzizEzu = T\n    FileName = '" + ini +
                           "'\n  end\nend\n";
  ASSERT_NO_THROW(ReadComponentFromText(text, f));
  auto* t = static_cast<TVivIzizEzu*>(f->FindComponent("T"));
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->GetToolBarControlCount(), 1);
  EXPECT_EQ(t->GetToolBarControls(0)->Name(), "B2");
  TIniFile check(ini);
  EXPECT_EQ(check.ReadInteger("Cust2Org", "ToolBarItemCount", -1), 2);
}

}  // namespace
