// The open and save dialogs' window: folder path field and "up" button, the list of
// sub-folders and matching files, the name field, the filter combo, OK and Cancel.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Dialogs.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPlacesWidth = 100;  // the bar of places along the left side
constexpr int kClientWidth = 480 + kPlacesWidth + 6;
constexpr int kClientHeight = 310;
constexpr int kPad = 8;
constexpr int kFieldLeft = 92;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 23;
constexpr int kHeaderHeight = 18;
constexpr int kSizeColumn = 80;
constexpr int kDateColumn = 110;

std::string TrimSpaces(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::string Lower(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return r;
}

std::string Normal(const fs::path& p) {
  std::error_code ec;
  std::string s = fs::absolute(p, ec).lexically_normal().string();
  if (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// Small pictures drawn with GDI shapes: a folder, a page, and the folder with an up arrow.
struct TPenBrush {
  HDC DC;
  HGDIOBJ OldPen, OldBrush;
  TPenBrush(HDC dc, COLORREF pen, COLORREF brush)
      : DC(dc), OldPen(SelectObject(dc, CreatePen(PS_SOLID, 1, pen))), OldBrush(SelectObject(dc, CreateSolidBrush(brush))) {}
  ~TPenBrush() {
    DeleteObject(SelectObject(DC, OldPen));
    DeleteObject(SelectObject(DC, OldBrush));
  }
};

void DrawFolder(HDC dc, int x, int y, bool enabled = true) {
  COLORREF outline = enabled ? RGB(128, 96, 0) : RGB(128, 128, 128);
  COLORREF face = enabled ? RGB(255, 224, 112) : RGB(212, 208, 200);
  TPenBrush pb(dc, outline, face);
  POINT tab[4] = {{x + 1, y + 4}, {x + 2, y + 2}, {x + 6, y + 2}, {x + 7, y + 4}};
  Polygon(dc, tab, 4);
  Rectangle(dc, x + 1, y + 4, x + 15, y + 14);
  TPenBrush light(dc, enabled ? RGB(255, 248, 200) : RGB(240, 240, 240), face);
  MoveToEx(dc, x + 2, y + 5, nullptr);
  LineTo(dc, x + 14, y + 5);
}

void DrawPage(HDC dc, int x, int y) {
  TPenBrush pb(dc, RGB(96, 96, 96), RGB(255, 255, 255));
  POINT page[5] = {{x + 3, y + 1}, {x + 10, y + 1}, {x + 13, y + 4}, {x + 13, y + 15}, {x + 3, y + 15}};
  Polygon(dc, page, 5);
  MoveToEx(dc, x + 10, y + 1, nullptr);
  LineTo(dc, x + 10, y + 4);
  LineTo(dc, x + 14, y + 4);
  TPenBrush lines(dc, RGB(160, 176, 208), RGB(255, 255, 255));
  for (int ly = y + 7; ly <= y + 12; ly += 2) {
    MoveToEx(dc, x + 5, ly, nullptr);
    LineTo(dc, x + 12, ly);
  }
}

void DrawUpFolder(HDC dc, const TRect& r, bool enabled) {
  int x = r.Left + (r.Width() - 16) / 2 - 1, y = r.Top + (r.Height() - 16) / 2 + 1;
  DrawFolder(dc, x, y, enabled);
  COLORREF arrow = enabled ? RGB(0, 0, 0) : RGB(128, 128, 128);
  TPenBrush pb(dc, arrow, arrow);
  POINT head[3] = {{x + 11, y - 2}, {x + 15, y + 2}, {x + 7, y + 2}};
  Polygon(dc, head, 3);
  Rectangle(dc, x + 10, y + 2, x + 13, y + 9);
}

// 32 x 32 pictures of the places, drawn on a magenta background that the button leaves
// out (its bottom-left pixel).
void DrawDesktopPlace(HDC dc) {
  {
    TPenBrush body(dc, RGB(64, 64, 64), RGB(192, 192, 192));
    Rectangle(dc, 3, 4, 29, 23);
    Rectangle(dc, 11, 25, 21, 28);
  }
  TPenBrush screen(dc, RGB(0, 48, 128), RGB(58, 110, 165));
  Rectangle(dc, 6, 7, 26, 20);
  TPenBrush hill(dc, RGB(64, 140, 64), RGB(96, 176, 72));
  POINT land[4] = {{7, 19}, {14, 13}, {19, 16}, {25, 19}};
  Polygon(dc, land, 4);
  TPenBrush stand(dc, RGB(64, 64, 64), RGB(128, 128, 128));
  Rectangle(dc, 14, 23, 18, 26);
}

void DrawHomePlace(HDC dc) {
  {
    TPenBrush walls(dc, RGB(128, 96, 48), RGB(255, 240, 200));
    Rectangle(dc, 7, 14, 26, 29);
  }
  {
    TPenBrush roof(dc, RGB(128, 32, 16), RGB(208, 64, 32));
    POINT r[3] = {{3, 15}, {16, 3}, {29, 15}};
    Polygon(dc, r, 3);
  }
  {
    TPenBrush door(dc, RGB(96, 64, 16), RGB(160, 112, 48));
    Rectangle(dc, 10, 19, 16, 29);
  }
  TPenBrush window(dc, RGB(0, 48, 128), RGB(160, 200, 240));
  Rectangle(dc, 18, 18, 24, 24);
}

void DrawComputerPlace(HDC dc) {
  {
    TPenBrush box(dc, RGB(64, 64, 64), RGB(212, 208, 200));
    POINT top[4] = {{4, 12}, {9, 7}, {29, 7}, {24, 12}};
    Polygon(dc, top, 4);
    POINT side[4] = {{24, 12}, {29, 7}, {29, 19}, {24, 24}};
    Polygon(dc, side, 4);
    Rectangle(dc, 4, 12, 25, 25);
  }
  TPenBrush light(dc, RGB(0, 96, 0), RGB(64, 224, 64));
  Rectangle(dc, 19, 19, 22, 22);
  TPenBrush slot(dc, RGB(64, 64, 64), RGB(64, 64, 64));
  MoveToEx(dc, 7, 16, nullptr);
  LineTo(dc, 18, 16);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

}  // namespace

std::vector<TFileDialogForm::TPlace> TFileDialogForm::Places() {
  std::vector<TPlace> places;
  const char* home = std::getenv("HOME");
  std::string h = home ? Normal(home) : std::string();
  if (IsFolder(h)) {
    for (const char* desk : {"Desktop", "Рабочий стол"}) {
      std::string d = (fs::path(h) / desk).string();
      if (IsFolder(d)) {
        places.push_back({"Рабочий стол", d});
        break;
      }
    }
    places.push_back({"Домашняя папка", h});
  }
  places.push_back({"Компьютер", "/"});
  return places;
}

std::string TFileDialogForm::SizeText(const TEntry& Entry) {
  if (Entry.Folder) return std::string();
  std::uintmax_t kb = (Entry.Size + 1023) / 1024;
  std::string digits = std::to_string(kb), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return out + " КБ";
}

std::string TFileDialogForm::ModifiedText(const TEntry& Entry) {
  if (Entry.Modified < 0) return std::string();
  std::time_t t = std::time_t(Entry.Modified);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return std::string();
  char buf[32];
  std::strftime(buf, sizeof buf, "%d.%m.%Y %H:%M", &tm);
  return buf;
}

void TFileListHeader::Paint() {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->GetHandle();
  HTHEME theme = OpenThemeData(nullptr, "header");
  int x = 0, w = Width(), h = Height();
  canvas->Font()->SetColor(clBtnText);
  for (size_t i = 0; i < Columns.size(); ++i) {
    const TColumn& c = Columns[i];
    int right = i + 1 == Columns.size() ? w : std::min(w, x + c.Width);
    RECT r{x, 0, right, h};
    if (theme) {
      DrawThemeBackground(theme, dc, HP_HEADERITEM, HIS_NORMAL, &r, nullptr);
    } else {
      canvas->Brush()->SetColor(clBtnFace);
      canvas->FillRect(TRect{r.left, r.top, r.right, r.bottom});
      RECT e = r;
      DrawEdge(dc, &e, EDGE_RAISED, BF_RECT | BF_SOFT);
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect text{r.left + 6, r.top, r.right - 6, r.bottom - 1};
    std::string caption = c.Caption;
    canvas->TextRect(text, caption,
                     TTextFormat{tfSingleLine, tfVerticalCenter, tfEndEllipsis, c.Right ? tfRight : tfLeft});
    canvas->Brush()->SetStyle(bsSolid);
    x = right;
  }
  if (theme) CloseThemeData(theme);
}

// ---------------------------------------------------------------------------------------
void TPictureButton::PaintButton(HDC DC) {
  TButton::PaintButton(DC);
  if (!DrawPicture) return;
  TRect r = ClientRect();
  if (FPressed) {
    r.Left += 1;
    r.Top += 1;
    r.Right += 1;
    r.Bottom += 1;
  }
  DrawPicture(DC, r, Enabled());
}

// ---------------------------------------------------------------------------------------
TFileDialogForm::TFileDialogForm(TOpenDialog* Dialog, const TFileDialogRequest& Request)
    : TForm(nullptr), FDialog(Dialog), FRequest(Request), FFilters(ParseFilter(Request.Filter)) {
  bool sizing = Request.Options.Contains(ofEnableSizing);
  SetBorderStyle(sizing ? bsSizeable : bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetPosition(poMainFormCenter);
  SetCaption(Request.Title);
  bool readOnlyBox = !Request.Options.Contains(ofHideReadOnly);
  int W = kClientWidth, H = kClientHeight + (readOnlyBox ? 22 : 0);
  SetClientSize(W, H);
  const TAnchors top{akLeft, akTop, akRight};
  const TAnchors bottom{akLeft, akRight, akBottom};
  const TAnchors corner{akRight, akBottom};
  int rowName = H - (readOnlyBox ? 84 : 62);
  int rowType = rowName + 30;

  auto label = [this](const char* name, const std::string& caption, int x, int y, TAnchors anchors) {
    auto* l = new TLabel(this);
    l->SetName(name);
    l->SetCaption(caption);
    l->SetLeft(x);
    l->SetTop(y);
    l->SetAnchors(anchors);
    l->SetParent(this);
    return l;
  };

  // The places: flat buttons with a picture above the name on a darker bar (the text
  // keeps the usual colour: a hot flat button is drawn light); a click opens
  // the place.
  PlacesBar = new TPanel(this);
  PlacesBar->SetName("PlacesBar");
  PlacesBar->SetCaption("");
  PlacesBar->SetBevelOuter(bvLowered);
  PlacesBar->SetColor(clBtnShadow);
  PlacesBar->SetParentBackground(false);
  PlacesBar->SetBounds(kPad, 40, kPlacesWidth, H - 40 - kPad);
  PlacesBar->SetAnchors(TAnchors{akLeft, akTop, akBottom});
  PlacesBar->SetParent(this);
  int placeTop = 2;
  for (const TPlace& place : Places()) {
    auto* b = new TSpeedButton(this);
    b->SetCaption(place.Caption);
    b->SetFlat(true);
    b->SetLayout(blGlyphTop);
    b->SetBounds(2, placeTop, kPlacesWidth - 4, 58);
    auto glyph = std::make_unique<TBitmap>();
    glyph->SetSize(32, 32);
    TCanvas* gc = glyph->Canvas();
    gc->Brush()->SetColor(RGB(255, 0, 255));
    gc->FillRect(TRect{0, 0, 32, 32});
    HDC dc = gc->GetHandle();
    if (place.Folder == "/") DrawComputerPlace(dc);
    else if (place.Caption == "Рабочий стол") DrawDesktopPlace(dc);
    else DrawHomePlace(dc);
    b->SetGlyph(glyph.get());
    std::string folder = place.Folder;
    b->OnClick = [this, folder](TObject*) { ChangeFolder(folder); };
    b->SetParent(PlacesBar);
    PlaceButtons.push_back(b);
    placeTop += 60;
  }
  const int left = kPad + kPlacesWidth + 6;          // the list and the fields' labels
  const int fieldLeft = left + (kFieldLeft - kPad);  // the fields

  FolderLabel = label("FolderLabel", "&Папка:", kPad, 13, TAnchors{akLeft, akTop});
  PathEdit = new TEdit(this);
  PathEdit->SetName("PathEdit");
  PathEdit->SetBounds(kFieldLeft - 30, 10, W - (kFieldLeft - 30) - kPad - 30, 21);
  PathEdit->SetAnchors(top);
  PathEdit->SetTabOrder(0);
  PathEdit->SetParent(this);
  FolderLabel->SetFocusControl(PathEdit);

  UpButton = new TPictureButton(this);
  UpButton->SetName("UpButton");
  UpButton->SetCaption("");
  UpButton->SetBounds(W - kPad - 25, 9, 25, 23);
  UpButton->SetAnchors(TAnchors{akTop, akRight});
  UpButton->SetTabOrder(1);
  UpButton->SetHint("На один уровень вверх");
  UpButton->DrawPicture = DrawUpFolder;
  UpButton->OnClick = [this](TObject*) {
    fs::path parent = fs::path(FFolder).parent_path();
    if (!parent.empty() && parent.string() != FFolder) ChangeFolder(parent.string());
  };
  UpButton->SetParent(this);

  FileList = new TListBox(this);
  FileList->SetName("FileList");
  FileList->SetStyle(lbOwnerDrawFixed);
  FileList->SetItemHeight(18);
  ListHeader = new TFileListHeader(this);
  ListHeader->SetName("ListHeader");
  ListHeader->SetBounds(left, 40, W - left - kPad, kHeaderHeight);
  ListHeader->SetAnchors(top);
  ListHeader->Columns = {{"Имя", W - left - kPad - kSizeColumn - kDateColumn, false},
                         {"Размер", kSizeColumn, true},
                         {"Изменён", kDateColumn, false}};
  ListHeader->SetParent(this);
  FileList->SetBounds(left, 40 + kHeaderHeight, W - left - kPad, rowName - 40 - kHeaderHeight - 10);
  FileList->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  FileList->SetMultiSelect(Request.Options.Contains(ofAllowMultiSelect));
  FileList->SetTabOrder(2);
  FileList->OnDrawItem = [this](TWinControl* c, int i, TRect r, TOwnerDrawState s) { DrawEntry(c, i, r, s); };
  FileList->OnClick = [this](TObject* s) { ListClick(s); };
  FileList->OnDblClick = [this](TObject* s) { ListDblClick(s); };
  FileList->OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { ListKeyDown(s, k, sh); };
  FileList->SetParent(this);

  int fieldW = W - fieldLeft - 2 * kPad - kButtonWidth;
  NameLabel = label("NameLabel", "&Имя файла:", left, rowName + 3, TAnchors{akLeft, akBottom});
  NameEdit = new TEdit(this);
  NameEdit->SetName("NameEdit");
  NameEdit->SetBounds(fieldLeft, rowName, fieldW, 21);
  NameEdit->SetAnchors(bottom);
  NameEdit->SetTabOrder(3);
  NameEdit->SetText(Request.FileName);
  NameEdit->SetParent(this);
  NameLabel->SetFocusControl(NameEdit);

  OkButton = new TButton(this);
  OkButton->SetName("OkButton");
  OkButton->SetCaption(Request.Save ? "&Сохранить" : "&Открыть");
  OkButton->SetBounds(W - kPad - kButtonWidth, rowName - 1, kButtonWidth, kButtonHeight);
  OkButton->SetAnchors(corner);
  OkButton->SetDefault(true);
  OkButton->SetTabOrder(5);
  OkButton->OnClick = [this](TObject*) { Confirm(); };
  OkButton->SetParent(this);

  TypeLabel = label("TypeLabel", "&Тип файлов:", left, rowType + 3, TAnchors{akLeft, akBottom});
  FilterCombo = new TComboBox(this);
  FilterCombo->SetName("FilterCombo");
  FilterCombo->SetStyle(csDropDownList);
  FilterCombo->SetBounds(fieldLeft, rowType, fieldW, 21);
  FilterCombo->SetAnchors(bottom);
  FilterCombo->SetTabOrder(4);
  FilterCombo->SetParent(this);
  for (const TFilterItem& f : FFilters) FilterCombo->Items()->Add(f.Description);
  if (!FFilters.empty()) FilterCombo->SetItemIndex(std::clamp(Request.FilterIndex, 1, int(FFilters.size())) - 1);
  else FilterCombo->SetEnabled(false);
  FilterCombo->OnSelect = [this](TObject* s) { FilterChange(s); };
  TypeLabel->SetFocusControl(FilterCombo);

  CancelButton = new TButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetCaption("Отмена");
  CancelButton->SetBounds(W - kPad - kButtonWidth, rowType - 1, kButtonWidth, kButtonHeight);
  CancelButton->SetAnchors(corner);
  CancelButton->SetCancel(true);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetTabOrder(6);
  CancelButton->SetParent(this);

  if (readOnlyBox) {
    ReadOnlyCheck = new TCheckBox(this);
    ReadOnlyCheck->SetName("ReadOnlyCheck");
    ReadOnlyCheck->SetCaption("Только &чтение");
    ReadOnlyCheck->SetBounds(fieldLeft, rowType + 28, 200, 17);
    ReadOnlyCheck->SetAnchors(TAnchors{akLeft, akBottom});
    ReadOnlyCheck->SetCheckedValue(Request.Options.Contains(ofReadOnly));
    ReadOnlyCheck->SetTabOrder(7);
    ReadOnlyCheck->SetParent(this);
  }

  // Start in the requested folder; one that cannot be read falls back to its nearest
  // readable parent.
  fs::path start = Request.InitialDir.empty() ? fs::path(".") : fs::path(Request.InitialDir);
  std::error_code ec;
  std::string folder = Normal(start);
  for (;;) {
    fs::directory_iterator probe(folder, ec);
    if (!ec) break;
    std::string parent = fs::path(folder).parent_path().string();
    if (parent.empty() || parent == folder) {
      folder = "/";
      break;
    }
    folder = parent;
  }
  FFolder = folder;
  ShowPath();
  FillList();
}

void TFileDialogForm::ShowPath() {
  // The end of a long path (the folder's own name) is the part to see.
  PathEdit->SetText(FFolder);
  PathEdit->SetSelStart(int(Utf8ToUtf16(FFolder).size()));
}

void TFileDialogForm::DoShow() {
  TForm::DoShow();
  if (NameEdit->CanFocus()) SetActiveControl(NameEdit);
  NameEdit->SelectAll();
}

int TFileDialogForm::ChosenFilter() const {
  if (FFilters.empty()) return 0;
  int i = const_cast<TComboBox*>(FilterCombo)->ItemIndex();
  return i < 0 ? 1 : i + 1;
}

std::string TFileDialogForm::CurrentMask() const {
  if (!FTypedMask.empty()) return FTypedMask;
  int i = ChosenFilter();
  return i > 0 ? FFilters[size_t(i - 1)].Mask : std::string("*");
}

bool TFileDialogForm::ChangeFolder(const std::string& Folder) {
  std::string target = Normal(fs::path(Folder).is_relative() ? fs::path(FFolder) / Folder : fs::path(Folder));
  std::error_code ec;
  fs::directory_iterator probe(target, ec);
  if (ec) {
    ShowMessageBox(target + "\nНет доступа к папке.", FRequest.Title, MB_OK | MB_ICONWARNING);
    return false;
  }
  FFolder = target;
  ShowPath();
  FillList();
  if (FDialog->OnFolderChange) FDialog->OnFolderChange(FDialog);
  return true;
}

void TFileDialogForm::FillList() {
  std::vector<TEntry> folders, files;
  std::string mask = CurrentMask();
  bool hidden = FRequest.Options.Contains(ofForceShowHidden);
  std::error_code ec;
  for (fs::directory_iterator it(FFolder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || (name[0] == '.' && !hidden)) continue;
    std::error_code ec2;
    TEntry e;
    e.Name = name;
    e.Folder = it->is_directory(ec2);
    if (!e.Folder && !MatchesMask(name, mask)) continue;
    struct stat st{};
    if (::stat(it->path().c_str(), &st) == 0) {
      e.Size = std::uintmax_t(st.st_size);
      e.Modified = (long long)(st.st_mtime);
    }
    (e.Folder ? folders : files).push_back(std::move(e));
  }
  auto byName = [](const TEntry& a, const TEntry& b) {
    std::string la = Lower(a.Name), lb = Lower(b.Name);
    return la != lb ? la < lb : a.Name < b.Name;
  };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  FEntries = std::move(folders);
  FEntries.insert(FEntries.end(), files.begin(), files.end());
  TStrings* items = FileList->Items();
  items->BeginUpdate();
  items->Clear();
  for (const TEntry& e : FEntries) items->Add(e.Name);
  items->EndUpdate();
  fs::path parent = fs::path(FFolder).parent_path();
  UpButton->SetEnabled(!parent.empty() && parent.string() != FFolder);
}

std::vector<std::string> TFileDialogForm::TypedNames() const {
  std::string text = TrimSpaces(NameEdit->Text());
  std::vector<std::string> names;
  if (text.empty()) return names;
  if (text[0] != '"') {
    names.push_back(text);
    return names;
  }
  // Several names in double quotes ("a.cnv" "b.cnv"); text outside quotes is ignored.
  size_t pos = 0;
  while ((pos = text.find('"', pos)) != std::string::npos) {
    size_t end = text.find('"', pos + 1);
    if (end == std::string::npos) {
      std::string rest = TrimSpaces(text.substr(pos + 1));
      if (!rest.empty()) names.push_back(rest);
      break;
    }
    std::string n = TrimSpaces(text.substr(pos + 1, end - pos - 1));
    if (!n.empty()) names.push_back(n);
    pos = end + 1;
  }
  return names;
}

void TFileDialogForm::Confirm() {
  TWinControl* active = ActiveControl();
  if (active == PathEdit) {
    std::string path = TrimSpaces(PathEdit->Text());
    std::error_code ec;
    fs::path p = fs::path(path).is_relative() ? fs::path(FFolder) / path : fs::path(path);
    if (!path.empty() && fs::is_directory(p, ec)) {
      if (ChangeFolder(p.string())) NameEdit->SetFocus();
    } else {
      ShowMessageBox(path + "\nПуть не существует.\nПроверьте правильность указанного пути.", FRequest.Title,
                     MB_OK | MB_ICONWARNING);
      ShowPath();
    }
    return;
  }
  int index = FileList->ItemIndex();
  bool folderSelected = index >= 0 && index < int(FEntries.size()) && FEntries[size_t(index)].Folder;
  if (active == FileList && folderSelected) {
    OpenEntry(index);
    return;
  }
  std::vector<std::string> names = TypedNames();
  // Names picked from the list go back as the folder holds them: the field shows a name
  // that is not valid UTF-8 with replacement characters.
  if (!FPickedNames.empty() && NameEdit->Text() == FPickedText) names = FPickedNames;
  if (names.empty()) {
    if (folderSelected) OpenEntry(index);
    return;
  }
  if (names.size() == 1) {
    const std::string& n = names[0];
    fs::path p = fs::path(n).is_relative() ? fs::path(FFolder) / n : fs::path(n);
    std::error_code ec;
    if (n.find_first_of("*?") != std::string::npos) {
      // A mask typed into the name field shows the files matching it (in the folder given
      // with it, if any).
      if (p.has_parent_path() && p.parent_path().string() != FFolder && fs::is_directory(p.parent_path(), ec))
        ChangeFolder(p.parent_path().string());
      FTypedMask = p.filename().string();
      FillList();
      return;
    }
    if (fs::is_directory(p, ec)) {
      if (ChangeFolder(p.string())) NameEdit->SetText("");
      return;
    }
  }
  if (FDialog->AcceptNames(names, FFolder, ChosenFilter())) {
    if (ReadOnlyCheck) {
      TOpenOptions o = FDialog->Options();
      if (ReadOnlyCheck->Checked()) o += ofReadOnly;
      else o -= ofReadOnly;
      FDialog->SetOptions(o);
    }
    SetModalResult(mrOk);
  }
}

void TFileDialogForm::OpenEntry(int Index) {
  if (Index < 0 || Index >= int(FEntries.size())) return;
  const TEntry& e = FEntries[size_t(Index)];
  if (e.Folder) {
    std::string target = (fs::path(FFolder) / e.Name).string();
    ChangeFolder(target);
    return;
  }
  NameEdit->SetText(e.Name);
  if (FDialog->AcceptNames({e.Name}, FFolder, ChosenFilter())) SetModalResult(mrOk);
}

void TFileDialogForm::ListClick(TObject*) {
  // Chosen files go into the name field (several in quotes); folders leave it alone.
  std::vector<std::string> chosen;
  for (int i = 0; i < int(FEntries.size()); ++i)
    if (!FEntries[size_t(i)].Folder && FileList->Selected(i)) chosen.push_back(FEntries[size_t(i)].Name);
  if (chosen.size() == 1) NameEdit->SetText(chosen[0]);
  else if (chosen.size() > 1) {
    std::string text;
    for (const std::string& c : chosen) text += (text.empty() ? "\"" : " \"") + c + "\"";
    NameEdit->SetText(text);
  }
  if (!chosen.empty()) {
    FPickedNames = chosen;
    FPickedText = NameEdit->Text();
  }
  if (FDialog->OnSelectionChange) FDialog->OnSelectionChange(FDialog);
}

void TFileDialogForm::ListDblClick(TObject*) { OpenEntry(FileList->ItemIndex()); }

void TFileDialogForm::ListKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (Key == VK_BACK && Shift.Empty()) {
    Key = 0;
    if (UpButton->Enabled()) UpButton->Click();
  }
}

void TFileDialogForm::FilterChange(TObject*) {
  FTypedMask.clear();
  FillList();
  if (FDialog->OnTypeChange) FDialog->OnTypeChange(FDialog);
}

void TFileDialogForm::DrawEntry(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
  (void)State;
  if (Index < 0 || Index >= int(FEntries.size())) return;
  TCanvas* canvas = FileList->Canvas();
  canvas->FillRect(Rect);
  HDC dc = canvas->GetHandle();
  int y = Rect.Top + (Rect.Height() - 16) / 2;
  if (FEntries[size_t(Index)].Folder) DrawFolder(dc, Rect.Left + 2, y);
  else DrawPage(dc, Rect.Left + 2, y);
  canvas->Brush()->SetStyle(bsClear);
  // The columns line up with the headings (the list's frame is as wide as the header's
  // first text margin).
  const TEntry& e = FEntries[size_t(Index)];
  int sizeLeft = std::max(Rect.Left + 60, Rect.Right - kSizeColumn - kDateColumn + 2);
  int dateLeft = sizeLeft + kSizeColumn;
  std::string name = e.Name, size = SizeText(e), date = ModifiedText(e);
  TRect nameBox{Rect.Left + 22, Rect.Top, sizeLeft - 4, Rect.Bottom};
  canvas->TextRect(nameBox, name, TTextFormat{tfSingleLine, tfVerticalCenter, tfEndEllipsis, tfNoPrefix});
  TRect sizeBox{sizeLeft, Rect.Top, dateLeft - 8, Rect.Bottom};
  canvas->TextRect(sizeBox, size, TTextFormat{tfSingleLine, tfVerticalCenter, tfRight, tfNoPrefix});
  TRect dateBox{dateLeft + 4, Rect.Top, Rect.Right, Rect.Bottom};
  canvas->TextRect(dateBox, date, TTextFormat{tfSingleLine, tfVerticalCenter, tfEndEllipsis, tfNoPrefix});
  canvas->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------------------
bool TOpenDialog::ExecuteWindow(const TFileDialogRequest& Request) {
  auto form = std::make_unique<TFileDialogForm>(this, Request);
  return form->ShowModal() == mrOk;
}
