#pragma once
// The Win32 resource calls over the program's embedded resources (platform/image/
// Resources.h): finding and locking raw resources, and loading bitmaps, icons, cursors
// and images from resources or files.
//
// Types and names are given as the calls take them: a MAKEINTRESOURCE id, a string
// ("NAME" or "#123"), or a number; the resource types are the RT_* numbers of
// Resources.h. The module handle may be nullptr or GetModuleHandle(nullptr): this program
// is one module. For LoadIcon, LoadCursor and LoadImage a nullptr module with an id of
// the system's range asks for a system icon or cursor (IDI_*, IDC_*).
#include <string>

#include "platform/image/Resources.h"
#include "platform/win/WinIcon.h"
#include "platform/win/WinUser.h"

// A resource type or name as a Win32 call receives it.
class TResName {
public:
  TResName(LPCSTR name);  // a MAKEINTRESOURCE value or a zero-terminated string
  TResName(int id);
  TResName(const std::string& name);
  bool IsId() const { return FIsId; }
  int Id() const { return FId; }           // IsId() only
  const std::string& Text() const { return FText; }  // the string as given (not IsId())
  bool Empty() const { return !FIsId && FText.empty(); }
  TResourceId Key() const;

private:
  bool FIsId = false;
  int FId = 0;
  std::string FText;
};

struct HRSRC__;
using HRSRC = HRSRC__*;

HRSRC FindResource(HMODULE module, TResName name, TResName type);
HRSRC FindResourceEx(HMODULE module, TResName type, TResName name, WORD language);
// The data handle of a found resource; LockResource gives its first byte. Resource data
// stays valid for the life of the program, even when a test registers the resource again.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
void* LockResource(HGLOBAL data);  // read-only data, as resources are
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);  // nothing to free: FALSE, as the system answers

// System icons for LoadIcon(nullptr, IDI_*).
enum : int {
  OIC_SAMPLE = 32512, OIC_HAND = 32513, OIC_QUES = 32514, OIC_BANG = 32515, OIC_NOTE = 32516,
  OIC_WINLOGO = 32517, OIC_SHIELD = 32518,
};
inline LPCSTR const IDI_APPLICATION = MAKEINTRESOURCE(OIC_SAMPLE);
inline LPCSTR const IDI_HAND = MAKEINTRESOURCE(OIC_HAND);
inline LPCSTR const IDI_ERROR = IDI_HAND;
inline LPCSTR const IDI_QUESTION = MAKEINTRESOURCE(OIC_QUES);
inline LPCSTR const IDI_EXCLAMATION = MAKEINTRESOURCE(OIC_BANG);
inline LPCSTR const IDI_WARNING = IDI_EXCLAMATION;
inline LPCSTR const IDI_ASTERISK = MAKEINTRESOURCE(OIC_NOTE);
inline LPCSTR const IDI_INFORMATION = IDI_ASTERISK;
inline LPCSTR const IDI_WINLOGO = MAKEINTRESOURCE(OIC_WINLOGO);
inline LPCSTR const IDI_SHIELD = MAKEINTRESOURCE(OIC_SHIELD);

// System bitmaps for LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_*)).
enum : int { OBM_COMBO = 32738 };

// A bitmap resource (RT_BITMAP) as a new 32-bit bitmap the caller deletes. With no
// instance, OBM_COMBO gives the system's combo-box arrow: a black triangle pointing down
// on the button face colour.
HBITMAP LoadBitmap(HINSTANCE instance, TResName name);
// An icon resource (RT_GROUP_ICON) at the system icon size (SM_CXICON), or a system
// icon. Shared: the same handle every time; not to be destroyed.
HICON LoadIcon(HINSTANCE instance, TResName name);
// LoadCursor (WinUser.h) finds cursor resources (RT_GROUP_CURSOR) through this, at the
// system cursor size; shared like LoadIcon's.
HCURSOR LoadCursorResource(HINSTANCE instance, LPCSTR name);

enum : UINT { IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2, IMAGE_ENHMETAFILE = 3 };
// A bitmap, icon or cursor from a resource or, with LR_LOADFROMFILE, from the file
// `name`. cx, cy: the size wanted (0: the image's own, or the system size with
// LR_DEFAULTSIZE for icons and cursors); bitmaps are stretched to it. LR_SHARED gives the
// same handle for the same request (icons and cursors). Null when nothing is found or
// the data is damaged.
HANDLE LoadImage(HINSTANCE instance, TResName name, UINT type, int cx, int cy, UINT flags);
