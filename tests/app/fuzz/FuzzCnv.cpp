// libFuzzer target: any bytes as the .cnv gas database. Loading never fails for a
// readable file; what it loads saves and loads back to the same records.
#include <cstdlib>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/GasBaseFile.h"
#include "platform/rtl/MessageService.h"

namespace {

std::string Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/lorm-fuzz-cnv-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    return std::string(pattern);
  }();
  return folder;
}

bool SameRecords(const TRecordList& a, const TRecordList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x[TMyRecord::ImageSize], y[TMyRecord::ImageSize];
    a[i].ToImage(x);
    b[i].ToImage(y);
    if (std::string(reinterpret_cast<char*>(x), sizeof x) != std::string(reinterpret_cast<char*>(y), sizeof y))
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  TMessageBoxRecorder boxes;
  const std::string input = Folder() + "/input.cnv", output = Folder() + "/output.cnv";
  FILE* f = std::fopen(input.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(bytes, 1, size, f);
  std::fclose(f);
  TRecordList list;
  if (!LoadGasBase(input, list, nullptr)) std::abort();
  if (!SaveGasBase(output, list)) std::abort();
  TRecordList again;
  if (!LoadGasBase(output, again, nullptr) || !SameRecords(list, again)) std::abort();
  return 0;
}
