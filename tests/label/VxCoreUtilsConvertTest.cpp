// VxCoreUtils conversions: number texts under both kinds of separators, tolerant
// number parsing, Booleans, variants with defaults, the Cyrillic code pages checked
// against Python's codecs, memory blocks, pointer moves, command lines (also in a child
// process), dialog units and system errors.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "label/VxCoreUtils.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/OSError.h"
#include "platform/win/WinUser.h"

extern char** environ;

using namespace VxCoreUtils;

namespace {

TFormatSettings Continental() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.CurrencyString = "EUR";
  return fs;
}

// Bytes a Python one-liner writes to its standard output.
std::string Python(const std::string& code) {
  const std::string command = "python3 -c \"" + code + "\"";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return "<no python3>";
  std::string out;
  char buffer[256];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
  return out;
}

std::string Bytes(int from, int to) {
  std::string s;
  for (int b = from; b <= to; ++b) s += static_cast<char>(b);
  return s;
}

// Runs the probe program with the argument vector and the environment additions; its
// standard output.
std::string RunProbe(std::vector<std::string> args, std::vector<std::string> env = {}) {
  int fds[2];
  if (pipe(fds) != 0) return "<pipe>";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStrings = std::move(env);
  for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, LORM_CMDLINE_PROBE, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
  close(fds[0]);
  if (rc != 0) return "<spawn>";
  int status = 0;
  waitpid(pid, &status, 0);
  return out;
}

// Restores the process's command line after a test that sets it.
struct TCmdLineScope {
  ~TCmdLineScope() { SetCmdLine("test"); }
};

TEST(VxCoreUtilsConvert, UsNumbersUnderBothLocales) {
  EXPECT_EQ(USToLocalFloatStr("1,234.5"), "1,234.5");
  TFormatSettingsScope scope(Continental());
  EXPECT_EQ(USToLocalFloatStr("1,234.5"), "1.234,5");
  EXPECT_EQ(StrToFloatUS("2.5"), 2.5L);
  EXPECT_EQ(StrToFloatUS("2,5"), 2.5L);  // the raw text is tried too
  EXPECT_THROW(StrToFloatUS("x"), EConvertError);
  EXPECT_EQ(StrToFloatUSDef("1,234.5", -1), 1234.5L);
  EXPECT_EQ(StrToFloatUSDef("abc", -1), -1.0L);
}

TEST(VxCoreUtilsConvert, TolerantNumberTexts) {
  TFormatSettingsScope scope(Continental());
  struct Case { const char* text; long double value; } floats[] = {
      {"12,5 EUR", 12.5L}, {"12-", -7}, {"-", 0}, {"abc", -7}, {"1.234,5", 1234.5L}, {"5,", 5}, {"", -7}};
  for (const Case& c : floats) EXPECT_EQ(VxCoreUtils::StrToFloatDef(c.text, -7), c.value) << c.text;
  EXPECT_EQ(VxCoreUtils::StrToCurrDef("1.234,5678 EUR", Currency(-1)), Currency::FromRaw(12345678));
  // Nothing is appended to a lone sign, unlike StrToFloatDef.
  EXPECT_EQ(VxCoreUtils::StrToCurrDef("-", Currency(-1)), Currency(-1));
  EXPECT_EQ(VxCoreUtils::StrToCurrDef("5,", Currency(-1)), Currency(5));
  EXPECT_EQ(VxCoreUtils::StrToCurrDef("", Currency(-1)), Currency(-1));
  EXPECT_EQ(TextToValText(" 1.234,56 "), "1234,56");
  EXPECT_EQ(TextToValText(""), "0");
  EXPECT_EQ(TextToValText("-"), "-0");
  EXPECT_EQ(TextToValText("1.5x"), "15");
  EXPECT_FALSE(StrIsInteger("-5"));
  EXPECT_FALSE(StrIsInteger(""));
  EXPECT_TRUE(StrIsInteger("0123"));
  EXPECT_FALSE(StrIsFloatMoney("$1,2,3"));
  EXPECT_TRUE(StrIsFloatMoney("$ 1 234,50 EUR"));
  EXPECT_TRUE(StrIsFloatMoney(""));
  EXPECT_TRUE(CharIsMoney('E'));
  EXPECT_FALSE(CharIsMoney('x'));
}

TEST(VxCoreUtilsConvert, TextToValTextUnderUsSeparators) {
  EXPECT_EQ(TextToValText("1,234.56"), "1234.56");
  EXPECT_EQ(CurrencyToStr(Currency::FromRaw(12345)), "$1.23");
}

TEST(VxCoreUtilsConvert, Booleans) {
  struct Case { const char* text; bool value; } words[] = {
      {"YES", true}, {"1", true}, {"t", true}, {"True", true}, {"no", false}, {"on", false}, {"", false}};
  for (const Case& c : words) EXPECT_EQ(StringToBoolean(c.text), c.value) << c.text;
  EXPECT_TRUE(StrToBool("yes"));
  EXPECT_TRUE(StrToBool("TRUE"));
  EXPECT_FALSE(StrToBool("t"));
  EXPECT_EQ(BooleanToInteger(true), 1);
}

TEST(VxCoreUtilsConvert, VariantsWithDefaults) {
  EXPECT_EQ(VarToInt(Null()), 0);
  EXPECT_EQ(VarToFloat(Unassigned()), 0.0);
  EXPECT_EQ(VarToInt(Variant(true)), 1);
  EXPECT_EQ(VarToInt(Variant(false)), 0);
  EXPECT_EQ(VarToInt(Variant("42")), 42);
  EXPECT_EQ(VarToFloat(Variant("2.5")), 2.5);
  EXPECT_TRUE(VarIsNull(Var2Type(Null(), varVariant)));
  EXPECT_EQ(Var2Type(Null(), varString), Variant(std::string()));
  EXPECT_EQ(Var2Type(Unassigned(), varBoolean), Variant(false));
  EXPECT_THROW(Var2Type(Null(), varShortInt), EVariantTypeCastError);
  EXPECT_THROW(Var2Type(Variant("abc"), varInteger), EVariantTypeCastError);
  EXPECT_TRUE(VarIsInt(Variant(uint8_t(3))));
  EXPECT_FALSE(VarIsInt(Variant(3.0)));
  EXPECT_EQ(iif(true, Variant(1), Variant(2)), Variant(1));
  EXPECT_TRUE(VarIsNull(MakeVariant({})));
  EXPECT_EQ(MakeVariant({Variant(7)}), Variant(7));
  const Variant pair = MakeVariant({Variant(1), Variant("x")});
  ASSERT_TRUE(VarIsArray(pair));
  EXPECT_EQ(VarArrayHighBound(pair), 1);
  EXPECT_EQ(VarArrayGet(pair, 1), Variant("x"));
}

TEST(VxCoreUtilsConvert, CodePagesAgreeWithPython) {
  // One run of Python: Windows-1251 А..я, Ё and ё in KOI8-R (66 bytes), then code page
  // 866 А..я in Windows-1251 (64 bytes).
  const std::string both = Python(
      "import sys; w = sys.stdout.buffer;"
      "w.write((bytes(range(0xC0, 0x100)) + bytes([0xA8, 0xB8])).decode('cp1251').encode('koi8_r'));"
      "w.write((bytes(range(0x80, 0xB0)) + bytes(range(0xE0, 0xF0))).decode('cp866').encode('cp1251'))");
  ASSERT_EQ(both.size(), 130u) << both;
  EXPECT_EQ(Win2Koi(Bytes(0xC0, 0xFF) + "\xA8\xB8"), both.substr(0, 66));
  const std::string dos = Bytes(0x80, 0xAF) + Bytes(0xE0, 0xEF);
  EXPECT_EQ(Dos2WinRes(dos), both.substr(66));
  // Ё and ё (0xF0, 0xF1 in 866) stay; letters and ASCII round-trip.
  EXPECT_EQ(Dos2WinRes("\xF0\xF1"), "\xF0\xF1");
  std::string text = dos + "Latin 123.";
  Dos2Win(text);
  Win2Dos(text);
  EXPECT_EQ(text, dos + "Latin 123.");
  EXPECT_EQ(Win2Koi("Latin 123.,!"), "Latin 123.,!");
}

TEST(VxCoreUtilsConvert, MemoryBlocks) {
  void* block = AllocMemo(10);
  ASSERT_NE(block, nullptr);
  EXPECT_GE(GetMemoSize(block), 10);
  EXPECT_TRUE(VxCoreUtils::CompareMem(block, std::string(10, '\0').data(), 10));
  static_cast<char*>(block)[9] = 'x';
  block = ReallocMemo(block, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GetMemoSize(block), 100);
  EXPECT_EQ(static_cast<char*>(block)[9], 'x');
  EXPECT_EQ(static_cast<char*>(block)[99], 0);
  FreeMemo(block);
  EXPECT_EQ(block, nullptr);
  FreeMemo(block);
  EXPECT_EQ(AllocMemo(0), nullptr);
  int local = 0;
  EXPECT_EQ(GetMemoSize(&local), 0);
  EXPECT_EQ(GetMemoSize(nullptr), 0);

  const char a[] = "abcdefg", b[] = "abcdefh";
  EXPECT_FALSE(VxCoreUtils::CompareMem(a, b, 7));
  EXPECT_TRUE(VxCoreUtils::CompareMem(a, b, 6));
  EXPECT_TRUE(VxCoreUtils::CompareMem(a, b, 0));
}

TEST(VxCoreUtilsConvert, HugeMoveMovesWholePointers) {
  int values[6] = {0, 1, 2, 3, 4, 5};
  void* items[6];
  for (int i = 0; i < 6; ++i) items[i] = &values[i];
  HugeMove(items, 1, 2, 4);  // overlapping, towards the front
  EXPECT_EQ(items[0], &values[0]);
  for (int i = 1; i < 5; ++i) EXPECT_EQ(items[i], &values[i + 1]) << i;
  HugeMove(items, 2, 1, 3);  // overlapping, towards the back
  EXPECT_EQ(items[2], &values[2]);
  EXPECT_EQ(items[4], &values[4]);
  void* p = items;
  HugeInc(p, 8);
  EXPECT_EQ(p, &items[1]);
  HugeDec(p, 8);
  EXPECT_EQ(HugeOffset(p, 16), &items[2]);
}

TEST(VxCoreUtilsConvert, SplitCommandLine) {
  std::string prog, params;
  SplitCommandLine("\"C:\\Program Files\\x.exe\" a \"b c\"", prog, params);
  EXPECT_EQ(prog, "C:\\Program Files\\x.exe");
  EXPECT_EQ(params, "a \"b c\"");
  SplitCommandLine("  ", prog, params);
  EXPECT_EQ(prog, "");
  EXPECT_EQ(params, "");
  SplitCommandLine("p ab\"c d\"e \"\" x", prog, params);
  EXPECT_EQ(params, "\"abc de\" x");
}

TEST(VxCoreUtilsConvert, GetCmdLineArgInProcess) {
  TCmdLineScope restore;
  struct Case { const char* line; const char* sw; TSysCharSet chars; const char* value; } cases[] = {
      {"prog /FILE a.txt", "file", TSysCharSet{'/', '-'}, "a.txt"},
      {"prog a.txt /file", "file", TSysCharSet{'/', '-'}, ""},
      {"prog -out \"x y\" -v", "OUT", TSysCharSet{'/', '-'}, "x y"},
      {"prog xfile b", "file", TSysCharSet{}, "b"},
      {"prog / file", "", TSysCharSet{'/'}, ""},
  };
  for (const Case& c : cases) {
    SetCmdLine(c.line);
    EXPECT_EQ(GetCmdLineArg(c.sw, c.chars), c.value) << c.line;
  }
}

TEST(VxCoreUtilsConvert, ChildProcessReadsItsSwitch) {
  EXPECT_EQ(RunProbe({"prog", "/FILE", "a.txt"}), "a.txt\n2\nprog /FILE a.txt\n");
  EXPECT_EQ(RunProbe({"prog", "a.txt", "/file"}), "\n2\nprog a.txt /file\n");
  // An argument with a blank stays whole and is quoted back into CmdLine.
  EXPECT_EQ(RunProbe({"prog", "-file", "my file.txt"}), "my file.txt\n2\nprog -file \"my file.txt\"\n");
  // A main that hands nothing over still has its arguments.
  EXPECT_EQ(RunProbe({"prog", "/FILE", "a.txt"}, {"LORM_PROBE_NO_HANDOVER=1"}), "a.txt\n2\nprog /FILE a.txt\n");
}

TEST(VxCoreUtilsConvert, DialogUnits) {
  const LONG base = GetDialogBaseUnits();
  const int x = base & 0xFFFF, y = (base >> 16) & 0xFFFF;
  ASSERT_GT(x, 0);
  ASSERT_GT(y, 0);
  EXPECT_EQ(DialogUnitsToPixelsX(100), 100 * x / 4);
  EXPECT_EQ(DialogUnitsToPixelsY(100), 100 * y / 8);
  EXPECT_EQ(PixelsToDialogUnitsX(DialogUnitsToPixelsX(40)), 40);
  EXPECT_EQ(PixelsToDialogUnitsY(DialogUnitsToPixelsY(40)), 40);
}

TEST(VxCoreUtilsConvert, OSCheckRaisesTheLastError) {
  EXPECT_TRUE(OSCheck(true));
  SetLastErrorFromErrno(EACCES);
  try {
    OSCheck(false);
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, 5u);
    EXPECT_EQ(e.Message(), "System Error.  Code: 5.\r\nAccess is denied.");
  }
  SetLastError(0);
}

}  // namespace
