// The component classes of the editors and the framework's own controls.
#include "tests/app/fuzz/FuzzFormClasses.h"

#include "editors/DizSpin.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

void AddEditorsClasses(std::vector<TClass>& Classes) {
  for (TClass c : {
           TDizSpinEdit::StaticClass(), TDizMaskSpinEdit::StaticClass(), TDizSpinButton::StaticClass(),
           TDizTimerSpeedButton::StaticClass(), TLabel::StaticClass(), TEdit::StaticClass(),
           TPanel::StaticClass(), TShape::StaticClass(), TImage::StaticClass(), TBevel::StaticClass(),
           TStringGrid::StaticClass(), TSpeedButton::StaticClass(), TMaskEdit::StaticClass()})
    Classes.push_back(c);
}
