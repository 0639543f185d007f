// The grid's binary cell stream: a sequence of small records in the platform's binary
// component form ("TPF0"), one grid record, then per cell a cell record, a properties
// record, a graphic record and a graphic payload record as the cell needs them. The
// same bytes are the payload of the grid's private clipboard format.
//
// Coordinates are 32-bit. A reader checks every record before it changes the grid: the
// grid record's width and height lists must hold exactly its column and row counts
// (which also bounds the counts by the stream's size), cell records outside the grid
// are skipped, and a record of the wrong class raises EReadError.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Filer.h"
#include "platform/win/WinUser.h"
#include "platform/win/GlobalMemory.h"

namespace {
TFormProperty Prop(const std::string& Name, TFormValue V) {
  TFormProperty p;
  p.Name = Name;
  p.Value = std::move(V);
  return p;
}
TFormValue Int(int64_t v) { return TFormValue::MakeInt(v); }
TFormValue Bool(bool v) { return TFormValue::MakeBool(v); }
TFormValue Str(const std::string& s) { return TFormValue::MakeString(s); }
TFormValue Bin(const std::string& s) {
  TFormValue v;
  v.Kind = TFormValue::vkBinary;
  v.Str = s;
  return v;
}
TFormValue Float(double d) {
  TFormValue v;
  v.Kind = TFormValue::vkFloat;
  v.Float = d;
  v.FloatType = ftDouble;
  return v;
}

void WriteRecord(TStream& S, const std::string& ClassName, std::vector<TFormProperty> Props) {
  TFormObject o;
  o.ClassName = ClassName;
  o.Props = std::move(Props);
  WriteBinaryForm(S, o);
}

// A record read back, with typed access to its fields.
struct TRecord {
  TFormObject O;
  const TFormValue* Find(const std::string& Name) const {
    for (const TFormProperty& p : O.Props)
      if (p.Name == Name) return &p.Value;
    return nullptr;
  }
  int64_t GetInt(const std::string& Name, int64_t Default = 0) const {
    const TFormValue* v = Find(Name);
    if (!v) return Default;
    if (v->Kind != TFormValue::vkInt) throw EReadError("Invalid property value: " + Name);
    return v->Int;
  }
  bool GetBool(const std::string& Name, bool Default = false) const {
    const TFormValue* v = Find(Name);
    if (!v) return Default;
    if (v->Kind != TFormValue::vkBool) throw EReadError("Invalid property value: " + Name);
    return v->Bool;
  }
  std::string GetStr(const std::string& Name) const {
    const TFormValue* v = Find(Name);
    if (!v) return {};
    if (v->Kind != TFormValue::vkString && v->Kind != TFormValue::vkBinary)
      throw EReadError("Invalid property value: " + Name);
    return v->Str;
  }
  double GetFloat(const std::string& Name) const {
    const TFormValue* v = Find(Name);
    if (!v) return 0;
    if (v->Kind == TFormValue::vkInt) return static_cast<double>(v->Int);
    if (v->Kind != TFormValue::vkFloat) throw EReadError("Invalid property value: " + Name);
    return static_cast<double>(v->Float);
  }
};

TRecord ReadRecord(TStream& S, const char* ClassName) {
  TRecord r{ReadBinaryForm(S)};
  if (r.O.ClassName != ClassName) throw EReadError(std::string("Invalid stream format: ") + ClassName + " expected");
  return r;
}

int Clamp32(int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) throw EReadError("Invalid property value");
  return static_cast<int>(v);
}

std::string JoinSizes(const std::vector<int>& v) {
  std::string s;
  for (size_t i = 0; i < v.size(); ++i) {
    if (i) s += ',';
    s += std::to_string(v[i]);
  }
  return s;
}

// Strict: exactly Count decimal integers joined by ",".
std::vector<int> SplitSizes(const std::string& s, int Count) {
  std::vector<int> r;
  if (Count <= 0) return r;
  size_t pos = 0;
  for (;;) {
    size_t comma = s.find(',', pos);
    r.push_back(StrToInt(s.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos)));
    if (comma == std::string::npos) break;
    pos = comma + 1;
    if (static_cast<int>(r.size()) > Count) break;
  }
  if (static_cast<int>(r.size()) != Count) throw EReadError("List index out of bounds (" + std::to_string(Count) + ")");
  return r;
}

std::string GraphicBytes(TGraphic* G) {
  TMemoryStream m;
  if (G) G->SaveToStream(m);
  return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

bool HasDataRecord(TCellType t) {
  return t == ctBitmap || t == ctIcon || t == ctRadio || t == ctImages || t == ctPicture || t == ctFilePicture ||
         t == ctBitButton;
}

struct TGridRecord {
  int ColCount = 0, RowCount = 0;
  std::vector<int> Widths, Heights;
  bool FullGrid = false;
  int64_t ID = 0;
};

TGridRecord ReadGridRecord(TStream& S) {
  TRecord r = ReadRecord(S, "TGridPropIO");
  TGridRecord g;
  g.ColCount = Clamp32(r.GetInt("ColCount"));
  g.RowCount = Clamp32(r.GetInt("RowCount"));
  if (g.ColCount < 0 || g.RowCount < 0) throw EReadError("Invalid property value: ColCount");
  g.Widths = SplitSizes(r.GetStr("ColWidths"), g.ColCount);
  g.Heights = SplitSizes(r.GetStr("RowHeights"), g.RowCount);
  g.FullGrid = r.GetBool("FullGrid");
  g.ID = r.GetInt("ID");
  return g;
}

int64_t WindowID(TDavEvadurAvuz* G) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(G->Handle()) & 0xFFFFFFFF);
}
}  // namespace

UINT TDavEvadurAvuz::GridCellsFormat() {
  static const UINT format = RegisterClipboardFormat("TDavEvadurAvuz Cells");
  return format;
}

void TDavEvadurAvuz::RaiseProgress(int Value, int& Last) {
  Value = std::clamp(Value, 0, 100);
  if (!OnFileProgress || Value == Last) return;
  Last = Value;
  OnFileProgress(this, static_cast<int16_t>(Value));
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::SaveRectToBinStream(const TRect& R, TStream& Stream) {
  const int cols = R.Right - R.Left + 1, rows = R.Bottom - R.Top + 1;
  std::vector<int> widths, heights;
  for (int c = R.Left; c <= R.Right; ++c) widths.push_back(c < ColCount() ? ColWidths(c) : DefaultColWidth());
  for (int r = R.Top; r <= R.Bottom; ++r) heights.push_back(r < RowCount() ? RowHeights(r) : DefaultRowHeight());
  const bool full = ExportFixedCells
                        ? (rows == RowCount() && cols == ColCount())
                        : (rows == RowCount() - FixedRows() && cols == ColCount() - FixedCols());
  WriteRecord(Stream, "TGridPropIO",
              {Prop("ColCount", Int(cols)), Prop("RowCount", Int(rows)), Prop("ColWidths", Str(JoinSizes(widths))),
               Prop("RowHeights", Str(JoinSizes(heights))), Prop("FullGrid", Bool(full)),
               Prop("ID", Int(WindowID(this)))});
  ExportNotification(esExportStart, -1);
  int last = -1;
  for (int r = R.Top; r <= R.Bottom; ++r) {
    ExportNotification(esExportNewRow, r);
    for (int c = R.Left; c <= R.Right; ++c) {
      const bool hasProp = HasCellProperties(c, r);
      std::vector<TFormProperty> cell{Prop("Col", Int(c)), Prop("Row", Int(r))};
      const std::string text = GetCellEx(c, r);
      if (!text.empty()) cell.push_back(Prop("Cell", Str(text)));
      cell.push_back(Prop("HasProp", Bool(hasProp)));
      WriteRecord(Stream, "TGridCellIO", std::move(cell));
      if (!hasProp) continue;
      TCellProperties* p = GetCellProperties(c, r);
      const TCellType type = GetCellType(c, r);
      TCellGraphic* g = type == ctEmpty ? nullptr : GetCellGraphic(c, r);
      bool hasGraphic = g != nullptr;
      if (g && HasDataRecord(type)) hasGraphic = g->CellCreated;
      const std::string P = "CellProperties.";
      std::vector<TFormProperty> props{
          Prop(P + "IsBaseCell", Bool(p->IsBaseCell)), Prop(P + "CellSpanX", Int(p->CellSpanX)),
          Prop(P + "CellSpanY", Int(p->CellSpanY)), Prop(P + "Alignment", Int(p->Alignment)),
          Prop(P + "BorderColor", Int(p->BorderColor)), Prop(P + "BorderWidth", Int(p->BorderWidth)),
          Prop(P + "BrushColor", Int(p->BrushColor)), Prop(P + "BrushColorTo", Int(p->BrushColorTo)),
          Prop(P + "BrushStyle", Int(p->BrushStyle)), Prop(P + "FontColor", Int(p->FontColor))};
      if (!p->FontName.empty()) props.push_back(Prop(P + "FontName", Str(p->FontName)));
      for (TFormProperty& q : std::vector<TFormProperty>{
               Prop(P + "FontSize", Int(p->FontSize)), Prop(P + "FontStyle", Int(static_cast<int64_t>(p->FontStyle.Bits()))),
               Prop(P + "Editor", Int(p->Editor)), Prop(P + "GradientDirection", Int(p->GradientDirection)),
               Prop(P + "ReadOnly", Bool(p->ReadOnly)), Prop(P + "VAlignment", Int(p->VAlignment)),
               Prop(P + "WordWrap", Bool(p->WordWrap)), Prop(P + "NodeLevel", Int(p->NodeLevel)),
               Prop("HasGraphic", Bool(hasGraphic))})
        props.push_back(std::move(q));
      WriteRecord(Stream, "TGridCellPropIO", std::move(props));
      if (!hasGraphic) continue;
      const std::string G = "CellGraphic.";
      std::vector<TFormProperty> gp{
          Prop(G + "CellType", Int(g->CellType)), Prop(G + "CellVAlign", Int(g->CellVAlign)),
          Prop(G + "CellHAlign", Int(g->CellHAlign)), Prop(G + "CellIndex", Int(g->CellIndex)),
          Prop(G + "CellTransparent", Bool(g->CellTransparent)), Prop(G + "CellCreated", Bool(g->CellCreated)),
          Prop(G + "CellBoolean", Bool(g->CellBoolean)), Prop(G + "CellAngle", Int(g->CellAngle)),
          Prop(G + "CellValue", Float(g->CellValue)), Prop(G + "CellErrFrom", Int(g->CellErrFrom)),
          Prop(G + "CellErrLen", Int(g->CellErrLen))};
      if (!g->CellText.empty()) gp.push_back(Prop(G + "CellText", Str(g->CellText)));
      WriteRecord(Stream, "TGridGraphicIO", std::move(gp));
      switch (g->CellType) {
        case ctBitmap:
        case ctBitButton:
          WriteRecord(Stream, "TGridBMPIO", {Prop("Bitmap", Bin(GraphicBytes(dynamic_cast<TBitmap*>(g->CellRef.Object))))});
          break;
        case ctIcon:
          WriteRecord(Stream, "TGridIconIO", {Prop("Icon", Bin(GraphicBytes(dynamic_cast<TIcon*>(g->CellRef2.Object))))});
          break;
        case ctRadio: {
          std::vector<TFormProperty> sl;
          TFormValue list;
          list.Kind = TFormValue::vkList;
          if (g->CellStrings)
            for (int i = 0; i < g->CellStrings->Count(); ++i) list.List.push_back(Str(g->CellStrings->Strings(i)));
          WriteRecord(Stream, "TGridSLIO", {Prop("Strings", list)});
          break;
        }
        case ctImages: {
          TFormValue list;
          list.Kind = TFormValue::vkList;
          if (auto* l = dynamic_cast<TIntList*>(g->CellRef.Object)) list.List.push_back(Str(l->GetStrValue()));
          WriteRecord(Stream, "TGridSLIO", {Prop("Strings", list)});
          break;
        }
        case ctPicture: {
          TMemoryStream m;
          auto* pic = dynamic_cast<TPicture*>(g->CellRef.Object);
          if (pic && pic->GetGraphic()) pic->SaveToStream(m);
          WriteRecord(Stream, "TGridPicIO",
                      {Prop("Picture", Bin(std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()))))});
          break;
        }
        case ctFilePicture: {
          auto* fp = dynamic_cast<TFilePicture*>(g->CellRef.Object);
          WriteRecord(Stream, "TGridFilePicIO",
                      {Prop("Picture.Filename", Str(fp ? fp->Filename() : std::string())),
                       Prop("Picture.Width", Int(fp ? fp->Width() : 0)), Prop("Picture.Height", Int(fp ? fp->Height() : 0))});
          break;
        }
        default: break;
      }
    }
    RaiseProgress(static_cast<int>(std::lround((r - R.Top) * 100.0 / std::max(1, R.Bottom - R.Top))), last);
  }
  ExportNotification(esExportDone, -1);
}

void TDavEvadurAvuz::SaveToBinStream(TStream& Stream) {
  if (ExportFixedCells)
    SaveRectToBinStream(TRect{0, 0, ColCount() - 1, RowCount() - 1}, Stream);
  else
    SaveRectToBinStream(TRect{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1}, Stream);
}

void TDavEvadurAvuz::SaveToBinFile(const std::string& FileName) {
  TMemoryStream m;
  SaveToBinStream(m);
  m.SaveToFile(FileName);
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::LoadAtPointFromBinStream(TPoint P, TStream& Stream) {
  const TGridRecord head = ReadGridRecord(Stream);
  if (head.FullGrid) {
    // The record is whole; only now the grid is cleared and sized. With the fixed cells
    // not exchanged the cell records keep their grid coordinates, so the grid keeps its
    // fixed rows and columns in front of the record's counts.
    Clear();
    const int fc = ExportFixedCells ? 0 : FixedCols(), fr = ExportFixedCells ? 0 : FixedRows();
    SetRowCount(head.RowCount + fr);
    SetColCount(head.ColCount + fc);
    for (int i = 0; i < head.ColCount; ++i) SetColWidths(i + fc, head.Widths[i]);
    for (int i = 0; i < head.RowCount; ++i) SetRowHeights(i + fr, head.Heights[i]);
  }
  TPoint origin{0, 0};
  bool taken = false;
  while (Stream.Position() < Stream.Size() - 1) {
    TRecord cell = ReadRecord(Stream, "TGridCellIO");
    const int64_t col = cell.GetInt("Col"), row = cell.GetInt("Row");
    if (!taken && !head.FullGrid) origin = TPoint{Clamp32(col), Clamp32(row)};
    taken = true;
    const int64_t tc = col + P.X - origin.X, tr = row + P.Y - origin.Y;
    const bool inside = tc >= 0 && tr >= 0 && tc < GetAllColCount() && tr < RowCount();
    const int c = static_cast<int>(tc), r = static_cast<int>(tr);
    if (inside) SetCellEx(c, r, cell.GetStr("Cell"));
    if (!cell.GetBool("HasProp")) continue;
    TRecord props = ReadRecord(Stream, "TGridCellPropIO");
    const bool hasGraphic = props.GetBool("HasGraphic");
    if (inside) {
      TCellProperties* p = GetCellProperties(c, r);
      const std::string N = "CellProperties.";
      p->IsBaseCell = props.GetBool(N + "IsBaseCell", p->IsBaseCell);
      p->CellSpanX = Clamp32(props.GetInt(N + "CellSpanX", p->CellSpanX));
      p->CellSpanY = Clamp32(props.GetInt(N + "CellSpanY", p->CellSpanY));
      p->Alignment = static_cast<TAlignment>(props.GetInt(N + "Alignment", p->Alignment));
      p->BorderColor = static_cast<TColor>(props.GetInt(N + "BorderColor", p->BorderColor));
      p->BorderWidth = Clamp32(props.GetInt(N + "BorderWidth", p->BorderWidth));
      p->BrushColor = static_cast<TColor>(props.GetInt(N + "BrushColor", p->BrushColor));
      p->BrushColorTo = static_cast<TColor>(props.GetInt(N + "BrushColorTo", p->BrushColorTo));
      p->BrushStyle = static_cast<TBrushStyle>(props.GetInt(N + "BrushStyle", p->BrushStyle));
      p->FontColor = static_cast<TColor>(props.GetInt(N + "FontColor", p->FontColor));
      if (props.Find(N + "FontName")) p->FontName = props.GetStr(N + "FontName");
      p->FontSize = Clamp32(props.GetInt(N + "FontSize", p->FontSize));
      if (props.Find(N + "FontStyle"))
        p->FontStyle = TFontStyles::FromBits(static_cast<uint64_t>(props.GetInt(N + "FontStyle")) & 0xF);
      p->Editor = static_cast<TEditorType>(props.GetInt(N + "Editor", p->Editor));
      p->GradientDirection = static_cast<TCellGradientDirection>(props.GetInt(N + "GradientDirection", p->GradientDirection));
      p->ReadOnly = props.GetBool(N + "ReadOnly", p->ReadOnly);
      p->VAlignment = static_cast<TVAlignment>(props.GetInt(N + "VAlignment", p->VAlignment));
      p->WordWrap = props.GetBool(N + "WordWrap", p->WordWrap);
      p->NodeLevel = Clamp32(props.GetInt(N + "NodeLevel", p->NodeLevel));
      p->OwnerCol = c;
      p->OwnerRow = r;
    }
    if (!hasGraphic) continue;
    TRecord gr = ReadRecord(Stream, "TGridGraphicIO");
    const std::string G = "CellGraphic.";
    const int64_t type = gr.GetInt(G + "CellType", ctNone);
    if (type < ctBitmap || type > ctRating) throw EReadError("Invalid property value: CellType");
    std::optional<TRecord> data;
    switch (static_cast<TCellType>(type)) {
      case ctBitmap:
      case ctBitButton: data = ReadRecord(Stream, "TGridBMPIO"); break;
      case ctIcon: data = ReadRecord(Stream, "TGridIconIO"); break;
      case ctRadio:
      case ctImages: data = ReadRecord(Stream, "TGridSLIO"); break;
      case ctPicture: data = ReadRecord(Stream, "TGridPicIO"); break;
      case ctFilePicture: data = ReadRecord(Stream, "TGridFilePicIO"); break;
      default: break;
    }
    if (!inside) continue;
    TCellGraphic* g = CreateCellGraphic(c, r);
    g->CellType = static_cast<TCellType>(type);
    g->CellVAlign = static_cast<TCellVAlign>(gr.GetInt(G + "CellVAlign"));
    g->CellHAlign = static_cast<TCellHAlign>(gr.GetInt(G + "CellHAlign"));
    g->CellIndex = Clamp32(gr.GetInt(G + "CellIndex"));
    g->CellTransparent = gr.GetBool(G + "CellTransparent");
    g->CellCreated = gr.GetBool(G + "CellCreated");
    g->CellBoolean = gr.GetBool(G + "CellBoolean");
    g->CellAngle = Clamp32(gr.GetInt(G + "CellAngle"));
    g->CellValue = gr.GetFloat(G + "CellValue");
    g->CellErrFrom = Clamp32(gr.GetInt(G + "CellErrFrom"));
    g->CellErrLen = Clamp32(gr.GetInt(G + "CellErrLen"));
    g->CellText = gr.GetStr(G + "CellText");
    if (!data) continue;
    // The payload is made before the graphic takes it, so a bad payload leaves the
    // graphic without one rather than half made.
    switch (g->CellType) {
      case ctBitmap:
      case ctBitButton: {
        auto bmp = std::make_unique<TBitmap>();
        TStringStream s(data->GetStr("Bitmap"));
        if (s.Size() > 0) bmp->LoadFromStream(s);
        g->CellRef.Object = bmp.release();
        g->CellCreated = true;
        break;
      }
      case ctIcon: {
        auto icon = std::make_unique<TIcon>();
        TStringStream s(data->GetStr("Icon"));
        if (s.Size() > 0) icon->LoadFromStream(s);
        g->CellRef2.Object = icon.release();
        g->CellCreated = true;
        break;
      }
      case ctRadio: {
        auto list = std::make_unique<TStringList>();
        if (const TFormValue* v = data->Find("Strings"); v && v->Kind == TFormValue::vkList)
          for (const TFormValue& item : v->List) list->Add(item.Str);
        g->CellStrings = list.get();
        g->CellRef.Object = list.release();
        g->CellCreated = true;
        break;
      }
      case ctImages: {
        auto list = std::make_unique<TIntList>(c, r);
        if (const TFormValue* v = data->Find("Strings"); v && v->Kind == TFormValue::vkList && !v->List.empty())
          list->SetStrValue(v->List[0].Str);
        g->CellRef.Object = list.release();
        g->CellCreated = true;
        break;
      }
      case ctPicture: {
        auto pic = std::make_unique<TPicture>();
        TStringStream s(data->GetStr("Picture"));
        if (s.Size() > 0) pic->LoadFromStream(s);
        g->CellRef.Object = pic.release();
        g->CellCreated = true;
        break;
      }
      case ctFilePicture: {
        auto fp = std::make_unique<TFilePicture>();
        fp->SetFileName(data->GetStr("Picture.Filename"));
        g->CellRef.Object = fp.release();
        g->CellCreated = true;
        break;
      }
      default: break;
    }
  }
  Invalidate();
}

void TDavEvadurAvuz::ReadGridCellsHead(TStream& Stream, int& Cols, int& Rows, int64_t& ID) {
  const TGridRecord head = ReadGridRecord(Stream);
  Cols = head.ColCount;
  Rows = head.RowCount;
  ID = head.ID;
}

void TDavEvadurAvuz::LoadFromBinStream(TStream& Stream) {
  LoadAtPointFromBinStream(TPoint{0, 0}, Stream);
  int n = 0;
  for (int r = FixedRows(); r < RowCount(); ++r)
    if (GetCellType(0, r) == ctNode) n = r - FixedRows() + 1;
  LoadedNodeCellCount = n;
  if (n >= 1) Invalidate();
}

void TDavEvadurAvuz::LoadFromBinFile(const std::string& FileName) {
  TMemoryStream m;
  m.LoadFromFile(FileName);
  m.SetPosition(0);
  LoadFromBinStream(m);
}

void TDavEvadurAvuz::CopyBinFunc(const TRect& R) {
  TMemoryStream m;
  SaveRectToBinStream(R, m);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, static_cast<size_t>(m.Size()));
  if (!h) throw EVezIdidError("Out of memory");
  void* p = GlobalLock(h);
  std::memcpy(p, m.Memory(), static_cast<size_t>(m.Size()));
  GlobalUnlock(h);
  if (!OpenClipboard(Handle())) {
    GlobalFree(h);
    throw EVezIdidError("Cannot open clipboard");
  }
  if (!SetClipboardData(GridCellsFormat(), h)) {
    GlobalFree(h);
    CloseClipboard();
    throw EVezIdidError("Cannot set clipboard data");
  }
  CloseClipboard();
}
