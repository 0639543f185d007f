#include "platform/vcl/Filer.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

#include "platform/rtl/CodePage.h"

namespace {

// ---------------------------------------------------------------------------------------
// Text: UTF-8 in memory, UTF-16 code units in the stored forms (platform/rtl/CodePage.h).
bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

bool IsValidUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (int k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

// Bytes of an 8-bit string of the binary form: UTF-8 when valid, else Latin-1.
std::string BytesToUtf8(const std::string& bytes) {
  if (IsValidUtf8(bytes)) return bytes;
  std::string out;
  for (unsigned char c : bytes) Utf8Append(out, c);
  return out;
}

[[noreturn]] void ReadErrorAt(const std::string& msg, int line) {
  throw EReadError(line > 0 ? msg + " on line " + std::to_string(line) : msg);
}

// How deeply objects, lists and collections may nest in a stored form. Real forms stay
// far below; the readers recurse per level, so hostile input must not go deeper.
constexpr int kMaxNesting = 128;
constexpr const char* kTooDeep = "Too deeply nested";

// Counts one level of nesting for as long as it lives.
class TNestingLevel {
public:
  TNestingLevel(int& depth, const std::function<void()>& tooDeep) : FDepth(depth) {
    if (++FDepth > kMaxNesting) {
      --FDepth;
      tooDeep();
    }
  }
  ~TNestingLevel() { --FDepth; }
  TNestingLevel(const TNestingLevel&) = delete;
  TNestingLevel& operator=(const TNestingLevel&) = delete;

private:
  int& FDepth;
};

// ---------------------------------------------------------------------------------------
// Floats as text.
std::string FormatFloat(long double v, TFloatType type) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  auto same = [&](long double parsed) {
    switch (type) {
      case ftSingle: return static_cast<float>(parsed) == static_cast<float>(v);
      case ftDouble: return static_cast<double>(parsed) == static_cast<double>(v);
      default: return parsed == v;
    }
  };
  char buf[128];
  if (std::fabs(v) < 1e15L) {
    std::snprintf(buf, sizeof buf, "%.18Lf", v);
    if (same(std::strtold(buf, nullptr))) return buf;
  }
  for (int digits = 15; digits <= 21; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*LE", digits, v);
    if (same(std::strtold(buf, nullptr))) break;
  }
  return buf;
}

// ---------------------------------------------------------------------------------------
// Text form parser.
class TTextParser {
public:
  explicit TTextParser(const std::string& text) : FText(text) {}

  TFormObject ParseObject() {
    SkipBlanks();
    TNestingLevel level(FDepth, [this] { Error(kTooDeep); });
    TFormObject obj;
    obj.Line = FLine;
    std::string kw = Ident();
    if (Same(kw, "object")) obj.Kind = TFormObject::okObject;
    else if (Same(kw, "inherited")) obj.Kind = TFormObject::okInherited;
    else if (Same(kw, "inline")) obj.Kind = TFormObject::okInline;
    else Error("'object' expected but '" + kw + "' found");
    std::string first = Ident();
    SkipBlanks();
    if (Peek() == ':') {
      ++FPos;
      obj.Name = first;
      obj.ClassName = Ident();
    } else {
      obj.ClassName = first;
    }
    SkipBlanks();
    if (Peek() == '[') {
      ++FPos;
      obj.ChildPos = Integer();
      Expect(']');
    }
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Error("'end' expected");
      size_t save = FPos;
      int saveLine = FLine;
      std::string word = Ident();
      if (Same(word, "end")) break;
      if (Same(word, "object") || Same(word, "inherited") || Same(word, "inline")) {
        SkipBlanks();
        if (Peek() != '=' && Peek() != '.') {
          FPos = save;
          FLine = saveLine;
          obj.Children.push_back(ParseObject());
          continue;
        }
      }
      obj.Props.push_back(ParseProperty(word, saveLine));
    }
    return obj;
  }

  void ExpectEnd() {
    SkipBlanks();
    if (!AtEnd()) Error("Unexpected text after 'end'");
  }

private:
  TFormProperty ParseProperty(std::string name, int line) {
    TFormProperty p;
    p.Line = line;
    SkipBlanks();
    while (Peek() == '.') {
      ++FPos;
      name += '.';
      name += Ident();
      SkipBlanks();
    }
    p.Name = std::move(name);
    Expect('=');
    p.Value = ParseValue();
    return p;
  }

  TFormValue ParseValue() {
    SkipBlanks();
    TFormValue v;
    v.Line = FLine;
    char c = Peek();
    if (c == '\'' || c == '#') {
      v.Kind = TFormValue::vkString;
      v.Str = StringValue();
      for (;;) {
        SkipBlanks();
        if (Peek() != '+') break;
        ++FPos;
        SkipBlanks();
        if (Peek() != '\'' && Peek() != '#') Error("String expected");
        v.Str += StringValue();
      }
      return v;
    }
    if (c == '-' || c == '+' || (c >= '0' && c <= '9') || c == '$') return Number();
    if (IsIdentStart(c)) {
      std::string id = Ident();
      while (Peek() == '.') {
        ++FPos;
        id += '.';
        id += Ident();
      }
      if (Same(id, "True") || Same(id, "False")) {
        v.Kind = TFormValue::vkBool;
        v.Bool = Same(id, "True");
      } else if (Same(id, "nil")) {
        v.Kind = TFormValue::vkNil;
      } else if (NonFinite(id, false, v)) {
      } else {
        v.Kind = TFormValue::vkIdent;
        v.Str = id;
      }
      return v;
    }
    switch (c) {
      case '[': {
        ++FPos;
        v.Kind = TFormValue::vkSet;
        SkipBlanks();
        if (Peek() != ']') {
          for (;;) {
            SkipBlanks();
            if (IsIdentStart(Peek())) v.SetItems.push_back(Ident());
            else v.SetItems.push_back(std::to_string(Number().Int));
            SkipBlanks();
            if (Peek() == ',') { ++FPos; continue; }
            break;
          }
        }
        Expect(']');
        return v;
      }
      case '(': {
        TNestingLevel level(FDepth, [this] { Error(kTooDeep); });
        ++FPos;
        v.Kind = TFormValue::vkList;
        for (;;) {
          SkipBlanks();
          if (Peek() == ')') { ++FPos; break; }
          if (AtEnd()) Error("')' expected");
          v.List.push_back(ParseValue());
        }
        return v;
      }
      case '{': {
        ++FPos;
        v.Kind = TFormValue::vkBinary;
        int hi = -1;
        for (;;) {
          if (AtEnd()) Error("'}' expected");
          char h = FText[FPos++];
          if (h == '}') break;
          if (h == '\n') { ++FLine; continue; }
          if (h == ' ' || h == '\t' || h == '\r') continue;
          int d = HexDigit(h);
          if (d < 0) Error("Invalid binary value");
          if (hi < 0) hi = d;
          else { v.Str += static_cast<char>(hi * 16 + d); hi = -1; }
        }
        if (hi >= 0) Error("Invalid binary value");
        return v;
      }
      case '<': {
        TNestingLevel level(FDepth, [this] { Error(kTooDeep); });
        ++FPos;
        v.Kind = TFormValue::vkCollection;
        for (;;) {
          SkipBlanks();
          if (Peek() == '>') { ++FPos; break; }
          TFormItem item;
          item.Line = FLine;
          std::string kw = Ident();
          if (!Same(kw, "item")) Error("'item' expected but '" + kw + "' found");
          SkipBlanks();
          if (Peek() == '[') {
            ++FPos;
            item.Order = Integer();
            Expect(']');
          }
          for (;;) {
            SkipBlanks();
            int line = FLine;
            std::string word = Ident();
            if (Same(word, "end")) break;
            item.Props.push_back(ParseProperty(word, line));
          }
          v.Items.push_back(std::move(item));
        }
        return v;
      }
      default:
        break;
    }
    Error(AtEnd() ? "Unexpected end of file" : std::string("Invalid property value '") + c + "'");
  }

  // 'abc'#13#10'def' (one segment run, no '+').
  std::string StringValue() {
    std::u16string units;
    std::string out;
    auto flushUnits = [&] {
      if (!units.empty()) { out += Utf16ToUtf8(units); units.clear(); }
    };
    for (;;) {
      char c = Peek();
      if (c == '\'') {
        ++FPos;
        flushUnits();
        std::string run;
        for (;;) {
          if (AtEnd() || FText[FPos] == '\n' || FText[FPos] == '\r') Error("Unterminated string");
          char d = FText[FPos++];
          if (d == '\'') {
            if (Peek() == '\'') { ++FPos; run += '\''; continue; }
            break;
          }
          run += d;
        }
        // Bytes that are not UTF-8 are read as Latin-1, as the binary form reads them.
        out += BytesToUtf8(run);
      } else if (c == '#') {
        ++FPos;
        int64_t code;
        if (Peek() == '$') {
          ++FPos;
          code = 0;
          int n = 0;
          while (HexDigit(Peek()) >= 0) {
            code = code * 16 + HexDigit(FText[FPos++]);
            if (code > 0x10FFFF) Error("Invalid character code");
            ++n;
          }
          if (n == 0) Error("Invalid character code");
        } else {
          if (!(Peek() >= '0' && Peek() <= '9')) Error("Invalid character code");
          code = 0;
          while (Peek() >= '0' && Peek() <= '9') {
            code = code * 10 + (FText[FPos++] - '0');
            if (code > 0x10FFFF) Error("Invalid character code");
          }
        }
        // Codes are UTF-16 code units; surrogate pairs combine across adjacent codes.
        if (code > 0xFFFF) {
          flushUnits();
          Utf8Append(out, static_cast<char32_t>(code));
        } else {
          units += static_cast<char16_t>(code);
        }
      } else {
        break;
      }
    }
    flushUnits();
    return out;
  }

  TFormValue Number() {
    TFormValue v;
    v.Line = FLine;
    size_t start = FPos;
    bool neg = false;
    if (Peek() == '-' || Peek() == '+') { neg = Peek() == '-'; ++FPos; }
    if (Peek() == '$') {
      ++FPos;
      uint64_t n = 0;
      int digits = 0;
      while (HexDigit(Peek()) >= 0) { n = n * 16 + static_cast<uint64_t>(HexDigit(FText[FPos++])); ++digits; }
      if (digits == 0 || digits > 16) Error("Invalid number");
      // Sixteen hex digits are the 64 bits of the value; the one value without a
      // negative counterpart is out of range once negated.
      int64_t value = static_cast<int64_t>(n);
      if (neg) {
        if (value == INT64_MIN) Error("Number out of range: " + FText.substr(start, FPos - start));
        value = -value;
      }
      v.Kind = TFormValue::vkInt;
      v.Int = value;
      return v;
    }
    if (IsIdentStart(Peek())) {  // -INF, with a type suffix as the writer puts it
      std::string id = Ident();
      if (!NonFinite(id, neg, v) || std::isnan(v.Float)) Error("Invalid number");
      return v;
    }
    bool isFloat = false;
    while (Peek() >= '0' && Peek() <= '9') ++FPos;
    if (Peek() == '.') {
      isFloat = true;
      ++FPos;
      while (Peek() >= '0' && Peek() <= '9') ++FPos;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      size_t save = FPos;
      ++FPos;
      if (Peek() == '-' || Peek() == '+') ++FPos;
      if (Peek() >= '0' && Peek() <= '9') {
        isFloat = true;
        while (Peek() >= '0' && Peek() <= '9') ++FPos;
      } else {
        FPos = save;
      }
    }
    std::string text = FText.substr(start, FPos - start);
    if (text.empty() || text == "-" || text == "+") Error("Invalid number");
    char suffix = Peek();
    if (suffix == 's' || suffix == 'S' || suffix == 'c' || suffix == 'C' || suffix == 'd' || suffix == 'D') {
      if (!IsIdentChar(FPos + 1 < FText.size() ? FText[FPos + 1] : ' ')) {
        ++FPos;
        isFloat = true;
        if (suffix == 's' || suffix == 'S') v.FloatType = ftSingle;
        else if (suffix == 'c' || suffix == 'C') v.FloatType = ftCurr;
        else v.IsDate = true;
      }
    }
    if (isFloat) {
      v.Kind = TFormValue::vkFloat;
      v.Float = std::strtold(text.c_str(), nullptr);
      if (v.FloatType == ftExtended && !v.IsDate) v.FloatType = ftExtended;
      if (v.IsDate) v.FloatType = ftDouble;
    } else {
      errno = 0;
      char* end = nullptr;
      long long n = std::strtoll(text.c_str(), &end, 10);
      if (errno == ERANGE) Error("Number out of range: " + text);
      v.Kind = TFormValue::vkInt;
      v.Int = n;
    }
    return v;
  }

  int64_t Integer() {
    SkipBlanks();
    TFormValue v = Number();
    if (v.Kind != TFormValue::vkInt) Error("Integer expected");
    return v.Int;
  }

  std::string Ident() {
    SkipBlanks();
    if (!IsIdentStart(Peek())) {
      if (AtEnd()) Error("Unexpected end of file");
      Error(std::string("Identifier expected but '") + Peek() + "' found");
    }
    size_t start = FPos;
    while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
    return FText.substr(start, FPos - start);
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) {
      if (AtEnd()) Error(std::string("'") + c + "' expected but end of file found");
      Error(std::string("'") + c + "' expected but '" + Peek() + "' found");
    }
    ++FPos;
  }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') { ++FLine; ++FPos; }
      else if (c == ' ' || c == '\t' || c == '\r') ++FPos;
      else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
      } else break;
    }
  }

  static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }
  static bool Same(const std::string& a, const char* b) { return SameTextAscii(a, b); }
  char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }
  bool AtEnd() const { return FPos >= FText.size(); }
  [[noreturn]] void Error(const std::string& msg) const { ReadErrorAt(msg, FLine); }

  // INF, NAN and -INF, bare or with the suffix of a single, currency or date value.
  bool NonFinite(const std::string& id, bool negative, TFormValue& v) const {
    std::string word = id;
    char suffix = 0;
    if (word.size() == 4) {
      suffix = static_cast<char>(std::toupper(static_cast<unsigned char>(word[3])));
      if (suffix != 'S' && suffix != 'C' && suffix != 'D') return false;
      word.pop_back();
    }
    if (!Same(word, "INF") && !Same(word, "NAN")) return false;
    v.Kind = TFormValue::vkFloat;
    v.Float = Same(word, "NAN") ? NAN : negative ? -HUGE_VALL : HUGE_VALL;
    if (suffix == 'S') v.FloatType = ftSingle;
    else if (suffix == 'C') v.FloatType = ftCurr;
    else if (suffix == 'D') { v.FloatType = ftDouble; v.IsDate = true; }
    return true;
  }

  const std::string& FText;
  size_t FPos = 0;
  int FLine = 1;
  int FDepth = 0;
};

// ---------------------------------------------------------------------------------------
// Text form writer.
class TTextWriter {
public:
  std::string Out;

  void Object(const TFormObject& obj, int indent) {
    Indent(indent);
    Out += obj.Kind == TFormObject::okInherited ? "inherited " : obj.Kind == TFormObject::okInline ? "inline " : "object ";
    if (!obj.Name.empty()) Out += obj.Name + ": ";
    Out += obj.ClassName;
    if (obj.ChildPos) Out += " [" + std::to_string(*obj.ChildPos) + "]";
    Out += "\r\n";
    Props(obj.Props, indent + 2);
    for (const auto& child : obj.Children) Object(child, indent + 2);
    Indent(indent);
    Out += "end\r\n";
  }

private:
  void Props(const std::vector<TFormProperty>& props, int indent) {
    for (const auto& p : props) {
      Indent(indent);
      Out += p.Name + " =";
      Value(p.Value, indent + 2, true);
      Out += "\r\n";
    }
  }

  // Writes the value after "Name =" (afterEquals) or on its own line in a list.
  void Value(const TFormValue& v, int indent, bool afterEquals) {
    auto lead = [&] {
      if (afterEquals) Out += ' ';
    };
    switch (v.Kind) {
      case TFormValue::vkInt: lead(); Out += std::to_string(v.Int); break;
      case TFormValue::vkFloat:
        lead();
        Out += FormatFloat(v.Float, v.FloatType);
        if (v.IsDate) Out += 'd';
        else if (v.FloatType == ftSingle) Out += 's';
        else if (v.FloatType == ftCurr) Out += 'c';
        break;
      case TFormValue::vkIdent: lead(); Out += v.Str; break;
      case TFormValue::vkBool: lead(); Out += v.Bool ? "True" : "False"; break;
      case TFormValue::vkNil: lead(); Out += "nil"; break;
      case TFormValue::vkSet:
        lead();
        Out += '[';
        for (size_t i = 0; i < v.SetItems.size(); ++i) {
          if (i) Out += ", ";
          Out += v.SetItems[i];
        }
        Out += ']';
        break;
      case TFormValue::vkString: {
        std::vector<std::string> pieces = StringPieces(v.Str);
        if (pieces.size() == 1) {
          if (afterEquals) Out += ' ';
          Out += pieces[0];
        } else {
          if (afterEquals) Out += ' ';
          for (size_t i = 0; i < pieces.size(); ++i) {
            if (afterEquals || i > 0) {
              Out += "\r\n";
              Indent(indent);
            }
            Out += pieces[i];
            if (i + 1 < pieces.size()) Out += " +";
          }
        }
        break;
      }
      case TFormValue::vkList:
        lead();
        Out += '(';
        for (const auto& item : v.List) {
          Out += "\r\n";
          Indent(indent);
          Value(item, indent + 2, false);
        }
        Out += ')';
        break;
      case TFormValue::vkBinary: {
        lead();
        Out += '{';
        static const char hex[] = "0123456789ABCDEF";
        for (size_t i = 0; i < v.Str.size(); ++i) {
          if (i % 32 == 0) {
            Out += "\r\n";
            Indent(indent);
          }
          unsigned char b = static_cast<unsigned char>(v.Str[i]);
          Out += hex[b >> 4];
          Out += hex[b & 15];
        }
        Out += '}';
        break;
      }
      case TFormValue::vkCollection:
        lead();
        Out += '<';
        for (const auto& item : v.Items) {
          Out += "\r\n";
          Indent(indent);
          Out += "item";
          if (item.Order) Out += " [" + std::to_string(*item.Order) + "]";
          Out += "\r\n";
          Props(item.Props, indent + 2);
          Indent(indent);
          Out += "end";
        }
        Out += '>';
        break;
    }
  }

  // The string as quoted runs and #nnn codes (UTF-16 units for non-ASCII characters),
  // cut into pieces of at most 64 characters joined by '+' on separate lines.
  static std::vector<std::string> StringPieces(const std::string& s) {
    std::u16string units = Utf8ToUtf16(s);
    std::vector<std::string> pieces;
    if (units.empty()) return {"''"};
    const size_t kLine = 64;
    for (size_t start = 0; start < units.size(); start += kLine) {
      size_t end = std::min(units.size(), start + kLine);
      // Keep surrogate pairs together.
      if (end < units.size() && units[end - 1] >= 0xD800 && units[end - 1] < 0xDC00) ++end;
      std::string piece;
      bool inQuote = false;
      for (size_t i = start; i < end; ++i) {
        char16_t c = units[i];
        if (c >= ' ' && c < 127) {
          if (!inQuote) { piece += '\''; inQuote = true; }
          piece += static_cast<char>(c);
          if (c == '\'') piece += '\'';
        } else {
          if (inQuote) { piece += '\''; inQuote = false; }
          piece += '#';
          piece += std::to_string(static_cast<unsigned>(c));
        }
      }
      if (inQuote) piece += '\'';
      pieces.push_back(std::move(piece));
      if (end > start + kLine) start = end - kLine;
    }
    return pieces;
  }

  void Indent(int n) { Out.append(static_cast<size_t>(n), ' '); }
};

// ---------------------------------------------------------------------------------------
// Binary form.
enum : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

class TBinaryReader {
public:
  explicit TBinaryReader(TStream& s) : FStream(s) {}

  TFormObject Object() {
    TNestingLevel level(FDepth, [] { throw EReadError(kTooDeep); });
    TFormObject obj;
    uint8_t b = PeekByte();
    if ((b & 0xF0) == 0xF0) {
      FStream.ReadByte();
      uint8_t flags = b & 0x0F;
      if (flags & ~(ffInherited | ffChildPos | ffInline)) Error();
      if (flags & ffInherited) obj.Kind = TFormObject::okInherited;
      if (flags & ffInline) obj.Kind = TFormObject::okInline;
      if (flags & ffChildPos) {
        TFormValue v = Value();
        if (v.Kind != TFormValue::vkInt) Error();
        obj.ChildPos = v.Int;
      }
    }
    obj.ClassName = ShortString();
    // An empty class name would read as the end of the parent's children.
    if (obj.ClassName.empty()) Error();
    obj.Name = ShortString();
    while (PeekByte() != vaNull) {
      TFormProperty p;
      p.Name = ShortString();
      p.Value = Value();
      obj.Props.push_back(std::move(p));
    }
    FStream.ReadByte();
    while (PeekByte() != vaNull) obj.Children.push_back(Object());
    FStream.ReadByte();
    return obj;
  }

private:
  TFormValue Value() {
    TFormValue v;
    uint8_t type = FStream.ReadByte();
    switch (type) {
      case vaNull: Error();
      case vaList: {
        TNestingLevel level(FDepth, [] { throw EReadError(kTooDeep); });
        v.Kind = TFormValue::vkList;
        while (PeekByte() != vaNull) v.List.push_back(Value());
        FStream.ReadByte();
        break;
      }
      case vaInt8: v.Kind = TFormValue::vkInt; v.Int = static_cast<int8_t>(FStream.ReadByte()); break;
      case vaInt16: {
        uint8_t b[2];
        FStream.ReadBuffer(b, 2);
        v.Kind = TFormValue::vkInt;
        v.Int = static_cast<int16_t>(uint16_t(b[0] | b[1] << 8));
        break;
      }
      case vaInt32: v.Kind = TFormValue::vkInt; v.Int = FStream.ReadInt32(); break;
      case vaInt64: {
        uint8_t b[8];
        FStream.ReadBuffer(b, 8);
        uint64_t n = 0;
        for (int i = 7; i >= 0; --i) n = n << 8 | b[i];
        v.Kind = TFormValue::vkInt;
        v.Int = static_cast<int64_t>(n);
        break;
      }
      case vaExtended: {
        uint8_t b[10];
        FStream.ReadBuffer(b, 10);
        long double x = 0;
        static_assert(sizeof(long double) >= 10, "80-bit extended expected");
        std::memcpy(&x, b, 10);
        v.Kind = TFormValue::vkFloat;
        v.Float = x;
        v.FloatType = ftExtended;
        break;
      }
      case vaDouble:
      case vaDate: {
        double d;
        FStream.ReadBuffer(&d, 8);
        v.Kind = TFormValue::vkFloat;
        v.Float = d;
        v.FloatType = ftDouble;
        v.IsDate = type == vaDate;
        break;
      }
      case vaSingle: {
        float f;
        FStream.ReadBuffer(&f, 4);
        v.Kind = TFormValue::vkFloat;
        v.Float = f;
        v.FloatType = ftSingle;
        break;
      }
      case vaCurrency: {
        int64_t c;
        FStream.ReadBuffer(&c, 8);
        v.Kind = TFormValue::vkFloat;
        v.Float = static_cast<long double>(c) / 10000.0L;
        v.FloatType = ftCurr;
        break;
      }
      case vaString: v.Kind = TFormValue::vkString; v.Str = BytesToUtf8(ShortString()); break;
      case vaLString:
      case vaUTF8String: v.Kind = TFormValue::vkString; v.Str = BytesToUtf8(Bytes(Length())); break;
      case vaWString: {
        int32_t n = Length();
        std::string raw = Bytes(static_cast<int64_t>(n) * 2);
        std::u16string w(static_cast<size_t>(n), u'\0');
        for (int32_t i = 0; i < n; ++i)
          w[static_cast<size_t>(i)] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                                            static_cast<unsigned char>(raw[2 * i + 1]) << 8);
        v.Kind = TFormValue::vkString;
        v.Str = Utf16ToUtf8(w);
        v.Wide = true;
        break;
      }
      case vaIdent: {
        v.Str = ShortString();
        if (v.Str == "True" || v.Str == "False") { v.Kind = TFormValue::vkBool; v.Bool = v.Str == "True"; }
        else if (v.Str == "nil") v.Kind = TFormValue::vkNil;
        else v.Kind = TFormValue::vkIdent;
        break;
      }
      case vaFalse: v.Kind = TFormValue::vkBool; v.Bool = false; break;
      case vaTrue: v.Kind = TFormValue::vkBool; v.Bool = true; break;
      case vaNil: v.Kind = TFormValue::vkNil; break;
      case vaBinary: v.Kind = TFormValue::vkBinary; v.Str = Bytes(Length()); break;
      case vaSet:
        v.Kind = TFormValue::vkSet;
        for (;;) {
          std::string s = ShortString();
          if (s.empty()) break;
          v.SetItems.push_back(s);
        }
        break;
      case vaCollection: {
        TNestingLevel level(FDepth, [] { throw EReadError(kTooDeep); });
        v.Kind = TFormValue::vkCollection;
        while (PeekByte() != vaNull) {
          TFormItem item;
          uint8_t t = PeekByte();
          if (t == vaInt8 || t == vaInt16 || t == vaInt32) {
            TFormValue order = Value();
            item.Order = order.Int;
          }
          if (FStream.ReadByte() != vaList) Error();
          while (PeekByte() != vaNull) {
            TFormProperty p;
            p.Name = ShortString();
            p.Value = Value();
            item.Props.push_back(std::move(p));
          }
          FStream.ReadByte();
          v.Items.push_back(std::move(item));
        }
        FStream.ReadByte();
        break;
      }
      default:
        Error();
    }
    return v;
  }

  int32_t Length() {
    int32_t n = FStream.ReadInt32();
    if (n < 0 || n > FStream.Size() - FStream.Position()) Error();
    return n;
  }
  std::string Bytes(int64_t n) {
    if (n < 0 || n > FStream.Size() - FStream.Position()) Error();
    std::string s(static_cast<size_t>(n), '\0');
    FStream.ReadBuffer(s.data(), n);
    return s;
  }
  std::string ShortString() { return Bytes(FStream.ReadByte()); }
  uint8_t PeekByte() {
    uint8_t b = FStream.ReadByte();
    FStream.Seek(-1, soCurrent);
    return b;
  }
  [[noreturn]] static void Error() { throw EReadError("Invalid stream format"); }

  TStream& FStream;
  int FDepth = 0;
};

// A currency value as its count of ten-thousandths in 64 bits, the exact inverse of how
// the binary reader makes the value (count / 10000), so a count read is written back
// unchanged. NaN, infinities and values beyond the range have no binary form.
int64_t CurrencyUnits(long double value) {
  const long double scaled = std::roundl(value * 10000.0L);
  constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
  if (!(scaled >= -kLimit && scaled <= kLimit)) throw EWriteError("Currency value out of range");
  const int64_t c = scaled == kLimit ? INT64_MAX : static_cast<int64_t>(scaled);
  auto gives = [&](int64_t n) { return static_cast<long double>(n) / 10000.0L == value; };
  if (gives(c)) return c;
  if (c > INT64_MIN && gives(c - 1)) return c - 1;
  if (c < INT64_MAX && gives(c + 1)) return c + 1;
  if (scaled == kLimit) throw EWriteError("Currency value out of range");
  return c;
}

class TBinaryWriter {
public:
  explicit TBinaryWriter(TStream& s) : FStream(s) {}

  void Object(const TFormObject& obj) {
    uint8_t flags = 0;
    if (obj.Kind == TFormObject::okInherited) flags |= ffInherited;
    if (obj.Kind == TFormObject::okInline) flags |= ffInline;
    if (obj.ChildPos) flags |= ffChildPos;
    // A class name of 240 bytes or more starts with a length byte the reader would take
    // for a flags prefix: such an object always gets the prefix (then with no flags).
    if (flags || obj.ClassName.size() >= 0xF0) {
      FStream.WriteByte(0xF0 | flags);
      if (obj.ChildPos) Int(*obj.ChildPos);
    }
    ShortString(obj.ClassName);
    ShortString(obj.Name);
    for (const auto& p : obj.Props) {
      ShortString(p.Name);
      Value(p.Value);
    }
    FStream.WriteByte(vaNull);
    for (const auto& child : obj.Children) Object(child);
    FStream.WriteByte(vaNull);
  }

private:
  void Value(const TFormValue& v) {
    switch (v.Kind) {
      case TFormValue::vkInt: Int(v.Int); break;
      case TFormValue::vkFloat:
        if (v.IsDate) {
          FStream.WriteByte(vaDate);
          double d = static_cast<double>(v.Float);
          FStream.WriteBuffer(&d, 8);
        } else if (v.FloatType == ftSingle) {
          FStream.WriteByte(vaSingle);
          float f = static_cast<float>(v.Float);
          FStream.WriteBuffer(&f, 4);
        } else if (v.FloatType == ftCurr) {
          int64_t c = CurrencyUnits(v.Float);
          FStream.WriteByte(vaCurrency);
          FStream.WriteBuffer(&c, 8);
        } else if (v.FloatType == ftDouble) {
          FStream.WriteByte(vaDouble);
          double d = static_cast<double>(v.Float);
          FStream.WriteBuffer(&d, 8);
        } else {
          FStream.WriteByte(vaExtended);
          uint8_t b[16] = {};
          long double x = v.Float;
          std::memcpy(b, &x, sizeof x < 16 ? sizeof x : 16);
          FStream.WriteBuffer(b, 10);
        }
        break;
      case TFormValue::vkString:
        if (v.Wide) {
          std::u16string w = Utf8ToUtf16(v.Str);
          FStream.WriteByte(vaWString);
          FStream.WriteInt32(static_cast<int32_t>(w.size()));
          for (char16_t c : w) {
            FStream.WriteByte(static_cast<uint8_t>(c & 0xFF));
            FStream.WriteByte(static_cast<uint8_t>(c >> 8));
          }
        } else if (!IsAscii(v.Str)) {
          FStream.WriteByte(vaUTF8String);
          FStream.WriteInt32(static_cast<int32_t>(v.Str.size()));
          FStream.WriteString(v.Str);
        } else if (v.Str.size() <= 255) {
          FStream.WriteByte(vaString);
          ShortString(v.Str);
        } else {
          FStream.WriteByte(vaLString);
          FStream.WriteInt32(static_cast<int32_t>(v.Str.size()));
          FStream.WriteString(v.Str);
        }
        break;
      case TFormValue::vkIdent:
        FStream.WriteByte(vaIdent);
        ShortString(v.Str);
        break;
      case TFormValue::vkBool: FStream.WriteByte(v.Bool ? vaTrue : vaFalse); break;
      case TFormValue::vkNil: FStream.WriteByte(vaNil); break;
      case TFormValue::vkSet:
        FStream.WriteByte(vaSet);
        for (const auto& s : v.SetItems) ShortString(s);
        FStream.WriteByte(0);
        break;
      case TFormValue::vkList:
        FStream.WriteByte(vaList);
        for (const auto& item : v.List) Value(item);
        FStream.WriteByte(vaNull);
        break;
      case TFormValue::vkBinary:
        FStream.WriteByte(vaBinary);
        FStream.WriteInt32(static_cast<int32_t>(v.Str.size()));
        FStream.WriteString(v.Str);
        break;
      case TFormValue::vkCollection:
        FStream.WriteByte(vaCollection);
        for (const auto& item : v.Items) {
          if (item.Order) Int(*item.Order);
          FStream.WriteByte(vaList);
          for (const auto& p : item.Props) {
            ShortString(p.Name);
            Value(p.Value);
          }
          FStream.WriteByte(vaNull);
        }
        FStream.WriteByte(vaNull);
        break;
    }
  }

  void Int(int64_t n) {
    if (n >= -128 && n <= 127) {
      FStream.WriteByte(vaInt8);
      FStream.WriteByte(static_cast<uint8_t>(n));
    } else if (n >= -32768 && n <= 32767) {
      FStream.WriteByte(vaInt16);
      uint16_t u = static_cast<uint16_t>(n);
      FStream.WriteByte(static_cast<uint8_t>(u));
      FStream.WriteByte(static_cast<uint8_t>(u >> 8));
    } else if (n >= INT32_MIN && n <= INT32_MAX) {
      FStream.WriteByte(vaInt32);
      FStream.WriteInt32(static_cast<int32_t>(n));
    } else {
      FStream.WriteByte(vaInt64);
      uint64_t u = static_cast<uint64_t>(n);
      for (int i = 0; i < 8; ++i) FStream.WriteByte(static_cast<uint8_t>(u >> (8 * i)));
    }
  }

  void ShortString(const std::string& s) {
    if (s.size() > 255) throw EWriteError("String too long for the binary form: " + s.substr(0, 32));
    FStream.WriteByte(static_cast<uint8_t>(s.size()));
    FStream.WriteString(s);
  }

  TStream& FStream;
};

const char kSignature[4] = {'T', 'P', 'F', '0'};

TFindGlobalComponent& GlobalFinder() {
  static TFindGlobalComponent finder;
  return finder;
}

}  // namespace

// ---------------------------------------------------------------------------------------
TFormObject ParseTextForm(const std::string& Text) {
  std::string text = Text;
  if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  TTextParser parser(text);
  TFormObject obj = parser.ParseObject();
  parser.ExpectEnd();
  return obj;
}

std::string FormatTextForm(const TFormObject& Object) {
  TTextWriter w;
  w.Object(Object, 0);
  return w.Out;
}

TFormObject ReadBinaryForm(TStream& Stream) {
  char sig[4];
  if (Stream.Read(sig, 4) != 4 || std::memcmp(sig, kSignature, 4) != 0)
    throw EReadError("Invalid stream format");
  try {
    return TBinaryReader(Stream).Object();
  } catch (const EReadError&) {
    throw;
  } catch (const EStreamError&) {
    throw EReadError("Invalid stream format");
  }
}

void WriteBinaryForm(TStream& Stream, const TFormObject& Object) {
  Stream.WriteBuffer(kSignature, 4);
  TBinaryWriter(Stream).Object(Object);
}

void ObjectTextToBinary(TStream& Input, TStream& Output) {
  int64_t n = Input.Size() - Input.Position();
  std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) Input.ReadBuffer(text.data(), n);
  WriteBinaryForm(Output, ParseTextForm(text));
}

void ObjectBinaryToText(TStream& Input, TStream& Output) {
  std::string text = FormatTextForm(ReadBinaryForm(Input));
  Output.WriteString(text);
}

std::string ObjectTextToBinary(const std::string& Text) {
  TStringStream out;
  WriteBinaryForm(out, ParseTextForm(Text));
  return out.DataString();
}

std::string ObjectBinaryToText(const std::string& Binary) {
  TStringStream in(Binary);
  return FormatTextForm(ReadBinaryForm(in));
}

void SetFindGlobalComponent(TFindGlobalComponent Finder) { GlobalFinder() = std::move(Finder); }

// ---------------------------------------------------------------------------------------
// TReader
namespace {
std::string WithLine(const std::string& msg, int line) {
  return line > 0 ? msg + " (line " + std::to_string(line) + ")" : msg;
}

// Clears the loading flags of components whose reading failed.
void AbandonLoading(const std::vector<TComponent*>& loaded) {
  for (TComponent* c : loaded) {
    c->SetReading(false);
    c->SetLoading(false);
  }
}
}  // namespace

TComponent* TReader::ReadRootComponent(const TFormObject& Tree, TComponent* Root) {
  bool created = false;
  if (!Root) {
    TClass cls = GetClass(Tree.ClassName);
    if (!cls) throw EClassNotFound(WithLine("Class " + Tree.ClassName + " not found", Tree.Line));
    Root = CreateComponentOfClass(cls, nullptr);
    created = true;
  }
  FRoot = Root;
  FLoaded.clear();
  FFixups.clear();
  try {
    GetTypeInfo(Root->ClassType());
    Root->SetLoading(true);
    Root->SetReading(true);
    FLoaded.push_back(Root);
    if (!Tree.Name.empty() && Root->Name() != Tree.Name) {
      try {
        Root->SetName(Tree.Name);
      } catch (Exception& e) {
        e.SetMessage(WithLine("Error reading " + Tree.Name + ": " + e.Message(), Tree.Line));
        throw;
      }
    }
    FParent = Root;
    ReadProperties(Root, Tree.Props, Root->Name().empty() ? Tree.ClassName : Root->Name());
    for (const auto& child : Tree.Children) ReadComponent(child, Root);
    FixupReferences();
  } catch (...) {
    AbandonLoading(FLoaded);
    FLoaded.clear();
    if (created) delete Root;
    throw;
  }
  std::vector<TComponent*> loaded;
  loaded.swap(FLoaded);
  for (TComponent* c : loaded) c->SetReading(false);
  for (TComponent* c : loaded) c->Loaded();
  return Root;
}

TComponent* TReader::ReadComponent(const TFormObject& Node, TComponent* Parent) {
  TComponent* owner = Parent->GetChildOwner();
  if (!owner) owner = FRoot;
  TComponent* comp = nullptr;
  std::string where = Node.Name.empty() ? Node.ClassName : Node.Name;
  try {
    if (Node.Kind == TFormObject::okInherited) {
      comp = owner->FindComponent(Node.Name);
      if (!comp) throw EReadError("Ancestor for '" + Node.Name + "' not found");
    } else {
      TClass cls = GetClass(Node.ClassName);
      if (!cls) throw EClassNotFound("Class " + Node.ClassName + " not found");
      comp = CreateComponentOfClass(cls, owner);
      if (Node.Kind == TFormObject::okInline) comp->SetInline(true);
    }
    comp->SetLoading(true);
    comp->SetReading(true);
    FLoaded.push_back(comp);
    if (Node.Kind != TFormObject::okInherited) {
      comp->SetName(Node.Name);
      if (!Node.Name.empty() && owner == FRoot) {
        if (const TFieldInfo* f = FindFieldInfo(FRoot->ClassType(), Node.Name))
          if (!f->Set(FRoot, comp))
            throw EReadError("Field " + std::string(FRoot->Name()) + "." + Node.Name +
                             " is not of class " + Node.ClassName);
      }
    }
    comp->SetParentComponent(Parent->GetChildParent());
  } catch (Exception& e) {
    e.SetMessage(WithLine("Error reading " + where + ": " + e.Message(), Node.Line));
    throw;
  }
  TComponent* saveParent = FParent;
  FParent = comp;
  ReadProperties(comp, Node.Props, where);
  for (const auto& child : Node.Children) ReadComponent(child, comp);
  FParent = saveParent;
  return comp;
}

void TReader::ReadProperties(TObject* Instance, const std::vector<TFormProperty>& Props,
                             const std::string& Where) {
  std::string saveWhere = FWhere;
  FWhere = Where;
  for (const auto& p : Props) {
    FLine = p.Line ? p.Line : p.Value.Line;
    FPath = Where + "." + p.Name;
    try {
      ReadProperty(Instance, p);
    } catch (const EReadError& e) {
      // Already carries its place (a collection item's property).
      if (e.Message().rfind("Error reading ", 0) == 0) throw;
      throw EReadError(WithLine("Error reading " + Where + "." + p.Name + ": " + e.Message(), FLine));
    } catch (const std::exception& e) {
      throw EReadError(WithLine("Error reading " + Where + "." + p.Name + ": " + e.what(), FLine));
    }
  }
  FWhere = saveWhere;
}

void TReader::ReadProperty(TObject* Instance, const TFormProperty& Prop) {
  // Walk the dotted path through owned sub-objects.
  TObject* obj = Instance;
  std::string name = Prop.Name;
  size_t dot;
  while ((dot = name.find('.')) != std::string::npos) {
    std::string part = name.substr(0, dot);
    const TPropInfo* p = GetPropInfo(obj, part);
    if (!p || p->Kind != tkClass) throw EReadError("Property " + part + " does not exist");
    TObject* sub = p->GetObj(obj);
    if (!sub) throw EReadError("Property " + part + " has no object");
    obj = sub;
    name = name.substr(dot + 1);
  }
  if (const TPropInfo* p = GetPropInfo(obj, name)) {
    SetPropValue(obj, p, Prop.Value);
    return;
  }
  if (auto* strings = dynamic_cast<TStrings*>(obj); strings && SameTextAscii(name, "Strings")) {
    ReadStringsValue(strings, Prop.Value);
    return;
  }
  if (auto* persistent = dynamic_cast<TPersistent*>(obj)) {
    FPropName = &name;
    FPropValue = &Prop.Value;
    FPropHandled = false;
    try {
      persistent->DefineProperties(this);
    } catch (...) {
      FPropName = nullptr;
      FPropValue = nullptr;
      FFrames.clear();
      throw;
    }
    bool handled = FPropHandled;
    FPropName = nullptr;
    FPropValue = nullptr;
    FFrames.clear();
    if (handled) return;
  }
  throw EReadError("Property " + name + " does not exist");
}

void TReader::InvalidValue() const { throw EReadError("Invalid property value"); }

void TReader::SetPropValue(TObject* Instance, const TPropInfo* Prop, const TFormValue& Value) {
  using K = TFormValue;
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      int64_t n;
      if (Value.Kind == K::vkInt) n = Value.Int;
      else if (Value.Kind == K::vkIdent && IdentToInt(Prop->Consts, Value.Str, n)) {}
      else InvalidValue();
      if (!Prop->SetOrd) throw EReadError("Property " + Prop->Name + " is read-only");
      Prop->SetOrd(Instance, n);
      return;
    }
    case tkChar: {
      int64_t n;
      if (Value.Kind == K::vkInt) n = Value.Int;
      else if (Value.Kind == K::vkString) {
        std::u16string w = Utf8ToUtf16(Value.Str);
        if (w.size() != 1) InvalidValue();
        n = w[0];
      } else InvalidValue();
      if (!Prop->SetOrd) throw EReadError("Property " + Prop->Name + " is read-only");
      Prop->SetOrd(Instance, n);
      return;
    }
    case tkEnumeration: {
      int64_t n;
      if (Value.Kind == K::vkBool && Prop->Enum && Prop->Enum->IsBoolean) n = Value.Bool ? 1 : 0;
      else if (Value.Kind == K::vkBool) n = GetEnumValue(Prop->Enum, Value.Bool ? "True" : "False");
      else if (Value.Kind == K::vkIdent) n = GetEnumValue(Prop->Enum, Value.Str);
      else if (Value.Kind == K::vkInt) n = Value.Int;
      else InvalidValue();
      if (!Prop->Enum || n < Prop->Enum->MinValue || n > Prop->Enum->MaxValue()) InvalidValue();
      if (!Prop->SetOrd) throw EReadError("Property " + Prop->Name + " is read-only");
      Prop->SetOrd(Instance, n);
      return;
    }
    case tkSet: {
      if (Value.Kind != K::vkSet) InvalidValue();
      uint64_t bits = 0;
      for (const auto& item : Value.SetItems) {
        int v = GetEnumValue(Prop->Enum, item);
        if (v < 0 || v > 63) throw EReadError("Invalid property element: " + item);
        bits |= uint64_t(1) << v;
      }
      if (!Prop->SetOrd) throw EReadError("Property " + Prop->Name + " is read-only");
      Prop->SetOrd(Instance, static_cast<int64_t>(bits));
      return;
    }
    case tkFloat: {
      long double x;
      if (Value.Kind == K::vkFloat) x = Value.Float;
      else if (Value.Kind == K::vkInt) x = static_cast<long double>(Value.Int);
      else InvalidValue();
      if (!Prop->SetFloat) throw EReadError("Property " + Prop->Name + " is read-only");
      Prop->SetFloat(Instance, x);
      return;
    }
    case tkString:
    case tkWString: {
      if (Value.Kind != K::vkString) InvalidValue();
      if (Prop->ReadOnly) throw EReadError("Property " + Prop->Name + " is read-only");
      if (Prop->Kind == tkString) Prop->SetStr(Instance, Value.Str);
      else Prop->SetWStr(Instance, Utf8ToUtf16(Value.Str));
      return;
    }
    case tkClass: {
      if (Prop->IsReference) {
        if (Value.Kind == K::vkNil) {
          if (!Prop->SetObj(Instance, nullptr)) InvalidValue();
          return;
        }
        if (Value.Kind != K::vkIdent) InvalidValue();
        FFixups.push_back({Instance, Prop, Value.Str, FPath, FLine});
        return;
      }
      TObject* obj = Prop->GetObj(Instance);
      if (Value.Kind == K::vkCollection) {
        auto* coll = dynamic_cast<TCollection*>(obj);
        if (!coll) InvalidValue();
        ReadCollectionValue(coll, Value);
        return;
      }
      if (Value.Kind == K::vkNil) {
        if (Prop->SetObj && Prop->SetObj(Instance, nullptr)) return;
        if (!obj) return;
      }
      InvalidValue();
    }
    case tkMethod: {
      auto* persistent = dynamic_cast<TPersistent*>(Instance);
      if (Value.Kind == K::vkNil) {
        Prop->SetEvent(Instance, std::any());
        if (persistent) persistent->SetBoundEventName(Prop->Name, "");
        return;
      }
      if (Value.Kind != K::vkIdent || !persistent) InvalidValue();
      if (!HasMethod(FRoot->ClassType(), Value.Str))
        throw EReadError("Method " + Value.Str + " not found in " + FRoot->ClassName());
      BindMethodProp(persistent, Prop->Name, FRoot, Value.Str);
      return;
    }
    default:
      InvalidValue();
  }
}

void TReader::ReadCollectionValue(TCollection* Collection, const TFormValue& Value) {
  Collection->BeginUpdate();
  try {
    Collection->Clear();
    // The collection's own path: reading an item's properties moves FPath on to them.
    const std::string path = FPath;
    for (size_t i = 0; i < Value.Items.size(); ++i) {
      const TFormItem& item = Value.Items[i];
      TCollectionItem* ci = Collection->Add();
      std::string where = path + "[" + std::to_string(i) + "]";
      ReadProperties(ci, item.Props, where);
    }
  } catch (...) {
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
}

void TReader::ReadStringsValue(TStrings* Strings, const TFormValue& Value) {
  if (Value.Kind != TFormValue::vkList) InvalidValue();
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const auto& v : Value.List) {
      if (v.Kind != TFormValue::vkString) InvalidValue();
      Strings->Add(v.Str);
    }
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TReader::FixupReferences() {
  std::vector<TFixup> fixups;
  fixups.swap(FFixups);
  for (const TFixup& f : fixups) {
    TComponent* target = nullptr;
    size_t dot = f.Name.find('.');
    if (dot == std::string::npos) {
      if (SameTextAscii(f.Name, FRoot->Name())) target = FRoot;
      else target = FRoot->FindComponent(f.Name);
    } else {
      std::string rootName = f.Name.substr(0, dot);
      std::string rest = f.Name.substr(dot + 1);
      TComponent* root = nullptr;
      if (SameTextAscii(rootName, FRoot->Name())) root = FRoot;
      else if (GlobalFinder()) root = GlobalFinder()(rootName);
      // Nested names (Frame1.Button1) walk owned components.
      while (root && !rest.empty()) {
        size_t d = rest.find('.');
        root = root->FindComponent(rest.substr(0, d));
        rest = d == std::string::npos ? std::string() : rest.substr(d + 1);
      }
      target = root;
    }
    if (!target && dot == std::string::npos && GlobalFinder()) target = GlobalFinder()(f.Name);
    if (!target)
      throw EReadError(WithLine("Error reading " + f.Where + ": Component " + f.Name + " not found", f.Line));
    if (!f.Prop->SetObj(f.Instance, target))
      throw EReadError(WithLine("Error reading " + f.Where + ": Invalid property value", f.Line));
  }
}

void TReader::DefineProperty(const std::string& Name, const TReaderProc& ReadData,
                             const TWriterProc& WriteData, bool HasData) {
  if (!FPropName || FPropHandled || !ReadData || !SameTextAscii(Name, *FPropName)) return;
  FFrames.clear();
  FFrames.push_back({FPropValue, 1, 0});
  ReadData(*this);
  FPropHandled = true;
}

void TReader::DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                                   const TStreamProc& WriteData, bool HasData) {
  if (!FPropName || FPropHandled || !ReadData || !SameTextAscii(Name, *FPropName)) return;
  if (FPropValue->Kind != TFormValue::vkBinary) InvalidValue();
  TMemoryStream stream;
  stream.WriteString(FPropValue->Str);
  stream.SetPosition(0);
  ReadData(stream);
  FPropHandled = true;
}

TFormValue::TKind TReader::NextValue() const {
  if (FFrames.empty() || FFrames.back().Index >= FFrames.back().Count) return TFormValue::vkNil;
  return FFrames.back().Values[FFrames.back().Index].Kind;
}

const TFormValue& TReader::ReadValue() {
  if (FFrames.empty() || FFrames.back().Index >= FFrames.back().Count)
    throw EReadError("Invalid property value");
  TFrame& f = FFrames.back();
  return f.Values[f.Index++];
}

int64_t TReader::ReadInteger() {
  const TFormValue& v = ReadValue();
  if (v.Kind != TFormValue::vkInt) InvalidValue();
  return v.Int;
}

std::string TReader::ReadString() {
  const TFormValue& v = ReadValue();
  if (v.Kind != TFormValue::vkString) InvalidValue();
  return v.Str;
}

std::u16string TReader::ReadWideString() { return Utf8ToUtf16(ReadString()); }

long double TReader::ReadFloat() {
  const TFormValue& v = ReadValue();
  if (v.Kind == TFormValue::vkFloat) return v.Float;
  if (v.Kind == TFormValue::vkInt) return static_cast<long double>(v.Int);
  InvalidValue();
}

bool TReader::ReadBoolean() {
  const TFormValue& v = ReadValue();
  if (v.Kind != TFormValue::vkBool) InvalidValue();
  return v.Bool;
}

std::string TReader::ReadIdent() {
  const TFormValue& v = ReadValue();
  if (v.Kind == TFormValue::vkIdent) return v.Str;
  if (v.Kind == TFormValue::vkBool) return v.Bool ? "True" : "False";
  if (v.Kind == TFormValue::vkNil) return "nil";
  InvalidValue();
}

char32_t TReader::ReadChar() {
  std::u16string w = ReadWideString();
  if (w.size() != 1) InvalidValue();
  return w[0];
}

void TReader::ReadListBegin() {
  const TFormValue& v = ReadValue();
  if (v.Kind != TFormValue::vkList) InvalidValue();
  FFrames.push_back({v.List.data(), v.List.size(), 0});
}

bool TReader::EndOfList() const {
  return FFrames.empty() || FFrames.back().Index >= FFrames.back().Count;
}

void TReader::ReadListEnd() {
  if (FFrames.size() < 2 || !EndOfList()) InvalidValue();
  FFrames.pop_back();
}

void TReader::ReadCollection(TCollection* Collection) {
  const TFormValue& v = ReadValue();
  if (v.Kind != TFormValue::vkCollection) InvalidValue();
  auto frames = FFrames;
  ReadCollectionValue(Collection, v);
  FFrames = frames;
}

// ---------------------------------------------------------------------------------------
// TWriter
TFormObject TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = Root;
  std::vector<TFormObject> out;
  WriteComponent(Root, out);
  return std::move(out.front());
}

void TWriter::WriteComponent(TComponent* Component, std::vector<TFormObject>& Out) {
  TFormObject node;
  node.ClassName = Component->ClassName();
  node.Name = Component->Name();
  if (Component->ComponentState().Contains(csInline) && Component != FRoot)
    node.Kind = TFormObject::okInline;
  bool wasWriting = Component->ComponentState().Contains(csWriting);
  Component->SetWriting(true);
  try {
    WriteProperties(Component, "", node.Props);
    Component->GetChildren([&](TComponent* child) { WriteComponent(child, node.Children); }, FRoot);
  } catch (...) {
    Component->SetWriting(wasWriting);
    throw;
  }
  Component->SetWriting(wasWriting);
  Out.push_back(std::move(node));
}

void TWriter::WriteProperties(TObject* Instance, const std::string& Prefix,
                              std::vector<TFormProperty>& Out) {
  for (const TPropInfo* p : GetPropList(Instance->ClassType())) WriteProperty(Instance, p, Prefix, Out);
  if (auto* strings = dynamic_cast<TStrings*>(Instance)) {
    if (!Prefix.empty() && strings->Count() > 0) {
      TFormValue list;
      list.Kind = TFormValue::vkList;
      for (int i = 0; i < strings->Count(); ++i) list.List.push_back(TFormValue::MakeString(strings->Get(i)));
      Out.push_back({Prefix + "Strings", std::move(list), 0});
    }
  }
  if (auto* persistent = dynamic_cast<TPersistent*>(Instance)) {
    auto* saveOut = FDefineOut;
    std::string savePrefix = FDefinePrefix;
    FDefineOut = &Out;
    FDefinePrefix = Prefix;
    try {
      persistent->DefineProperties(this);
    } catch (...) {
      FDefineOut = saveOut;
      FDefinePrefix = savePrefix;
      throw;
    }
    FDefineOut = saveOut;
    FDefinePrefix = savePrefix;
  }
}

std::string TWriter::ReferenceName(TComponent* Component) const {
  if (Component == FRoot) return FRoot->Name();
  if (Component->Owner() == FRoot) return Component->Name();
  std::string name = Component->Name();
  for (TComponent* o = Component->Owner(); o; o = o->Owner()) {
    if (o->Name().empty()) return {};
    name = o->Name() + "." + name;
    if (o == FRoot || !o->Owner() || o->Owner()->Owner() == nullptr) break;
  }
  return name;
}

void TWriter::WriteProperty(TObject* Instance, const TPropInfo* Prop, const std::string& Prefix,
                            std::vector<TFormProperty>& Out) {
  if (Prop->StoredProc && !Prop->StoredProc(Instance)) return;
  std::string name = Prefix + Prop->Name;
  switch (Prop->Kind) {
    case tkClass: {
      TObject* obj = Prop->GetObj(Instance);
      if (!obj) return;
      if (Prop->IsReference) {
        auto* comp = dynamic_cast<TComponent*>(obj);
        if (comp && comp->ComponentStyle().Contains(csSubComponent) && comp->Owner() == Instance) {
          WriteProperties(comp, name + ".", Out);
          return;
        }
        std::string ref = comp ? ReferenceName(comp) : std::string();
        if (!ref.empty()) Out.push_back({name, TFormValue::MakeIdent(ref), 0});
        return;
      }
      if (auto* coll = dynamic_cast<TCollection*>(obj)) {
        if (coll->Count() > 0) Out.push_back({name, CollectionValue(coll), 0});
        return;
      }
      WriteProperties(obj, name + ".", Out);
      return;
    }
    case tkMethod: {
      if (!Prop->EventAssigned(Instance)) return;
      auto* persistent = dynamic_cast<TPersistent*>(Instance);
      const std::string* method = persistent ? persistent->BoundEventName(Prop->Name) : nullptr;
      if (method) Out.push_back({name, TFormValue::MakeIdent(*method), 0});
      return;
    }
    default:
      break;
  }
  if (IsDefaultPropValue(Instance, Prop)) return;
  if (Prop->ReadOnly) return;
  TFormValue v;
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      int64_t n = Prop->GetOrd(Instance);
      std::string ident;
      if (IntToIdent(Prop->Consts, n, ident)) v = TFormValue::MakeIdent(ident);
      else v = TFormValue::MakeInt(n);
      break;
    }
    case tkChar: {
      std::string s;
      Utf8Append(s, static_cast<char32_t>(Prop->GetOrd(Instance)));
      v = TFormValue::MakeString(s);
      break;
    }
    case tkEnumeration: {
      int64_t n = Prop->GetOrd(Instance);
      if (Prop->Enum && Prop->Enum->IsBoolean) v = TFormValue::MakeBool(n != 0);
      else v = TFormValue::MakeIdent(GetEnumName(Prop->Enum, n));
      break;
    }
    case tkSet: {
      uint64_t bits = static_cast<uint64_t>(Prop->GetOrd(Instance));
      v.Kind = TFormValue::vkSet;
      for (int i = 0; i < 64; ++i)
        if (bits & (uint64_t(1) << i)) v.SetItems.push_back(GetEnumName(Prop->Enum, i));
      break;
    }
    case tkFloat:
      v.Kind = TFormValue::vkFloat;
      v.Float = Prop->GetFloat(Instance);
      v.FloatType = Prop->FloatType == ftSingle ? ftSingle
                    : Prop->FloatType == ftCurr ? ftCurr
                    : Prop->FloatType == ftDouble ? ftDouble : ftExtended;
      v.IsDate = Prop->IsDateTime;
      break;
    case tkString: v = TFormValue::MakeString(Prop->GetStr(Instance)); break;
    case tkWString:
      v = TFormValue::MakeString(Utf16ToUtf8(Prop->GetWStr(Instance)));
      v.Wide = true;
      break;
    default:
      return;
  }
  Out.push_back({name, std::move(v), 0});
}

TFormValue TWriter::CollectionValue(TCollection* Collection) {
  TFormValue v;
  v.Kind = TFormValue::vkCollection;
  for (TCollectionItem* item : Collection->ItemList()) {
    TFormItem fi;
    WriteProperties(item, "", fi.Props);
    v.Items.push_back(std::move(fi));
  }
  return v;
}

void TWriter::DefineProperty(const std::string& Name, const TReaderProc& ReadData,
                             const TWriterProc& WriteData, bool HasData) {
  if (!HasData || !WriteData || !FDefineOut) return;
  std::vector<TFormValue> values;
  auto saveTargets = FTargets;
  FTargets.assign(1, &values);
  auto* out = FDefineOut;
  std::string prefix = FDefinePrefix;
  try {
    WriteData(*this);
  } catch (...) {
    FTargets = saveTargets;
    throw;
  }
  FTargets = saveTargets;
  if (values.size() != 1)
    throw EWriteError("Stored value " + Name + " must be written as one value");
  out->push_back({prefix + Name, std::move(values.front()), 0});
}

void TWriter::DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                                   const TStreamProc& WriteData, bool HasData) {
  if (!HasData || !WriteData || !FDefineOut) return;
  TMemoryStream stream;
  WriteData(stream);
  TFormValue v;
  v.Kind = TFormValue::vkBinary;
  v.Str = stream.DataString();
  FDefineOut->push_back({FDefinePrefix + Name, std::move(v), 0});
}

void TWriter::WriteValue(TFormValue Value) {
  if (FTargets.empty()) throw EWriteError("No value expected here");
  FTargets.back()->push_back(std::move(Value));
}

void TWriter::WriteWideString(const std::u16string& Value) {
  TFormValue v = TFormValue::MakeString(Utf16ToUtf8(Value));
  v.Wide = true;
  WriteValue(std::move(v));
}

void TWriter::WriteFloat(long double Value) {
  TFormValue v;
  v.Kind = TFormValue::vkFloat;
  v.Float = Value;
  WriteValue(std::move(v));
}

void TWriter::WriteDouble(double Value) {
  TFormValue v;
  v.Kind = TFormValue::vkFloat;
  v.Float = Value;
  v.FloatType = ftDouble;
  WriteValue(std::move(v));
}

void TWriter::WriteSingle(float Value) {
  TFormValue v;
  v.Kind = TFormValue::vkFloat;
  v.Float = Value;
  v.FloatType = ftSingle;
  WriteValue(std::move(v));
}

void TWriter::WriteChar(char32_t Value) {
  std::string s;
  Utf8Append(s, Value);
  WriteString(s);
}

void TWriter::WriteListBegin() {
  if (FTargets.empty()) throw EWriteError("No value expected here");
  TFormValue v;
  v.Kind = TFormValue::vkList;
  FTargets.back()->push_back(std::move(v));
  FTargets.push_back(&FTargets.back()->back().List);
}

void TWriter::WriteListEnd() {
  if (FTargets.size() < 2) throw EWriteError("List end without list");
  FTargets.pop_back();
}

void TWriter::WriteCollection(TCollection* Collection) { WriteValue(CollectionValue(Collection)); }

// ---------------------------------------------------------------------------------------
TComponent* ReadComponentFromText(const std::string& Text, TComponent* Instance) {
  TFormObject tree = ParseTextForm(Text);
  TReader reader;
  return reader.ReadRootComponent(tree, Instance);
}

std::string WriteComponentToText(TComponent* Root) {
  TWriter writer;
  return FormatTextForm(writer.WriteRootComponent(Root));
}

void WriteComponent(TStream& Stream, TComponent* Instance) {
  TWriter writer;
  WriteBinaryForm(Stream, writer.WriteRootComponent(Instance));
}

TComponent* ReadComponent(TStream& Stream, TComponent* Instance) {
  TFormObject tree = ReadBinaryForm(Stream);
  TReader reader;
  return reader.ReadRootComponent(tree, Instance);
}

// ---------------------------------------------------------------------------------------
// Stored forms.
namespace {
struct TEmbeddedForm {
  const char* FileName;
  const char* Text;
  size_t Size;
};
#include "StoredForms.inc"

// The class name on a form text's first line ("object Form1: TForm1").
std::string FormClassName(const std::string& text) {
  size_t i = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  size_t eol = text.find('\n', i);
  std::string line = text.substr(i, eol == std::string::npos ? std::string::npos : eol - i);
  size_t colon = line.find(':');
  size_t start;
  if (colon != std::string::npos) {
    start = colon + 1;
  } else {
    start = line.find(' ');
    if (start == std::string::npos) return {};
  }
  while (start < line.size() && line[start] == ' ') ++start;
  size_t end = start;
  while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
  return line.substr(start, end - start);
}

std::map<std::string, std::string>& FormMap() {
  static std::map<std::string, std::string> map = [] {
    std::map<std::string, std::string> m;
    for (const auto& f : kEmbeddedForms) {
      if (!f.Text) continue;
      std::string text(f.Text, f.Size);
      std::string cls = FormClassName(text);
      for (char& c : cls) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (!cls.empty()) m[cls] = std::move(text);
    }
    return m;
  }();
  return map;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
}  // namespace

void RegisterStoredForm(const std::string& ClassName, const std::string& Text) {
  FormMap()[Upper(ClassName)] = Text;
}

std::optional<std::string> FindStoredForm(const std::string& ClassName) {
  auto it = FormMap().find(Upper(ClassName));
  if (it == FormMap().end()) return std::nullopt;
  return it->second;
}

bool LoadStoredForm(TComponent* Root) {
  // Forms derived from a stored form read their ancestors' forms first.
  std::vector<std::string> texts;
  for (TClass c = Root->ClassType(); c; c = c->Parent) {
    if (SameTextAscii(c->Name, "TComponent")) break;
    if (auto text = FindStoredForm(c->Name)) texts.push_back(*text);
  }
  if (texts.empty()) return false;
  for (auto it = texts.rbegin(); it != texts.rend(); ++it) ReadComponentFromText(*it, Root);
  return true;
}
