#pragma once
// The animated label: a label whose display a behaviour object, chosen by its registered
// name (Behavior), animates. Text behaviours write the label's effect text and switch
// UseEffectText on, so that the label paints the effect text instead of its caption;
// motion behaviours move and resize the label inside its parent. Each running behaviour
// drives the label from a timer of its own on the user-interface thread.
//
// Behaviour classes live in one process-wide registry (names compare case-insensitively,
// the first registration of a name wins). The built-in behaviours are always in it.
//
// The animated texts work on the characters of the system's ANSI code page (1251): the
// caption is converted to it, animated byte by byte, and shown converted back.
#include <memory>
#include <string>
#include <vector>

#include "label/VxExStdCtrls.h"
#include "label/VxTypes.h"
#include "platform/vcl/ExtCtrls.h"

class TVxCustomBehaviorLabel;
class TVxLabelBehavior;

// A behaviour class: its class record and how to make an instance for a label.
struct TVxLabelBehaviorClassRec : public TObject {
  TVxLabelBehaviorClassRec(TClass AClass, TVxLabelBehavior* (*ACreate)(TVxCustomBehaviorLabel*))
      : Class(AClass), Create(ACreate) {}
  TClass Class;
  TVxLabelBehavior* (*Create)(TVxCustomBehaviorLabel* Label);
};
using TVxLabelBehaviorClass = const TVxLabelBehaviorClassRec*;

template <class T>
TVxLabelBehaviorClass BehaviorClassOf() {
  static const TVxLabelBehaviorClassRec rec(T::StaticClass(), [](TVxCustomBehaviorLabel* Label) -> TVxLabelBehavior* {
    return new T(Label);
  });
  return &rec;
}

// The name under which the empty behaviour is registered, and the label's initial name.
extern const char* const sVxNoBehavior;  // "(none)"

// Registry routines.
void RegisterLabelBehaviorOptions(const std::string& Name, TVxLabelBehaviorClass BehaviorClass);
// The class registered under Name; TVxLabelBehavior itself when there is none.
TVxLabelBehaviorClass GetLabelBehaviorOptionsClass(const std::string& Name);
// The first registered name of the class ("" when it is not registered).
void GetLabelBehaviorName(TVxLabelBehaviorClass BehaviorClass, std::string& Name);
// Replaces List's contents with the registered names, each with its class record as
// object, in registry order; a null list does nothing.
void GetRegisteredLabelBehaviorOptions(TStrings* List);

// ---------------------------------------------------------------------------------------
// The behaviour base class: Active starts and stops it; the events go to the label.
class TVxLabelBehavior : public TPersistent {
  LORM_PUBLISHED(TVxLabelBehavior, TPersistent)
public:
  // Raises EVXLException, naming Class (the class being made), when ALabel is null.
  explicit TVxLabelBehavior(TVxCustomBehaviorLabel* ALabel, TClass Class = StaticClass());
  // Stops the behaviour silently (no OnStop) and restores the label.
  ~TVxLabelBehavior() override;

  TVxCustomBehaviorLabel* OwnerLabel() const { return FOwnerLabel; }
  bool Active() const { return FActive; }
  // A start that raises leaves the behaviour inactive.
  void SetActive(bool Value);
  // Suspend/Resume wrap a property change: an active behaviour stops and starts again
  // with the new value, silently.
  void Suspend();
  void Resume();
  virtual void OwnerResize() {}

protected:
  virtual void Start();
  virtual void Stop();
  // True while the label is being loaded or destroyed.
  bool LabelBusy() const;
  // A disabled timer whose ticks call Tick (none is made twice).
  void EnsureTimer();
  void FreeTimer() { FTimer.reset(); }
  virtual void Tick() {}
  // A concrete behaviour's destructor calls this: stops it silently (no OnStop).
  void Shutdown();
  // Runs the setter protocol for a published value: when it changes, suspend, store, resume.
  template <class V>
  void ChangeValue(V& Field, const V& Value) {
    if (Field == Value) return;
    Suspend();
    Field = Value;
    Resume();
  }
  std::unique_ptr<TTimer> FTimer;

private:
  TVxCustomBehaviorLabel* FOwnerLabel;
  bool FSavedActive = false;
  bool FActive = false;
  bool FSuspended = false;
};

// ---------------------------------------------------------------------------------------
class TVxCustomBehaviorLabel : public TVxExCustomLabel {
  LORM_PUBLISHED(TVxCustomBehaviorLabel, TVxExCustomLabel)
public:
  explicit TVxCustomBehaviorLabel(TComponent* AOwner);
  ~TVxCustomBehaviorLabel() override;

  const std::string& Behavior() const { return FBehavior; }
  // An unregistered name is ignored; a registered one (in any letter case) is stored as
  // given and replaces the behaviour object with a fresh, inactive one of its class.
  void SetBehavior(const std::string& Value);
  // The behaviour object, created on first use.
  TVxLabelBehavior* BehaviorOptions();
  // Only the given object's class matters: the label makes and owns its own instance.
  void SetBehaviorOptions(TVxLabelBehavior* Value);
  bool UseEffectText() const { return FUseEffectText; }
  void SetUseEffectText(bool Value);
  // The text shown instead of the caption while UseEffectText is on; behaviours write it.
  std::string EffectText;

  TNotifyEvent OnStart;
  TNotifyEvent OnStop;
  virtual void DoStart();
  virtual void DoStop();

protected:
  std::string GetLabelText() const override;
  void Resize() override;

  TVxLabelBehavior* BehaviorOptionsForPublish() { return BehaviorOptions(); }

private:
  void DesignerModified();
  std::string FBehavior;
  std::unique_ptr<TVxLabelBehavior> FBehaviorOptions;
  bool FUseEffectText = false;
};

class TVxBehaviorLabel : public TVxCustomBehaviorLabel {
  LORM_PUBLISHED(TVxBehaviorLabel, TVxCustomBehaviorLabel)
public:
  explicit TVxBehaviorLabel(TComponent* AOwner) : TVxCustomBehaviorLabel(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// The built-in behaviours.
class TVxLabelNone : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelNone, TVxLabelBehavior)
public:
  explicit TVxLabelNone(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
};

// Shows the caption for Delay ms, then the effect text and the caption alternate every
// Interval ms.
class TVxLabelBlink : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelBlink, TVxLabelBehavior)
public:
  explicit TVxLabelBlink(TVxCustomBehaviorLabel* ALabel);
  ~TVxLabelBlink() override;
  unsigned Delay() const { return FDelay; }
  void SetDelay(unsigned Value) { ChangeValue(FDelay, Value); }
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value) { ChangeValue(FInterval, Value); }

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  unsigned FDelay = 100;
  unsigned FInterval = 400;
  bool FToggled = false;
};

// Moves the label diagonally inside its parent, changing direction at random at the edges.
class TVxLabelBounce : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelBounce, TVxLabelBehavior)
public:
  explicit TVxLabelBounce(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
  ~TVxLabelBounce() override;
  unsigned Interval() const { return FInterval; }
  // 0 stores 20.
  void SetInterval(unsigned Value) { ChangeValue(FInterval, Value == 0 ? 20u : Value); }
  int Pixels() const { return FPixels; }
  // 0 or less stores 6.
  void SetPixels(int Value) { ChangeValue(FPixels, Value <= 0 ? 6 : Value); }
  int Direction() const { return FDirection; }

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  TRect FSavedBounds;
  unsigned FInterval = 20;
  int FDirection = 0;
  int FPixels = 6;
};

enum TVxLabelScrollDirection { sdLeftToRight, sdRightToLeft };

// Rotates the text by one character per tick.
class TVxLabelScroll : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelScroll, TVxLabelBehavior)
public:
  explicit TVxLabelScroll(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
  ~TVxLabelScroll() override;
  bool Padding() const { return FPadding; }
  // Stores the value and rebuilds the effect text at once (caption, then spaces as wide
  // as the label when True).
  void SetPadding(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value) { ChangeValue(FInterval, Value); }
  TVxLabelScrollDirection Direction() const { return FDirection; }
  void SetDirection(TVxLabelScrollDirection Value) { ChangeValue(FDirection, Value); }

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  unsigned FInterval = 50;
  TVxLabelScrollDirection FDirection = sdLeftToRight;
  bool FPadding = false;
};

enum TVxAppearDirection { drFromLeft, drFromRight, drFromTop, drFromBottom };

// Slides the label in from an edge of its parent to its place.
class TVxLabelAppear : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelAppear, TVxLabelBehavior)
public:
  explicit TVxLabelAppear(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
  ~TVxLabelAppear() override;
  unsigned Delay() const { return FDelay; }
  void SetDelay(unsigned Value) { ChangeValue(FDelay, Value); }
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value) { ChangeValue(FInterval, Value); }
  // Plain values: a change takes effect at the next tick or start.
  int Pixels = 3;
  TVxAppearDirection AppearFrom = drFromRight;

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  int GetPixels() const { return Pixels; }
  void SetPixels(int Value) { Pixels = Value; }
  TVxAppearDirection GetAppearFrom() const { return AppearFrom; }
  void SetAppearFrom(TVxAppearDirection Value) { AppearFrom = Value; }
  unsigned FDelay = 100;
  unsigned FInterval = 20;
  TRect FSavedBounds;
  bool FFirstTick = false;
};

// Types the caption character by character, with an occasional typing error.
class TVxLabelTyping : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelTyping, TVxLabelBehavior)
public:
  explicit TVxLabelTyping(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
  ~TVxLabelTyping() override;
  bool MakeErrors() const { return FMakeErrors; }
  void SetMakeErrors(bool Value) { ChangeValue(FMakeErrors, Value); }
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value) { ChangeValue(FInterval, Value); }

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  bool FMakeErrors = true;
  unsigned FInterval = 100;
  int FPosition = 1;
};

// Reveals the caption with a character that counts up from a space to each next one.
class TVxLabelSpecial : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelSpecial, TVxLabelBehavior)
public:
  explicit TVxLabelSpecial(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
  ~TVxLabelSpecial() override;
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value) { ChangeValue(FInterval, Value); }

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  unsigned FInterval = 20;
  int FPosition = 1;
  int FCode = 32;
};

// Random characters settle one by one into DecodedText, which then becomes the caption.
class TVxLabelCodeBreaker : public TVxLabelBehavior {
  LORM_PUBLISHED(TVxLabelCodeBreaker, TVxLabelBehavior)
public:
  explicit TVxLabelCodeBreaker(TVxCustomBehaviorLabel* ALabel) : TVxLabelBehavior(ALabel, StaticClass()) {}
  ~TVxLabelCodeBreaker() override;
  // A plain value: a change takes effect at the next tick or start.
  std::string DecodedText;
  int Interval() const { return FInterval; }
  void SetInterval(int Value) { ChangeValue(FInterval, Value); }

protected:
  void Start() override;
  void Stop() override;
  void Tick() override;

private:
  std::string GetDecodedText() const { return DecodedText; }
  void SetDecodedText(const std::string& Value) { DecodedText = Value; }
  std::string FWorking;  // in the ANSI code page
  int FInterval = 10;
  int FPosition = 1;
  bool FDecoded = false;
};
