// VxBehaviorLabel, part 2: the built-in behaviours (blink, bounce, scroll, appear, typing,
// special, code breaker). The registry, the base class and the label are in
// VxBehaviorLabel.cpp.
#include <cstdlib>

#include "label/VxBehaviorLabel.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The animated texts work on single-byte characters of the ANSI code page.
std::string ToAnsi(const std::string& Utf8) { return Utf8ToCodePage(CP_WIN1251, Utf8); }
std::string FromAnsi(const std::string& Ansi) { return CodePageToUtf8(CP_WIN1251, Ansi); }
unsigned char Code(const std::string& s, int Position) { return static_cast<unsigned char>(s[Position - 1]); }

[[noreturn]] void RaiseNoParent(const TVxLabelBehavior* Behavior) {
  throw EVXLException(Format("OwnerLabel.Parent is nil in %s.Start", {std::string(Behavior->ClassType()->Name)}));
}

bool NonEmpty(const TRect& R) { return R.Right - R.Left > 0 && R.Bottom - R.Top > 0; }

}  // namespace

// ---- empty --------------------------------------------------------------------------------

void TVxLabelNone::Publish(TClassBuilder<TVxLabelNone>& P) { (void)P; }

// ---- blink --------------------------------------------------------------------------------

void TVxLabelBlink::Publish(TClassBuilder<TVxLabelBlink>& P) {
  P.Int("Delay", &TVxLabelBlink::Delay, &TVxLabelBlink::SetDelay, 100u)
      .Int("Interval", &TVxLabelBlink::Interval, &TVxLabelBlink::SetInterval, 400u);
}

TVxLabelBlink::TVxLabelBlink(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {
  ALabel->EffectText.clear();
}

TVxLabelBlink::~TVxLabelBlink() { Shutdown(); }

void TVxLabelBlink::Start() {
  TVxLabelBehavior::Start();
  if (LabelBusy()) return;
  EnsureTimer();
  if (FDelay == 0) FDelay = 1;
  FTimer->SetInterval(FDelay);
  FToggled = false;
  FTimer->SetEnabled(true);
}

void TVxLabelBlink::Tick() {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(FInterval);
  FToggled = !FToggled;
  OwnerLabel()->SetUseEffectText(FToggled);
  if (FInterval != 0) FTimer->SetEnabled(true);
}

void TVxLabelBlink::Stop() {
  if (FTimer) {
    FreeTimer();
    OwnerLabel()->SetUseEffectText(false);
  }
  TVxLabelBehavior::Stop();
}

// ---- bounce -------------------------------------------------------------------------------

void TVxLabelBounce::Publish(TClassBuilder<TVxLabelBounce>& P) {
  P.Int("Interval", &TVxLabelBounce::Interval, &TVxLabelBounce::SetInterval, 20u)
      .Int("Pixels", &TVxLabelBounce::Pixels, &TVxLabelBounce::SetPixels, 6);
}

TVxLabelBounce::~TVxLabelBounce() { Shutdown(); }

void TVxLabelBounce::Start() {
  if (LabelBusy()) return;
  if (!OwnerLabel()->Parent()) RaiseNoParent(this);
  TVxLabelBehavior::Start();
  FSavedBounds = OwnerLabel()->BoundsRect();
  Randomize();
  EnsureTimer();
  FTimer->SetInterval(FInterval);
  FTimer->SetEnabled(true);
}

void TVxLabelBounce::Tick() {
  FTimer->SetEnabled(false);
  TVxCustomBehaviorLabel* label = OwnerLabel();
  TWinControl* parent = label->Parent();
  if (parent) {
    const int p = FPixels, l = label->Left(), t = label->Top(), w = label->Width(), h = label->Height();
    const int cw = parent->ClientWidth(), ch = parent->ClientHeight();
    bool moved = false;
    switch (FDirection) {
      case 0:  // down and left
        if (l - p > 0 && t + h + p < ch) {
          label->SetLeft(l - p);
          label->SetTop(t + p);
          moved = true;
        }
        break;
      case 1:  // down and right
        if (t + h + p < ch && l + w + p < cw) {
          label->SetTop(t + p);
          label->SetLeft(l + p);
          moved = true;
        }
        break;
      case 2:  // up and left
        if (l - p > 0 && t - p > 0) {
          label->SetLeft(l - p);
          label->SetTop(t - p);
          moved = true;
        }
        break;
      default:  // up and right
        if (l + w + p <= cw && t - p > 0) {
          label->SetLeft(l + p);
          label->SetTop(t - p);
          moved = true;
        }
        break;
    }
    if (!moved) FDirection = Random(4);
  }
  FTimer->SetEnabled(true);
}

void TVxLabelBounce::Stop() {
  FreeTimer();
  if (NonEmpty(FSavedBounds)) OwnerLabel()->SetBoundsRect(FSavedBounds);
  TVxLabelBehavior::Stop();
}

// ---- scroll -------------------------------------------------------------------------------

static const TEnumInfo* ScrollDirectionNames() {
  static const TEnumInfo* names = RegisterEnum("TVxLabelScrollDirection", {"sdLeftToRight", "sdRightToLeft"});
  return names;
}

void TVxLabelScroll::Publish(TClassBuilder<TVxLabelScroll>& P) {
  P.Bool("Padding", &TVxLabelScroll::Padding, &TVxLabelScroll::SetPadding, false)
      .Int("Interval", &TVxLabelScroll::Interval, &TVxLabelScroll::SetInterval, 50u)
      .Enum("Direction", ScrollDirectionNames(), &TVxLabelScroll::Direction, &TVxLabelScroll::SetDirection,
            sdLeftToRight);
}

TVxLabelScroll::~TVxLabelScroll() { Shutdown(); }

void TVxLabelScroll::SetPadding(bool Value) {
  FPadding = Value;
  TVxCustomBehaviorLabel* label = OwnerLabel();
  std::string run;
  TCanvas* canvas = label->Canvas();
  canvas->Font()->Assign(label->Font());
  // A space that measures nothing (no font yet) would never fill the label.
  if (canvas->TextWidth(" ") > 0)
    while (canvas->TextWidth(run) < label->Width()) run += ' ';
  label->EffectText = Value ? label->Caption() + run : label->Caption();
}

void TVxLabelScroll::Start() {
  TVxLabelBehavior::Start();
  if (LabelBusy()) return;
  EnsureTimer();
  FTimer->SetInterval(FInterval);
  SetPadding(FPadding);
  OwnerLabel()->SetUseEffectText(true);
  FTimer->SetEnabled(true);
}

void TVxLabelScroll::Tick() {
  FTimer->SetEnabled(false);
  TVxCustomBehaviorLabel* label = OwnerLabel();
  if (!label->Caption().empty() && !label->EffectText.empty()) {
    std::string text = ToAnsi(label->EffectText);
    if (FDirection == sdLeftToRight) text = text.back() + text.substr(0, text.size() - 1);
    else text = text.substr(1) + text.front();
    label->EffectText = FromAnsi(text);
    label->Invalidate();
  }
  FTimer->SetEnabled(true);
}

void TVxLabelScroll::Stop() {
  FreeTimer();
  OwnerLabel()->SetUseEffectText(false);
  TVxLabelBehavior::Stop();
}

// ---- appear -------------------------------------------------------------------------------

static const TEnumInfo* AppearDirectionNames() {
  static const TEnumInfo* names =
      RegisterEnum("TVxAppearDirection", {"drFromLeft", "drFromRight", "drFromTop", "drFromBottom"});
  return names;
}

void TVxLabelAppear::Publish(TClassBuilder<TVxLabelAppear>& P) {
  P.Int("Delay", &TVxLabelAppear::Delay, &TVxLabelAppear::SetDelay, 100u)
      .Int("Interval", &TVxLabelAppear::Interval, &TVxLabelAppear::SetInterval, 20u)
      .Int("Pixels", &TVxLabelAppear::GetPixels, &TVxLabelAppear::SetPixels, 3)
      .Enum("AppearFrom", AppearDirectionNames(), &TVxLabelAppear::GetAppearFrom, &TVxLabelAppear::SetAppearFrom,
            drFromRight);
}

TVxLabelAppear::~TVxLabelAppear() { Shutdown(); }

void TVxLabelAppear::Start() {
  if (LabelBusy()) return;
  if (!OwnerLabel()->Parent()) RaiseNoParent(this);
  TVxLabelBehavior::Start();
  EnsureTimer();
  FTimer->SetInterval(FDelay);
  FFirstTick = true;
  FSavedBounds = OwnerLabel()->BoundsRect();
  FTimer->SetEnabled(true);
}

void TVxLabelAppear::Tick() {
  TVxCustomBehaviorLabel* label = OwnerLabel();
  TWinControl* parent = label->Parent();
  if (!parent) return;
  const int w = FSavedBounds.Right - FSavedBounds.Left, h = FSavedBounds.Bottom - FSavedBounds.Top;
  const int cw = parent->ClientWidth(), ch = parent->ClientHeight();
  if (FFirstTick) {
    switch (AppearFrom) {
      case drFromLeft: label->SetLeft(-label->Width()); break;
      case drFromRight: label->SetBounds(cw, label->Top(), 0, label->Height()); break;
      case drFromTop: label->SetTop(-label->Height()); break;
      case drFromBottom: label->SetBounds(label->Left(), ch, label->Width(), 0); break;
    }
    label->SetVisible(true);
    FFirstTick = false;
  }
  bool finished = false;
  switch (AppearFrom) {
    case drFromLeft:
      if (std::abs(label->Left() - FSavedBounds.Left) < Pixels) {
        label->SetLeft(FSavedBounds.Left);
        finished = true;
      } else {
        label->SetLeft(label->Left() + Pixels);
      }
      break;
    case drFromRight:
      if (std::abs(label->Left() - FSavedBounds.Left) < Pixels) {
        label->SetLeft(FSavedBounds.Left);
        finished = true;
      } else {
        label->SetLeft(label->Left() - Pixels);
      }
      // Grows back to its width, kept 2 pixels inside the parent's right edge; never
      // narrower than nothing.
      if (label->Width() != w) label->SetWidth(cw > label->Left() + w ? w : std::max(0, cw - label->Left() - 2));
      break;
    case drFromTop:
      if (std::abs(label->Top() - FSavedBounds.Top) < Pixels) {
        label->SetTop(FSavedBounds.Top);
        finished = true;
      } else {
        label->SetTop(label->Top() + Pixels);
      }
      break;
    case drFromBottom:
      if (std::abs(label->Top() - FSavedBounds.Top) < Pixels) {
        label->SetTop(FSavedBounds.Top);
        finished = true;
      } else {
        label->SetTop(label->Top() - Pixels);
      }
      if (label->Height() != h) label->SetHeight(ch > label->Top() + h ? h : std::max(0, ch - label->Top() - 2));
      break;
  }
  FTimer->SetInterval(FInterval);
  if (finished) SetActive(false);
  else FTimer->SetEnabled(true);
}

void TVxLabelAppear::Stop() {
  FreeTimer();
  if (NonEmpty(FSavedBounds)) OwnerLabel()->SetBoundsRect(FSavedBounds);
  TVxLabelBehavior::Stop();
}

// ---- typing -------------------------------------------------------------------------------

void TVxLabelTyping::Publish(TClassBuilder<TVxLabelTyping>& P) {
  P.Bool("MakeErrors", &TVxLabelTyping::MakeErrors, &TVxLabelTyping::SetMakeErrors, true)
      .Int("Interval", &TVxLabelTyping::Interval, &TVxLabelTyping::SetInterval, 100u);
}

TVxLabelTyping::~TVxLabelTyping() { Shutdown(); }

void TVxLabelTyping::Start() {
  TVxLabelBehavior::Start();
  if (LabelBusy()) return;
  EnsureTimer();
  FTimer->SetInterval(FInterval);
  Randomize();
  OwnerLabel()->EffectText.clear();
  OwnerLabel()->SetUseEffectText(true);
  FPosition = 1;
  FTimer->SetEnabled(true);
}

void TVxLabelTyping::Tick() {
  FTimer->SetEnabled(false);
  TVxCustomBehaviorLabel* label = OwnerLabel();
  const std::string caption = ToAnsi(label->Caption());
  if (static_cast<int>(caption.size()) < FPosition) {
    SetActive(false);
    return;
  }
  std::string text = caption.substr(0, FPosition - 1);
  const int r = Random(10);
  const bool error = r == 7 && FMakeErrors;
  if (error) text += static_cast<char>((Code(caption, FPosition) - Random(10)) & 0xFF);
  else text += caption[FPosition - 1];
  // A typing error, and every character of a label that makes none, takes twice as long.
  FTimer->SetInterval(FMakeErrors && r != 7 ? FInterval : 2 * FInterval);
  label->EffectText = FromAnsi(text);
  label->Invalidate();
  ++FPosition;
  FTimer->SetEnabled(true);
}

void TVxLabelTyping::Stop() {
  FreeTimer();
  OwnerLabel()->SetUseEffectText(false);
  TVxLabelBehavior::Stop();
}

// ---- special ------------------------------------------------------------------------------

void TVxLabelSpecial::Publish(TClassBuilder<TVxLabelSpecial>& P) {
  P.Int("Interval", &TVxLabelSpecial::Interval, &TVxLabelSpecial::SetInterval, 20u);
}

TVxLabelSpecial::~TVxLabelSpecial() { Shutdown(); }

void TVxLabelSpecial::Start() {
  TVxLabelBehavior::Start();
  if (LabelBusy()) return;
  EnsureTimer();
  FPosition = 1;
  FCode = 32;
  OwnerLabel()->EffectText.clear();
  OwnerLabel()->SetUseEffectText(true);
  FTimer->SetInterval(FInterval);
  FTimer->SetEnabled(true);
}

// The first FPosition characters are revealed; the character after them counts up from
// a space until it reaches the caption's next character, which is then revealed too. The
// behaviour ends once the last character has been counted up to.
void TVxLabelSpecial::Tick() {
  FTimer->SetEnabled(false);
  TVxCustomBehaviorLabel* label = OwnerLabel();
  const std::string caption = ToAnsi(label->Caption());
  const int length = static_cast<int>(caption.size());
  if (length <= FPosition) {
    SetActive(false);
    return;
  }
  if (Code(caption, FPosition + 1) < FCode) {
    ++FPosition;
    FCode = 32;
    if (length <= FPosition) {
      SetActive(false);
      return;
    }
  }
  label->EffectText = FromAnsi(caption.substr(0, FPosition) + static_cast<char>(FCode & 0xFF));
  label->Invalidate();
  ++FCode;
  FTimer->SetEnabled(true);
}

void TVxLabelSpecial::Stop() {
  FreeTimer();
  OwnerLabel()->SetUseEffectText(false);
  TVxLabelBehavior::Stop();
}

// ---- code breaker -------------------------------------------------------------------------

void TVxLabelCodeBreaker::Publish(TClassBuilder<TVxLabelCodeBreaker>& P) {
  P.Str("DecodedText", &TVxLabelCodeBreaker::GetDecodedText, &TVxLabelCodeBreaker::SetDecodedText)
      .Int("Interval", &TVxLabelCodeBreaker::Interval, &TVxLabelCodeBreaker::SetInterval, 10);
}

TVxLabelCodeBreaker::~TVxLabelCodeBreaker() { Shutdown(); }

void TVxLabelCodeBreaker::Start() {
  TVxLabelBehavior::Start();
  FPosition = 1;
  FDecoded = false;
  TVxCustomBehaviorLabel* label = OwnerLabel();
  if (FInterval < 1) {
    SetActive(false);
  } else if (!label->Caption().empty() && !DecodedText.empty()) {
    FWorking = ToAnsi(label->Caption());
    FreeTimer();
    EnsureTimer();
    FTimer->SetInterval(static_cast<unsigned>(FInterval));
    FTimer->SetEnabled(true);
    label->SetUseEffectText(true);
  } else {
    SetActive(false);
  }
}

void TVxLabelCodeBreaker::Tick() {
  FTimer->SetEnabled(false);
  TVxCustomBehaviorLabel* label = OwnerLabel();
  const std::string decoded = ToAnsi(DecodedText);
  if (static_cast<int>(FWorking.size()) < FPosition || static_cast<int>(decoded.size()) < FPosition) {
    label->EffectText = DecodedText;
    label->Invalidate();
    FDecoded = true;
    SetActive(false);
    label->SetUseEffectText(false);
    return;
  }
  if (FWorking[FPosition - 1] == decoded[FPosition - 1]) {
    ++FPosition;
  } else {
    FWorking[FPosition - 1] = static_cast<char>((Random(Code(decoded, FPosition) + 10) + 32) & 0xFF);
    label->EffectText = FromAnsi(FWorking);
    label->Invalidate();
  }
  FTimer->SetEnabled(true);
}

// A finished decoding leaves the decoded text as the caption; stopping earlier (or a
// behaviour that never ran) leaves the caption as it was.
void TVxLabelCodeBreaker::Stop() {
  FreeTimer();
  TVxCustomBehaviorLabel* label = OwnerLabel();
  if (FDecoded) label->SetCaption(label->EffectText);
  label->SetUseEffectText(false);
  TVxLabelBehavior::Stop();
}
