#pragma once
// The program's embedded resources. Every file under resources/ is compiled into the
// binary; its type comes from its folder and its name from its file name without the
// extension:
//   resources/bitmaps/DIZSPINUP.bmp -> RT_BITMAP, "DIZSPINUP"
//   resources/icons/MAIN.ico        -> RT_GROUP_ICON (also found as RT_ICON), "MAIN"
//   resources/cursors/HAND.cur      -> RT_GROUP_CURSOR (also found as RT_CURSOR), "HAND"
//   resources/rcdata/LOGO.png       -> RT_RCDATA, "LOGO"
//   resources/html/…                -> RT_HTML; resources/<other>/… -> the named type "<OTHER>"
// A file name of digits is a numeric id: resources/rcdata/123.png is RT_RCDATA #123.
// Names and named types are case-insensitive. Bitmaps, icons and cursors are kept as
// whole .bmp/.ico/.cur files.
#include "platform/image/RawImage.h"

#include <optional>
#include <string>

// Resource types with their Windows numbers.
constexpr int RT_CURSOR = 1;
constexpr int RT_BITMAP = 2;
constexpr int RT_ICON = 3;
constexpr int RT_MENU = 4;
constexpr int RT_DIALOG = 5;
constexpr int RT_STRING = 6;
constexpr int RT_FONT = 8;
constexpr int RT_RCDATA = 10;
constexpr int RT_GROUP_CURSOR = 12;
constexpr int RT_GROUP_ICON = 14;
constexpr int RT_VERSION = 16;
constexpr int RT_HTML = 23;
constexpr int RT_MANIFEST = 24;

// A resource type or name: a number (written "#123" as text) or a case-insensitive name.
class TResourceId {
public:
  TResourceId(int id);
  TResourceId(const char* name);
  TResourceId(const std::string& name);
  bool IsNumeric() const { return FNumeric; }
  // "#123" for numbers, the upper-cased name otherwise.
  const std::string& Key() const { return FKey; }
  bool operator==(const TResourceId& other) const { return FKey == other.FKey; }

private:
  std::string FKey;
  bool FNumeric = false;
};

// The bytes of a resource, or nothing when there is none of that type and name.
std::optional<TBytesView> FindResourceData(const TResourceId& type, const TResourceId& name);
// The same, raising EResNotFound ("Resource NAME not found") when it is missing.
TBytesView GetResourceData(const TResourceId& type, const TResourceId& name);

// Adds (or replaces) a resource at run time; the bytes are copied. Lets tests and
// plug-ins provide resources the build did not embed.
void RegisterResource(const TResourceId& type, const TResourceId& name, TBytesView data);
// Removes a resource added with RegisterResource; embedded ones stay.
void UnregisterResource(const TResourceId& type, const TResourceId& name);
