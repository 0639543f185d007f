// The grid's line-oriented text cell file (absolute coordinates) and text cell stream
// (coordinates relative to the save range). Each non-empty cell is one line "col,row,
// text" whose text is kept on one line by LfToFile; column widths are "cw col,width".
#include <algorithm>
#include <cmath>
#include <cstring>

#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

namespace {
// Leading blanks, a sign, the prefixes "$", "0x", "x", "X" (hexadecimal), then the value
// of the digits up to the first other character; 0 without digits. Saturates instead of
// overflowing.
int ReadLooseInteger(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) {
    base = 16;
    ++i;
  }
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    int d;
    const char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else break;
    v = std::min<int64_t>(v * base + d, INT32_MAX);
  }
  return static_cast<int>(neg ? -v : v);
}

// The file's lines; a line ends at CR, LF or CR LF.
std::vector<std::string> ReadLines(const std::string& FileName) {
  TMemoryStream m;
  m.LoadFromFile(FileName);
  const char* p = static_cast<const char*>(m.Memory());
  const size_t n = static_cast<size_t>(m.Size());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != '\r' && p[i] != '\n') continue;
    lines.emplace_back(p + start, i - start);
    if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(p + start, n - start);
  return lines;
}

// One line of a stream: up to a CR (dropped, and an LF right after it) or the stream's
// end. A CR followed by anything but LF leaves that byte for the next line.
std::string ReadStreamLine(TStream& S) {
  std::string line;
  char buf[256];
  for (;;) {
    const int64_t at = S.Position();
    const int64_t got = S.Read(buf, sizeof buf);
    if (got <= 0) return line;
    const void* cr = std::memchr(buf, '\r', static_cast<size_t>(got));
    if (!cr) {
      line.append(buf, static_cast<size_t>(got));
      continue;
    }
    const int64_t k = static_cast<const char*>(cr) - buf;
    line.append(buf, static_cast<size_t>(k));
    int64_t next = at + k + 1;
    if (k + 1 < got) {
      if (buf[k + 1] == '\n') ++next;
    } else {
      S.SetPosition(next);
      char c;
      if (S.Read(&c, 1) == 1 && c == '\n') ++next;
    }
    S.SetPosition(next);
    return line;
  }
}
}  // namespace

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::SaveToFile(const std::string& FileName) {
  const int hidden = ExchangeHiddenColumns ? NumHiddenColumns() : 0;
  const int c0 = GetSaveStartCol(), c1 = GetSaveEndCol() + hidden;
  const int r0 = GetSaveStartRow(), r1 = GetSaveEndRow();
  std::string out = std::to_string(GetSaveColCount() + hidden) + "," + std::to_string(GetSaveRowCount()) + "\r\n";
  for (int c = c0; c <= c1; ++c)
    out += "cw " + std::to_string(c) + "," + std::to_string(c < ColCount() ? ColWidths(c) : DefaultColWidth()) + "\r\n";
  ExportNotification(esExportStart, -1);
  int last = -1;
  std::string v;
  for (int r = r0; r <= r1; ++r) {
    ExportNotification(esExportNewRow, r);
    for (int c = c0; c <= c1; ++c) {
      SaveCell(ExchangeHiddenColumns ? c : RemapCol(c), r, v);
      if (v.empty()) continue;
      out += std::to_string(c) + "," + std::to_string(r) + "," + LfToFile(v) + "\r\n";
    }
    RaiseProgress(static_cast<int>(std::lround(r * 100.0 / std::max(1, GetSaveRowCount() - 1))), last);
  }
  ExportNotification(esExportDone, -1);
  TFileStream f(FileName, fmCreate);
  f.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TDavEvadurAvuz::LoadFromFile(const std::string& FileName) {
  const std::vector<std::string> lines = ReadLines(FileName);
  const int fc = ExportFixedCells ? 0 : FixedCols(), fr = ExportFixedCells ? 0 : FixedRows();
  int cols = 0, rows = 0;
  if (!lines.empty() && !lines[0].empty()) {
    const size_t comma = lines[0].find(',');
    cols = ReadLooseInteger(lines[0].substr(0, comma)) + fc;
    rows = comma == std::string::npos ? fr : ReadLooseInteger(lines[0].substr(comma + 1)) + fr;
  }
  // Checked before the grid changes: a file without a usable size line keeps the cells.
  if (cols <= 0 || rows <= 0) throw EVezIdidError("File contains no data or corrupt file " + FileName);
  SetColCount(cols);
  SetRowCount(rows);
  int last = -1;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.compare(0, 2, "cw") == 0) {
      const size_t comma = line.find(',');
      const int col = ReadLooseInteger(line.size() > 3 ? line.substr(3, comma == std::string::npos ? std::string::npos : comma - 3) : std::string());
      const int width = comma == std::string::npos ? 0 : ReadLooseInteger(line.substr(comma + 1, 255));
      if (col >= 0 && col < ColCount()) SetColWidths(col, width);
      continue;
    }
    const size_t c1 = line.find(',');
    const size_t c2 = c1 == std::string::npos ? std::string::npos : line.find(',', c1 + 1);
    const int col = ReadLooseInteger(c1 == std::string::npos ? std::string() : line.substr(0, c1));
    const int row = ReadLooseInteger(c2 == std::string::npos ? std::string() : line.substr(c1 + 1, c2 - c1 - 1));
    const std::string text = c2 == std::string::npos ? line : line.substr(c2 + 1);
    if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount()) LoadCell(col, row, FileToLf(text, Multilinecells));
    if (OnFileProgress) RaiseProgress(static_cast<int>(std::lround(row * 100.0 / std::max(1, RowCount() - 1))), last);
    // Keeps the interface live during long loads without paying for it on every line.
    if ((i & 4095) == 0) Application->ProcessMessages();
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
  CellsLoaded();
}

void TDavEvadurAvuz::SaveToStream(TStream& Stream) {
  std::string out = std::to_string(GetSaveColCount()) + "," + std::to_string(GetSaveRowCount()) + "\r\n";
  for (int c = 0; c < ColCount(); ++c) out += "cw " + std::to_string(c) + "," + std::to_string(ColWidths(c)) + "\r\n";
  ExportNotification(esExportStart, -1);
  const int c0 = GetSaveStartCol(), r0 = GetSaveStartRow();
  std::string v;
  for (int r = r0; r <= GetSaveEndRow(); ++r) {
    ExportNotification(esExportNewRow, r);
    for (int c = c0; c <= GetSaveEndCol(); ++c) {
      SaveCell(RemapCol(c), r, v);
      if (v.empty()) continue;
      out += std::to_string(c - c0) + "," + std::to_string(r - r0) + "," + LfToFile(v) + "\r\n";
    }
  }
  ExportNotification(esExportDone, -1);
  Stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TDavEvadurAvuz::LoadFromStream(TStream& Stream) {
  const int c0 = GetSaveStartCol(), r0 = GetSaveStartRow();
  if (Stream.Position() < Stream.Size()) {
    const int64_t at = Stream.Position();
    const std::string first = ReadStreamLine(Stream);
    if (first.empty()) {
      Stream.SetPosition(at);
    } else {
      const size_t comma = first.find(',');
      if (comma == std::string::npos) throw EConvertError("'" + first + "' is not a valid integer value");
      const int cols = StrToInt(first.substr(0, comma)), rows = StrToInt(first.substr(comma + 1));
      if (cols < 0 || rows < 0) throw EConvertError("'" + first + "' is not a valid size");
      SetColCount(cols + c0);
      SetRowCount(rows + r0);
    }
  }
  while (Stream.Position() < Stream.Size()) {
    const int64_t at = Stream.Position();
    const std::string line = ReadStreamLine(Stream);
    if (line.compare(0, 2, "cw") == 0) {
      const std::string rest = line.substr(std::min<size_t>(3, line.size()));
      const size_t comma = rest.find(',');
      const int col = StrToInt(rest.substr(0, comma));
      const int width = StrToInt(comma == std::string::npos ? std::string() : rest.substr(comma + 1));
      if (col >= 0 && col < ColCount()) SetColWidths(col, width);
      continue;
    }
    const size_t c1 = line.find(',');
    const size_t c2 = c1 == std::string::npos ? std::string::npos : line.find(',', c1 + 1);
    if (c1 == std::string::npos || c1 == 0 || c2 == std::string::npos || c2 == c1 + 1) {
      Stream.SetPosition(at);
      break;
    }
    const int col = StrToInt(line.substr(0, c1)) + c0, row = StrToInt(line.substr(c1 + 1, c2 - c1 - 1)) + r0;
    if (col >= 0 && col < GetAllColCount() && row >= 0 && row < RowCount())
      LoadCell(col, row, FileToLf(line.substr(c2 + 1), Multilinecells));
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
  CellsLoaded();
}
