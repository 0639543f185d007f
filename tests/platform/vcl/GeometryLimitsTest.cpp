// Extreme positions and sizes from stored forms: they are brought into the coordinate
// range where they enter, and laying out, anchoring, painting and measuring with them
// stays defined (the sanitizer build stops at any signed overflow).
#include <climits>

#include "ControlsTestSupport.h"
#include "platform/gdi/Coordinates.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

namespace {

class GeometryLimits : public VclTest {};

// Nested anchored controls at both ends of the integer range, a grid whose default
// column and row sizes are the largest integer, and fonts of the most negative height.
const char* const kExtremeForm = R"(object Form1: TForm
  Left = 2147483647
  Top = -2147483648
  Width = 2147483647
  Height = 2147483647
  ClientWidth = 2147483647
  ClientHeight = -2147483648
  Font.Height = -2147483648
  object Panel1: TPanel
    Left = -2147483648
    Top = 2147483647
    Width = 2147483647
    Height = -2147483648
    Anchors = [akLeft, akTop, akRight, akBottom]
    object Panel2: TPanel
      Left = 2147483647
      Top = 2147483647
      Width = 2147483647
      Height = 2147483647
      Anchors = [akRight, akBottom]
      object Button1: TButton
        Left = -2147483648
        Top = -2147483648
        Width = -2147483648
        Height = 2147483647
        Anchors = [akLeft, akRight, akBottom]
        Caption = 'Far'
      end
    end
  end
  object Grid1: TStringGrid
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    DefaultColWidth = 2147483647
    DefaultRowHeight = 2147483647
    Font.Height = -2147483648
    Anchors = [akLeft, akTop, akRight, akBottom]
  end
  object Label1: TLabel
    Left = 2147483647
    Top = -2147483648
    Width = 2147483647
    Height = 2147483647
    AutoSize = False
    Caption = 'Label'
    Font.Height = -2147483648
  end
end
)";

TEST_F(GeometryLimits, ExtremeStoredGeometryIsClampedAndLaysOutAndPaints) {
  auto* form = new TForm(nullptr);
  ReadComponentFromText(kExtremeForm, form);
  auto* panel1 = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
  auto* panel2 = dynamic_cast<TPanel*>(form->FindComponent("Panel2"));
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
  auto* grid = dynamic_cast<TStringGrid*>(form->FindComponent("Grid1"));
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
  ASSERT_TRUE(panel1 && panel2 && button && grid && label);
  const int far = kMaxCoordinate;
  EXPECT_EQ(far, 1000000);
  EXPECT_EQ(panel1->Left(), -far);
  EXPECT_EQ(panel1->Top(), far);
  EXPECT_EQ(panel1->Width(), far);
  EXPECT_EQ(panel1->Height(), 0);  // no size is negative
  EXPECT_EQ(panel2->BoundsRect(), (TRect{far, far, 2 * far, 2 * far}));
  EXPECT_EQ(button->Left(), -far);
  EXPECT_EQ(button->Width(), 0);
  EXPECT_EQ(label->Left(), far);
  EXPECT_EQ(grid->DefaultColWidth(), far);
  EXPECT_EQ(grid->DefaultRowHeight(), far);
  EXPECT_EQ(grid->Font()->GetHeight(), -far);

  form->Show();
  Pump();
  // The anchored controls follow their parents through a resize, both ways.
  form->SetBounds(10, 10, 640, 480);
  Pump();
  form->SetBounds(-far, far, far, far);
  Pump();
  form->Repaint();
  grid->SetCells(1, 1, "x");
  grid->Repaint();
  grid->SetCol(2);
  grid->SetRow(2);
  Pump();
  for (TControl* c : std::initializer_list<TControl*>{form, panel1, panel2, button, grid, label}) {
    EXPECT_LE(std::abs(c->Left()), 4 * far) << c->Name();
    EXPECT_LE(std::abs(c->Top()), 4 * far) << c->Name();
    EXPECT_LE(std::abs(c->Width()), 4 * far) << c->Name();
    EXPECT_LE(std::abs(c->Height()), 4 * far) << c->Name();
  }
  EXPECT_GT(grid->Canvas()->TextHeight("Ay"), 0);
  delete form;
}

// Setters take the same range as the stored form: a value beyond it is the nearest end.
TEST_F(GeometryLimits, BoundsSettersClampToTheCoordinateRange) {
  auto* form = new TForm(nullptr);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(INT_MAX, INT_MIN, INT_MAX, INT_MIN);
  EXPECT_EQ(panel->BoundsRect(), (TRect{kMaxCoordinate, -kMaxCoordinate, 2 * kMaxCoordinate, -kMaxCoordinate}));
  panel->SetLeft(INT_MIN);
  panel->SetTop(INT_MAX);
  panel->SetWidth(-5);
  panel->SetHeight(1234);
  EXPECT_EQ(panel->BoundsRect(), (TRect{-kMaxCoordinate, kMaxCoordinate, -kMaxCoordinate, kMaxCoordinate + 1234}));
  form->Show();
  form->SetBounds(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  Pump();
  EXPECT_GE(form->Left(), -kMaxCoordinate);
  EXPECT_LE(form->Width(), kMaxCoordinate);
  delete form;
}

}  // namespace
