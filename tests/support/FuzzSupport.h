#pragma once
// Support for the libFuzzer targets whose readers take files: one private folder per
// process, files written from the fuzzer's bytes, a headless window system, and painting
// a control into a small bitmap (what a hostile file sets must also paint).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/backend/Headless.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

namespace fuzz_support {

// A folder of its own for this process, made on first use.
inline const std::string& Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/lorm-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    return std::string(pattern);
  }();
  return folder;
}

// Writes the bytes as the file Name in the folder; returns its path.
inline std::string WriteFile(const std::string& Name, const std::uint8_t* Bytes, std::size_t Size) {
  const std::string path = Folder() + "/" + Name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (Size && std::fwrite(Bytes, 1, Size, f) != Size) std::abort();
  std::fclose(f);
  return path;
}

// The headless window system, for the whole run. It is never taken down: at exit the
// window system's own tables may already be gone.
inline void UseHeadless() {
  static THeadlessScope* headless = new THeadlessScope;
  (void)headless;
}

// Paints the windowed control and its children into a 320 × 240 bitmap.
inline void PaintControl(TWinControl* Control) {
  TBitmap shot(320, 240);
  Control->PaintTo(shot.Canvas()->GetHandle(), 0, 0);
}

}  // namespace fuzz_support
