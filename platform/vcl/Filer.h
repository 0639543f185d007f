#pragma once
// Stored forms: the text form ("object Form1: TForm1 … end") and the binary form
// ("TPF0"), their conversion, and the reader and writer that move components to and from
// them through the published properties.
//
// Both forms parse into one tree (TFormObject); the reader applies a tree to components
// and the writer builds one from them, so text and binary share all component logic.
// Reading creates the components in stream order with the root as owner, sets
// properties in stream order, binds events to the root's handlers by method name, fixes
// component references up after the whole stream and then calls Loaded once per
// component. Errors raise EReadError "Error reading <component>.<property>: <reason>
// (line <n>)" (binary streams have no lines).
#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/TypInfo.h"

// Value types of the binary form.
enum TValueType : uint8_t {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String, vaDouble
};

// ---------------------------------------------------------------------------------------
// The form tree.
struct TFormProperty;
struct TFormItem;

struct TFormValue {
  enum TKind { vkInt, vkFloat, vkString, vkIdent, vkBool, vkNil, vkSet, vkList, vkBinary, vkCollection };
  TKind Kind = vkNil;
  int64_t Int = 0;
  long double Float = 0;
  TFloatType FloatType = ftExtended;  // ftSingle, ftDouble, ftExtended, ftCurr
  bool IsDate = false;
  bool Bool = false;
  bool Wide = false;                  // a string held as UTF-16 in the binary form
  std::string Str;                    // strings (UTF-8), identifiers, binary bytes
  std::vector<std::string> SetItems;
  std::vector<TFormValue> List;
  std::vector<TFormItem> Items;       // collection items
  int Line = 0;

  // Defined below, once TFormItem is complete.
  static TFormValue MakeInt(int64_t v);
  static TFormValue MakeString(std::string s);
  static TFormValue MakeIdent(std::string s);
  static TFormValue MakeBool(bool b);
};

struct TFormProperty {
  std::string Name;  // may be a dotted path ("Font.Name")
  TFormValue Value;
  int Line = 0;
};

struct TFormItem {
  std::optional<int64_t> Order;
  std::vector<TFormProperty> Props;
  int Line = 0;
};

inline TFormValue TFormValue::MakeInt(int64_t v) { TFormValue r; r.Kind = vkInt; r.Int = v; return r; }
inline TFormValue TFormValue::MakeString(std::string s) { TFormValue r; r.Kind = vkString; r.Str = std::move(s); return r; }
inline TFormValue TFormValue::MakeIdent(std::string s) { TFormValue r; r.Kind = vkIdent; r.Str = std::move(s); return r; }
inline TFormValue TFormValue::MakeBool(bool b) { TFormValue r; r.Kind = vkBool; r.Bool = b; return r; }

struct TFormObject {
  enum TKind { okObject, okInherited, okInline };
  TKind Kind = okObject;
  std::string Name;
  std::string ClassName;
  std::optional<int64_t> ChildPos;
  std::vector<TFormProperty> Props;
  std::vector<TFormObject> Children;
  int Line = 0;
};

// Text form: parsing raises EParserError-like EReadError "<reason> on line <n>".
TFormObject ParseTextForm(const std::string& Text);
std::string FormatTextForm(const TFormObject& Object);
// Binary form, with its "TPF0" signature.
TFormObject ReadBinaryForm(TStream& Stream);
void WriteBinaryForm(TStream& Stream, const TFormObject& Object);

void ObjectTextToBinary(TStream& Input, TStream& Output);
void ObjectBinaryToText(TStream& Input, TStream& Output);
std::string ObjectTextToBinary(const std::string& Text);
std::string ObjectBinaryToText(const std::string& Binary);

// ---------------------------------------------------------------------------------------
class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader& Reader)>;
using TWriterProc = std::function<void(TWriter& Writer)>;
using TStreamProc = std::function<void(TStream& Stream)>;

// What DefineProperties sees: a reader or a writer.
class TFiler : public TObject {
  LORM_CLASS(TFiler, TObject)
public:
  // A stored value that is not a published property. The writer stores it when HasData.
  virtual void DefineProperty(const std::string& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  // The same for raw bytes (written as {hex} in the text form).
  virtual void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;
  TComponent* Root() const { return FRoot; }
  TComponent* LookupRoot() const { return FRoot; }
  // The ancestor being compared with when writing (no form inheritance here: null).
  TPersistent* Ancestor() const { return nullptr; }

protected:
  TComponent* FRoot = nullptr;
};

// Finds a component named in a reference that is not in the root being read
// ("Form2.Button1"); the window system installs a lookup over the screen's forms.
using TFindGlobalComponent = std::function<TComponent*(const std::string& Name)>;
void SetFindGlobalComponent(TFindGlobalComponent Finder);

class TReader : public TFiler {
  LORM_CLASS(TReader, TFiler)
public:
  TReader() = default;
  ~TReader() override = default;

  // Reads the tree into Root (created from the tree's class when null, without owner).
  TComponent* ReadRootComponent(const TFormObject& Tree, TComponent* Root);

  void DefineProperty(const std::string& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Values for DefineProperty read procedures.
  TFormValue::TKind NextValue() const;
  const TFormValue& ReadValue();
  int64_t ReadInteger();
  std::string ReadString();
  std::u16string ReadWideString();
  long double ReadFloat();
  bool ReadBoolean();
  std::string ReadIdent();
  char32_t ReadChar();
  void ReadListBegin();
  bool EndOfList() const;
  void ReadListEnd();
  void ReadCollection(TCollection* Collection);
  void SkipValue() { ReadValue(); }

  TComponent* Owner() const { return FRoot; }
  TComponent* Parent() const { return FParent; }

private:
  struct TFrame {
    const TFormValue* Values;
    size_t Count;
    size_t Index;
  };
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Name;
    std::string Where;
    int Line;
  };
  TComponent* ReadComponent(const TFormObject& Node, TComponent* Parent);
  void ReadProperties(TObject* Instance, const std::vector<TFormProperty>& Props,
                      const std::string& Where);
  void ReadProperty(TObject* Instance, const TFormProperty& Prop);
  void SetPropValue(TObject* Instance, const TPropInfo* Prop, const TFormValue& Value);
  void ReadCollectionValue(TCollection* Collection, const TFormValue& Value);
  void ReadStringsValue(TStrings* Strings, const TFormValue& Value);
  void FixupReferences();
  [[noreturn]] void InvalidValue() const;

  std::vector<TFrame> FFrames;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
  TComponent* FParent = nullptr;
  std::string FWhere;                 // "Form1" or "Form1.Panels[0]", for messages
  std::string FPath;                  // the property being read: "Form1.Font.Name"
  const std::string* FPropName = nullptr;
  const TFormValue* FPropValue = nullptr;
  bool FPropHandled = false;
  int FLine = 0;
};

class TWriter : public TFiler {
  LORM_CLASS(TWriter, TFiler)
public:
  TWriter() = default;
  ~TWriter() override = default;

  TFormObject WriteRootComponent(TComponent* Root);
  // Writes a component with its children as the root of a stream.
  TFormObject WriteDescendent(TComponent* Root) { return WriteRootComponent(Root); }

  void DefineProperty(const std::string& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Values for DefineProperty write procedures.
  void WriteValue(TFormValue Value);
  void WriteInteger(int64_t Value) { WriteValue(TFormValue::MakeInt(Value)); }
  void WriteString(const std::string& Value) { WriteValue(TFormValue::MakeString(Value)); }
  void WriteWideString(const std::u16string& Value);
  void WriteFloat(long double Value);
  void WriteDouble(double Value);
  void WriteSingle(float Value);
  void WriteBoolean(bool Value) { WriteValue(TFormValue::MakeBool(Value)); }
  void WriteIdent(const std::string& Value) { WriteValue(TFormValue::MakeIdent(Value)); }
  void WriteChar(char32_t Value);
  void WriteListBegin();
  void WriteListEnd();
  void WriteCollection(TCollection* Collection);

private:
  void WriteComponent(TComponent* Component, std::vector<TFormObject>& Out);
  void WriteProperties(TObject* Instance, const std::string& Prefix,
                       std::vector<TFormProperty>& Out);
  void WriteProperty(TObject* Instance, const TPropInfo* Prop, const std::string& Prefix,
                     std::vector<TFormProperty>& Out);
  TFormValue CollectionValue(TCollection* Collection);
  std::string ReferenceName(TComponent* Component) const;

  std::vector<std::vector<TFormValue>*> FTargets;
  std::vector<TFormProperty>* FDefineOut = nullptr;
  std::string FDefinePrefix;
};

// ---------------------------------------------------------------------------------------
// Components and streams.
// Reads a text form into Instance (or a new component of the form's class).
TComponent* ReadComponentFromText(const std::string& Text, TComponent* Instance = nullptr);
std::string WriteComponentToText(TComponent* Root);
// Binary form with the "TPF0" signature, read and written at the stream's position.
void WriteComponent(TStream& Stream, TComponent* Instance);
TComponent* ReadComponent(TStream& Stream, TComponent* Instance = nullptr);

// ---------------------------------------------------------------------------------------
// Stored forms by form class name. The forms/ folder is embedded at build time; tests
// and programs may register more.
void RegisterStoredForm(const std::string& ClassName, const std::string& Text);
std::optional<std::string> FindStoredForm(const std::string& ClassName);
// Reads Root's stored form (found by its class name) into it; false when there is none.
bool LoadStoredForm(TComponent* Root);
