// Tests of the dock panel and its rows: parents, docking, rows built at loading, locked
// rows, alignment, sizing, the row rules of moving and sizing tool bars, painting, and the
// main window's stored dock panel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "menus/DovAvarOrodez.h"
#include "platform/backend/Headless.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"
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
    bar->SetAutoSizeEx(false);
    bar->Constraints()->SetMinWidth(0);
    bar->Constraints()->SetMaxWidth(0);
    bar->SetBounds(0, 0, length, 26);
    return bar;
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

}  // namespace
