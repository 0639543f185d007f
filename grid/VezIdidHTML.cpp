// HTML export of the grid: one table row per grid row, merged cells as spans, each
// distinct cell look as one CSS class, line breaks as <br>, addresses as links and cell
// pictures as JPEG files in an "images" folder beside the HTML file.
#include <filesystem>
#include <fstream>
#include <map>

#include "foundation/Deahtml.h"
#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"

namespace {
// A value for a double-quoted attribute.
std::string AttrEscape(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '&': r += "&amp;"; break;
      case '"': r += "&quot;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      default: r += c;
    }
  }
  return r;
}

std::string Colour(TColor c) { return HTMLColor(static_cast<TColor>(ColorToRGB(c))); }

void WriteBytes(std::ofstream& f, const std::string& s) { f.write(s.data(), static_cast<std::streamsize>(s.size())); }
}  // namespace

void TDavEvadurAvuz::SaveToHTMLString(const std::string& ImageFolder, std::string& Out) {
  THTMLSettings* hs = HTMLSettings();
  const int fr0 = ExportFixedCells ? 0 : FixedRows(), fc0 = ExportFixedCells ? 0 : FixedCols();
  std::vector<std::string> classes;
  std::map<std::string, int> classIndex;
  std::vector<std::string> lines;
  int imageNo = 0;
  const bool header = FixedRows() > 0 && ExportFixedCells;
  TIntList* widths = hs->ColWidths();

  auto link = [&](const std::string& content) {
    if (!URLShow() || content.find("</") != std::string::npos) return content;
    std::string r = content;
    if (size_t p = content.find("://"); p != std::string::npos) {
      const std::string shown = URLFull ? content : content.substr(p + 3, 255);
      r = "<a href=\"" + AttrEscape(content) + "\">" + shown + "</a>";
    }
    if (size_t p = content.find("mailto:"); p != std::string::npos) {
      const std::string shown = URLFull ? content : content.substr(p + 7);
      r = "<a href=\"" + AttrEscape(content) + "\">" + shown + "</a>";
    }
    return r;
  };
  auto saveImage = [&](TGraphic* g) -> std::string {
    if (!g || g->GetEmpty()) return {};
    const std::string dir = ImageFolder + "images";
    std::error_code ec;
    std::filesystem::create_directories(dir.empty() ? "." : dir, ec);
    if (ec) throw Exception("Cannot create " + dir);
    const std::string path = ImageFolder + "images/img" + std::to_string(++imageNo) + ".jpg";
    TMemoryStream m;
    if (auto* j = dynamic_cast<TJPEGImage*>(g)) {
      j->SaveToStream(m);
    } else {
      TJPEGImage jpeg;
      jpeg.SetRawImage(g->ToRawImage());
      jpeg.SaveToStream(m);
    }
    m.SaveToFile(path);
    return "<img src= \"file://" + path + "\">";
  };
  auto cellLine = [&](int c, int r, const std::string& content, bool fixedCell, bool isHeader, bool hadHeader) {
    TBrush brush;
    TFont font;
    font.Assign(Font());
    brush.SetColor(fixedCell ? FixedColor() : clNone);
    font.SetColor(clNone);
    font.SetStyle(TFontStyles{});
    TGridDrawState state;
    if (fixedCell) state.Include(gdFixed);
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = true;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(c, r, state, false, false, true, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww, gd);
    std::vector<std::string> decl;
    if (hs->SaveColor && brush.GetColor() != clNone) decl.push_back("background-color: #" + Colour(brush.GetColor()));
    if (hs->SaveColor && font.GetColor() != clNone) decl.push_back("color: #" + Colour(font.GetColor()));
    decl.push_back("font-size:" + std::to_string(font.GetSize()) + "pt");
    if (font.GetStyle().Contains(fsItalic)) decl.push_back("font-style: italic");
    if (font.GetStyle().Contains(fsBold)) decl.push_back("font-weight: bold");
    decl.push_back("font-family: " + font.GetName());
    if (ha == taRightJustify) decl.push_back("text-align: right");
    else if (ha == taCenter) decl.push_back("text-align: center");
    decl.push_back(va == vtaTop ? "vertical-align: top" : va == vtaCenter ? "vertical-align: middle" : "vertical-align: bottom");
    std::string css;
    for (size_t i = 0; i < decl.size(); ++i) css += (i ? ";" : "") + decl[i];
    auto it = classIndex.find(css);
    if (it == classIndex.end()) {
      it = classIndex.emplace(css, static_cast<int>(classes.size())).first;
      classes.push_back(css);
    }
    std::string line = "<TD class=\"c" + std::to_string(it->second) + "\"";
    const TPoint span = CellSpan(c, r);
    if (span.X > 0) line += " COLSPAN=\"" + std::to_string(span.X + 1) + "\"";
    if (span.Y > 0) line += " ROWSPAN=\"" + std::to_string(span.Y + 1) + "\"";
    if (!ww) line += " nowrap";
    if (isHeader && c < widths->Count()) line += " WIDTH=" + std::to_string(widths->Items()[c]);
    else if (!isHeader && !hadHeader && c - fc0 >= 0 && c - fc0 < widths->Count())
      line += " width=" + std::to_string(widths->Items()[c - fc0]);
    line += ">";
    std::string body = content;
    if (hs->ExportImages) {
      const int rc = RemapCol(c);
      if (TCellGraphic* g = GetCellType(rc, r) == ctEmpty ? nullptr : GetCellGraphic(rc, r)) {
        if (g->CellType == ctBitmap) body += saveImage(dynamic_cast<TGraphic*>(g->CellRef.Object));
        else if (g->CellType == ctPicture)
          if (auto* p = dynamic_cast<TPicture*>(g->CellRef.Object)) body += saveImage(p->GetGraphic());
      }
    }
    lines.push_back(line + body + "</td>");
  };

  std::string v;
  int bc = 0, br = 0;
  if (header) {
    lines.push_back("<TR>");
    for (int c = fc0; c < ColCount(); ++c) {
      if (!IsBaseCellEx(c, 0, bc, br)) continue;
      SaveCell(RemapCol(c), 0, v);
      std::string content = link(HTMLLineBreaks(v));
      if (content.empty()) content = "&nbsp;";
      cellLine(c, 0, content, true, true, true);
    }
    lines.push_back("</TR>");
  }
  ExportNotification(esExportStart, -1);
  for (int r = header ? 1 : fr0; r < RowCount(); ++r) {
    ExportNotification(esExportNewRow, r);
    lines.push_back("<TR>");
    for (int c = fc0; c < ColCount(); ++c) {
      if (!IsBaseCellEx(c, r, bc, br)) continue;
      SaveCell(RemapCol(c), r, v);
      std::string content = v;
      if (hs->ConvertSpecialChars) content = FixMarkup(content);
      if (hs->NonBreakingText) {
        std::string t;
        for (char ch : content) t += ch == ' ' ? std::string("&nbsp;") : std::string(1, ch);
        content = t;
      }
      content = link(HTMLLineBreaks(content));
      if (Trim(content).empty()) content = "&nbsp;";
      const bool fixedCell = c < FixedCols() || r < FixedRows();
      cellLine(c, r, content, fixedCell, false, header);
    }
    lines.push_back("</TR>");
  }
  ExportNotification(esExportDone, -1);
  lines.push_back("</TABLE>");
  if (!hs->SuffixTag.empty()) lines.push_back(hs->SuffixTag);
  if (hs->XHTML) lines.push_back("</HTML>");

  std::string out;
  if (hs->XHTML) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    out += "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n";
    out += "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n";
    out += "<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n";
  }
  out += hs->PrefixTag;
  out += "<style>\r\n";
  for (size_t i = 0; i < classes.size(); ++i) out += ".c" + std::to_string(i) + " {" + classes[i] + "}\r\n";
  out += "</style>\r\n";
  std::string table = "<TABLE BORDER=\"" + std::to_string(hs->BorderSize) + "\" CELLSPACING=\"" +
                      std::to_string(hs->CellSpacing) + "\" CELLPADDING=\"" + std::to_string(hs->CellPadding) + "\" ";
  if (!hs->Summary.empty()) table += "SUMMARY=\"" + AttrEscape(hs->Summary) + "\" ";
  if (!hs->TableStyle.empty()) table += " " + hs->TableStyle + " ";
  table += " WIDTH=\"" + std::to_string(hs->Width) + "%\">";
  out += table + "\r\n";
  for (size_t i = 0; i < lines.size(); ++i) {
    out += lines[i];
    if (i + 1 < lines.size()) out += "\r\n";
  }
  Out = std::move(out);
}

void TDavEvadurAvuz::OutputToHTML(const std::string& FileName, bool Append) {
  THTMLSettings* hs = HTMLSettings();
  std::ofstream f(FileName, std::ios::binary | (Append ? std::ios::app : std::ios::trunc));
  if (!f) throw EVezIdidError("Cannot Create file " + FileName);
  auto copyFile = [&](const std::string& Name) {
    if (Name.empty()) return;
    std::ifstream in(Name, std::ios::binary);
    if (!in) return;  // an unreadable header or footer is skipped
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      WriteBytes(f, line + "\r\n");
    }
  };
  copyFile(hs->HeaderFile);
  std::string folder = std::filesystem::path(FileName).parent_path().string();
  for (char& c : folder)
    if (c == '\\') c = '/';
  if (!folder.empty()) folder += '/';
  std::string html;
  SaveToHTMLString(folder, html);
  WriteBytes(f, html + "\r\n");
  copyFile(hs->FooterFile);
}

void TDavEvadurAvuz::SaveToHTML(const std::string& FileName, bool Preview) { OutputToHTML(FileName, false); }
