// libFuzzer target: any mark-up text draws, measures and hit-tests in both variants of
// the engine without a fault, and the string utilities keep their promises (escaping
// and decoding are inverse).
#include <cstdlib>
#include <memory>
#include <string>

#include "foundation/Deahtml.h"
#include "platform/vcl/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = bytes[0];
  const std::string text(reinterpret_cast<const char*>(bytes + 1), size - 1);
  static std::unique_ptr<TBitmap> bitmap = std::make_unique<TBitmap>(160, 60);
  static THTMLPictureCache cache;
  TCanvas* canvas = bitmap->Canvas();
  const TRect bounds{2, 2, 150 - (flags & 0x40 ? 140 : 0), 58};
  std::string anchor, plain, focused, title, id, value, type;
  int ex = 0, ey = 0, links = 0, hit = 0;
  TRect hot{}, ctrl{};
  const bool wrap = flags & 1, measure = flags & 2, hitTest = flags & 4;
  if (flags & 8) {
    PanelHTMLDrawEx(canvas, text, bounds, nullptr, 20, 8, 0, 1, 1, hitTest, measure, flags & 0x10, flags & 0x20, false,
                    true, wrap, 1.5, clBlue, clYellow, clRed, clGray, anchor, plain, focused, ex, ey, links, hit, hot,
                    &cache, nullptr, 2);
  } else {
    HTMLDrawEx(canvas, text, bounds, nullptr, 20, 8, 0, 1, 1, hitTest, measure, flags & 0x10, flags & 0x20, false,
               true, wrap, false, 1.5, clBlue, clYellow, clRed, clGray, anchor, plain, focused, title, ex, ey, links,
               hit, hot, ctrl, id, value, type, &cache, nullptr, nullptr);
  }
  if (cache.Count() > THTMLPictureCache::kMarkupPictureLimit) std::abort();
  (void)HTMLStrip(text);
  (void)PanelHTMLStrip(text);
  (void)HiLight(text, text.substr(0, std::min<std::size_t>(3, text.size())), "hi", flags & 0x80);
  if (DecodeEntities(FixMarkup(text)) != text) std::abort();
  return 0;
}
