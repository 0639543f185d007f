// Office controls read from a stored form with sizes at the ends of the integer range:
// tab strips, status-bar panels, panels and their group lay out and paint without signed
// overflow (the sanitizer build stops at any).
#include <gtest/gtest.h>

#include "office/DizOfficeStatusBar.h"
#include "office/RavUvure.h"
#include "office/ZorOzirazIrezi.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

const char* const kExtremeOfficeForm = R"(object Form1: TForm
  Left = 10
  Top = 10
  Width = 640
  Height = 420
  object Pager1: TZorOzirazIrezi
    Left = 0
    Top = 0
    Width = 2147483647
    Height = 2147483647
    PageMargin = 2147483647
    TabSettings.Height = 2147483647
    TabSettings.Width = 2147483647
    TabSettings.LeftMargin = -2147483648
    TabSettings.RightMargin = 2147483647
    TabSettings.StartMargin = 2147483647
    TabSettings.Spacing = 2147483647
    object Page1: TDizOfficePage
      Caption = 'One'
    end
    object Page2: TDizOfficePage
      Caption = 'Two'
    end
  end
  object Bar1: TDizOfficeStatusBar
    Left = 0
    Top = 300
    Width = 2147483647
    Height = 19
    Panels = <
      item
        Width = 2147483647
        MinWidth = 2147483647
        Text = 'wide'
      end
      item
        Width = -2147483648
        MinWidth = -2147483648
        Text = 'narrow'
      end
      item
        Width = 2147483647
        Text = 'more'
      end>
  end
  object Group1: TRavUvureGroup
    Left = -2147483648
    Top = 2147483647
    Width = 2147483647
    Height = 2147483647
    HorzPadding = 2147483647
    VertPadding = 2147483647
    object Panel1: TRavUvure
      Left = 2147483647
      Top = 2147483647
      Width = 2147483647
      Height = 2147483647
      FullHeight = 2147483647
      Font.Height = -2147483648
    end
    object Panel2: TRavUvure
      Left = -2147483648
      Top = -2147483648
      Width = 2147483647
      Height = 2147483647
      FullHeight = -2147483648
    end
  end
end
)";

TEST(OfficeGeometryLimits, ExtremeStoredSizesLayOutAndPaint) {
  THeadlessScope scope;
  Application->Restart();
  RegisterClasses({TZorOzirazIrezi::StaticClass(), TDizOfficePage::StaticClass(), TDizOfficeStatusBar::StaticClass(),
                   TRavUvure::StaticClass(), TRavUvureGroup::StaticClass()});
  TForm* form = nullptr;
  Application->CreateForm(form);
  ReadComponentFromText(kExtremeOfficeForm, form);
  auto* pager = dynamic_cast<TZorOzirazIrezi*>(form->FindComponent("Pager1"));
  auto* bar = dynamic_cast<TDizOfficeStatusBar*>(form->FindComponent("Bar1"));
  auto* group = dynamic_cast<TRavUvureGroup*>(form->FindComponent("Group1"));
  auto* panel = dynamic_cast<TCustomRavUvure*>(form->FindComponent("Panel1"));
  ASSERT_TRUE(pager && bar && group && panel);
  EXPECT_EQ(pager->Width(), 1000000);
  EXPECT_LE(panel->FullHeight(), 1000000);
  form->Show();
  Application->ProcessMessages();
  form->SetBounds(0, 0, 800, 600);
  pager->SetBounds(0, 0, 600, 300);
  bar->SetBounds(0, 300, 600, 19);
  group->SetBounds(0, 320, 600, 200);
  group->UpdateGroup();
  pager->SetActivePageIndex(1);
  panel->SetCollaps(true);
  panel->SetCollaps(false);
  form->Repaint();
  Application->ProcessMessages();
  pager->SetTabPosition(ZorOzirazIrezi::tpLeft);
  form->Repaint();
  Application->ProcessMessages();
  EXPECT_LE(group->ContentExtent(), 8 * 1000000);
  Application->Restart();
}

}  // namespace
