// Delimiter-separated text (CSV), the ASCII layout for people and fixed-width columns.
//
// CSV records keep each cell in one field whatever it holds: a field with the delimiter,
// a double quote or a line break is enclosed in double quotes (quotes doubled), line
// breaks travel as #11 (or as LF inside an already quoted field). The reader takes a
// line break inside a quoted field as part of the field, so files of other programs
// that write line breaks inside quotes load cell by cell.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"

namespace {
std::string LoadBytes(const std::string& FileName) {
  TMemoryStream m;
  m.LoadFromFile(FileName);
  return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

void SaveBytes(const std::string& FileName, const std::string& Bytes, bool Append) {
  if (Append) {
    TFileStream f(FileName, fmOpenReadWrite);
    f.Seek(0, soEnd);
    f.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  } else {
    TFileStream f(FileName, fmCreate);
    f.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  }
}

// Physical lines (CR, LF or CR LF end a line).
std::vector<std::string> SplitLines(const std::string& s) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\r' && s[i] != '\n') continue;
    lines.push_back(s.substr(start, i - start));
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < s.size()) lines.push_back(s.substr(start));
  return lines;
}

// Records: like lines, but a line break inside a field that opens with a double quote
// (right after the delimiter or at the record's start) belongs to the field.
std::vector<std::string> SplitRecords(const std::string& s, char Delim) {
  if (Delim == '\0') return SplitLines(s);
  std::vector<std::string> recs;
  std::string cur;
  bool inQuote = false, fieldStart = true;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (inQuote) {
      cur += c;
      if (c == '"') {
        if (i + 1 < s.size() && s[i + 1] == '"') cur += s[++i];
        else inQuote = false;
      }
      continue;
    }
    if (c == '\r' || c == '\n') {
      recs.push_back(std::move(cur));
      cur.clear();
      if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      fieldStart = true;
      continue;
    }
    if (c == '"' && fieldStart) inQuote = true;
    fieldStart = c == Delim;
    cur += c;
  }
  if (!cur.empty()) recs.push_back(std::move(cur));
  return recs;
}

// Line breaks of a field back to the grid's CR LF: #11, a bare LF or a bare CR.
std::string FieldLineBreaks(const std::string& s) {
  if (s.find_first_of("\r\n\x0B") == std::string::npos) return s;
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\x0B' || c == '\n') r += "\r\n";
    else if (c == '\r') {
      r += "\r\n";
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else r += c;
  }
  return r;
}

// The fields of one record. A field that opens with a double quote runs to the quote
// that closes it (doubled quotes are one quote); what stands between that quote and the
// next delimiter is dropped. An opening quote that is never closed takes the rest of the
// record. Other fields run to the next delimiter, doubled quotes read as one.
std::vector<std::string> SplitFields(const std::string& rec, char Delim, bool Java) {
  std::vector<std::string> fields;
  if (Delim == '\0') {
    fields.push_back(rec);
    return fields;
  }
  size_t i = 0;
  for (;;) {
    std::string f;
    bool quoted = false;
    if (i < rec.size() && rec[i] == '"') {
      quoted = true;
      size_t j = i + 1;
      for (; j < rec.size(); ++j) {
        if (rec[j] != '"') {
          f += rec[j];
          continue;
        }
        if (j + 1 < rec.size() && rec[j + 1] == '"') {
          f += '"';
          ++j;
          continue;
        }
        break;
      }
      i = j < rec.size() ? rec.find(Delim, j + 1) : std::string::npos;
    } else {
      const size_t d = rec.find(Delim, i);
      f = DoubleToSingleChar('"', rec.substr(i, d == std::string::npos ? std::string::npos : d - i));
      i = d;
    }
    if (Java) JavaToLineFeeds(f);
    else f = FieldLineBreaks(f);
    (void)quoted;
    fields.push_back(std::move(f));
    if (i == std::string::npos) break;
    ++i;  // past the delimiter; a record ending with it has an empty last field
  }
  return fields;
}

// Three passes over the first two lines: equal single-occurrence counts, equal plain
// counts, then the highest plain count; candidates in order break ties.
char DetectDelimiter(const std::string& a, const std::string& b) {
  static const char cand[] = {',', ';', '#', '\t', '|', '@', '*', '-', '+', '&'};
  char best = '\0';
  int n = 0;
  for (char c : cand) {
    const int x = NumSingleChar(c, a), y = NumSingleChar(c, b);
    if (x == y && x > n) best = c, n = x;
  }
  if (n == 0)
    for (char c : cand) {
      const int x = NumChar(c, a), y = NumChar(c, b);
      if (x == y && x > n) best = c, n = x;
    }
  if (n == 0)
    for (char c : cand) {
      const int x = NumChar(c, a), y = NumChar(c, b);
      if (x > n || y > n) best = c, n = std::max(x, y);
    }
  return best;
}

// Length in characters of UTF-8 text.
int CharLen(const std::string& s) {
  int n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}
// The byte offset of character k (or the text's size).
size_t CharOffset(const std::string& s, int k) {
  size_t i = 0;
  for (int n = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && n++ == k) return i;
  return s.size();
}
}  // namespace

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::OutputToCSV(const std::string& FileName, bool Append) {
  if (Append && !std::filesystem::exists(FileName)) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  const int hidden = ExchangeHiddenColumns ? NumHiddenColumns() : 0;
  const char delim = CSVDelimiter ? CSVDelimiter : ',';
  std::string out;
  if (Append) {
    out = LoadBytes(FileName);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
  }
  ExportNotification(esExportStart, -1);
  int last = -1;
  std::string v;
  for (int r = GetSaveStartRow(); r <= GetSaveEndRow(); ++r) {
    ExportNotification(esExportNewRow, r);
    for (int k = GetSaveStartCol(); k <= GetSaveEndCol() + hidden; ++k) {
      if (k > GetSaveStartCol()) out += delim;
      SaveCell(ExchangeHiddenColumns ? k : RemapCol(k), r, v);
      std::string f = CSVQuotes(v);
      if (OemConvert) StringToOem(f);
      bool quoted = false;
      if (CSVAlwaysQuote || (f.find(delim) == std::string::npos && f.find('"') != std::string::npos)) {
        f = '"' + f + '"';
        quoted = true;
      }
      if (v.empty()) {
        out += CSVJavaMode ? "^" : (QuoteEmptyCells || CSVAlwaysQuote ? "\"\"" : "");
        continue;
      }
      // Any line break is encoded, whether or not the grid shows several lines: a raw
      // one would end the record in the middle of the field.
      const bool breaks = f.find_first_of("\r\n") != std::string::npos;
      if (f.find(delim) != std::string::npos || breaks) {
        if (CSVJavaMode) LineFeedsToJava(f);
        else if (quoted) LineFeedsToCSVNQ(f);
        else {
          LineFeedsToCSV(f);
          if (f.find('\r') != std::string::npos) {  // a CR without LF
            for (char& ch : f)
              if (ch == '\r') ch = '\x0B';
          }
        }
      }
      out += f;
    }
    out += "\r\n";
    RaiseProgress(static_cast<int>(std::lround(r * 100.0 / std::max(1, RowCount() - 1))), last);
  }
  ExportNotification(esExportDone, -1);
  SaveBytes(FileName, out, false);
}

void TDavEvadurAvuz::InputFromCSV(const std::string& FileName, bool Insert, int MaxRows) {
  const int fc = ExportFixedCells ? 0 : FixedCols(), fr = ExportFixedCells ? 0 : FixedRows();
  const std::string bytes = LoadBytes(FileName);
  const std::vector<std::string> physical = SplitLines(bytes);
  if (physical.empty()) throw Exception("File is empty");
  int row = fr;
  std::vector<std::string> footer;
  const bool floating = FloatingFooter()->Visible();
  if (Insert) {
    row = RowCount();
    if (floating && RowCount() > 0) {
      for (int c = 0; c < GetAllColCount(); ++c) footer.push_back(GetCellEx(c, RowCount() - 1));
      NilRow(RowCount() - 1);
      row = RowCount() - 1;
    }
  }
  char delim = CSVDelimiter;
  if (delim == '\0') delim = DetectDelimiter(physical[0], physical.size() > 1 ? physical[1] : std::string());
  std::vector<std::string> recs = SplitRecords(bytes, delim);
  size_t first = CSVReadFirstLine ? 0 : 1;
  const int total = static_cast<int>(recs.size()) - static_cast<int>(first);
  if (OnFileProgress)
    SetRowCount(Insert ? static_cast<int>(recs.size()) + RowCount() : static_cast<int>(recs.size()) + fr + FixedFooters());
  const int hidden = ExchangeHiddenColumns ? NumHiddenColumns() : 0;
  int done = 0, last = -1;
  for (size_t i = first; i < recs.size(); ++i) {
    if (MaxRows > 0 && done >= MaxRows) break;
    std::string rec = recs[i];
    if (OemConvert) OemToString(rec);
    if (row >= RowCount() - FixedFooters()) SetRowCount(row + 1000);
    int col = fc;
    for (const std::string& f : SplitFields(rec, delim, CSVJavaMode)) {
      if (col >= ColCount() + hidden) SetColCount(col + 1 - hidden);
      LoadCell(col, row, f);
      ++col;
    }
    ++row;
    ++done;
    if (OnFileProgress && total >= 1) RaiseProgress(static_cast<int>(std::lround(done * 100.0 / total)), last);
  }
  SetRowCount(std::max(row + FixedFooters(), 1));
  if (floating && Insert)
    for (int c = 0; c < static_cast<int>(footer.size()) && c < GetAllColCount(); ++c) SetCellEx(c, RowCount() - 1, footer[c]);
  else if (floating)
    NilRow(RowCount() - 1);
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
  CellsLoaded();
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::SaveToASCIIInt(const std::string& FileName, bool Append) {
  const int hidden = ExchangeHiddenColumns ? NumHiddenColumns() : 0;
  const int c0 = ExportFixedCells ? 0 : FixedCols(), r0 = ExportFixedCells ? 0 : FixedRows();
  std::vector<int> cols;
  for (int c = c0; c < ColCount() + hidden; ++c) cols.push_back(ExchangeHiddenColumns ? c : RemapCol(c));
  std::string v;
  // Widths for any number of columns: the longest line of each column, all rows.
  std::vector<int> width(cols.size(), 0);
  for (size_t k = 0; k < cols.size(); ++k)
    for (int r = 0; r < RowCount(); ++r) {
      SaveCell(cols[k], r, v);
      size_t start = 0;
      for (;;) {
        const size_t cr = Multilinecells ? v.find('\r', start) : std::string::npos;
        std::string piece = v.substr(start, cr == std::string::npos ? std::string::npos : cr - start);
        if (!piece.empty() && piece[0] == '\n') piece.erase(0, 1);
        width[k] = std::max(width[k], CharLen(piece));
        if (cr == std::string::npos) break;
        start = cr + 1;
      }
    }
  std::vector<int> pos(cols.size(), 0);
  for (size_t k = 1; k < cols.size(); ++k) pos[k] = pos[k - 1] + width[k - 1] + 1;
  std::string out;
  if (Append && std::filesystem::exists(FileName)) {
    out = LoadBytes(FileName);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
  }
  auto align = [&](std::string s, TAlignment a, int w) {
    if (a == taRightJustify) {
      const int n = CharLen(s);
      if (n < w) s.insert(0, static_cast<size_t>(w - n), ' ');
    } else if (a == taCenter) {
      while (CharLen(s) < w) s = ' ' + s + ' ';
    }
    return s;
  };
  ExportNotification(esExportStart, -1);
  for (int r = r0; r < RowCount(); ++r) {
    ExportNotification(esExportNewRow, r);
    std::string line;
    std::vector<std::string> cont;
    for (size_t k = 0; k < cols.size(); ++k) {
      SaveCell(cols[k], r, v);
      const TAlignment a = GetCellAlignment(cols[k], r);
      std::string firstLine = v;
      const size_t br = v.find("\r\n");
      if (br != std::string::npos) {
        firstLine = v.substr(0, br);
        if (Multilinecells) {
          size_t start = br + 2;
          for (size_t i = 1;; ++i) {
            const size_t nx = v.find("\r\n", start);
            const std::string piece = v.substr(start, nx == std::string::npos ? std::string::npos : nx - start);
            if (cont.size() < i) cont.emplace_back();
            std::string& cl = cont[i - 1];
            const int n = CharLen(cl);
            if (n < pos[k]) cl.append(static_cast<size_t>(pos[k] - n), ' ');
            cl += align(piece, a, width[k]);
            if (nx == std::string::npos) break;
            start = nx + 2;
          }
        }
      }
      const std::string p = align(firstLine, a, width[k]);
      line += p;
      const int n = CharLen(p);
      if (n <= width[k]) line.append(static_cast<size_t>(width[k] - n + 1), ' ');
    }
    out += line + "\r\n";
    for (const std::string& cl : cont) out += cl + "\r\n";
  }
  ExportNotification(esExportDone, -1);
  SaveBytes(FileName, out, false);
}

void TDavEvadurAvuz::SaveToFixed(const std::string& FileName, TIntList* Widths) {
  const int hidden = ExchangeHiddenColumns ? NumHiddenColumns() : 0;
  std::vector<int> cols;
  for (int c = GetSaveStartCol(); c <= GetSaveEndCol() + hidden; ++c) cols.push_back(ExchangeHiddenColumns ? c : RemapCol(c));
  std::string v;
  for (size_t p = 0; p < cols.size(); ++p)
    if (static_cast<int>(p) >= Widths->Count()) {
      int w = 0;
      for (int r = 0; r < RowCount(); ++r) {
        SaveCell(cols[p], r, v);
        w = std::max(w, CharLen(v));
      }
      Widths->Add(w + 1);
    }
  std::string out;
  ExportNotification(esExportStart, -1);
  for (int r = GetSaveStartRow(); r <= GetSaveEndRow(); ++r) {
    ExportNotification(esExportNewRow, r);
    for (size_t p = 0; p < cols.size(); ++p) {
      SaveCell(cols[p], r, v);
      const int w = std::max(0, Widths->Items()[p]);
      const int n = CharLen(v);
      if (n > w) v.resize(CharOffset(v, w));
      else v.append(static_cast<size_t>(w - n), ' ');
      out += v;
    }
    out += "\r\n";
  }
  ExportNotification(esExportDone, -1);
  try {
    SaveBytes(FileName, out, false);
  } catch (const EStreamError&) {
    throw EVezIdidError("Cannot Create file " + FileName);
  }
}

void TDavEvadurAvuz::LoadFromFixed(const std::string& FileName, TIntList* Positions, bool Trim, int MaxLines) {
  std::string bytes;
  try {
    bytes = LoadBytes(FileName);
  } catch (const EStreamError&) {
    throw EVezIdidError("File " + FileName + " not found");
  }
  std::vector<int> p = Positions->Items();
  std::sort(p.begin(), p.end());
  Positions->Clear();
  for (int x : p) Positions->Add(x);
  const int n = static_cast<int>(p.size());
  if (n < 2) return;  // no field is delimited
  SetColCount(FixedCols() + n - 1);
  int row = GetSaveStartRow(), lines = 0;
  const std::vector<std::string> all = SplitLines(bytes);
  for (size_t li = 0; li < all.size(); ++li) {
    if (row >= RowCount()) SetRowCount(row + 1);
    const std::string& line = all[li];
    int col = GetSaveStartCol();
    for (int k = 0; k + 1 < n; ++k) {
      const int a = std::max(1, p[k]), b = std::max(a, p[k + 1]);
      const size_t from = CharOffset(line, a - 1), to = CharOffset(line, b - 1);
      std::string f = from < to ? line.substr(from, to - from) : std::string();
      if (Trim) f = ::Trim(f);
      LoadCell(col, row, f);
      ++col;
    }
    ++row;
    ++lines;
    if (MaxLines != -1 && lines >= std::max(MaxLines, 1)) break;
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
  CellsLoaded();
}
