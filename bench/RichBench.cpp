// Wide string lists and rich text: Add and IndexOf per item at three sizes ten times
// apart, and drawing one rich text of 20 runs through the rich edit against pango laying
// out and drawing the same attributed text.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <string>
#include <vector>

#include "grid/ZevUni.h"
#include "platform/backend/Headless.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RichEdit.h"

namespace {

class TBenchWideStrings : public TWideStrings {
public:
  std::u16string Get(int Index) const override { return FItems[static_cast<size_t>(Index)]; }
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  void Clear() override { FItems.clear(); }
  void Delete(int Index) override { FItems.erase(FItems.begin() + Index); }
  void Insert(int Index, const std::u16string& S) override { FItems.insert(FItems.begin() + Index, S); }

private:
  std::vector<std::u16string> FItems;
};

std::u16string Item(int i) { return u"Газ " + Utf8ToUtf16(std::to_string(100000 + i)); }

// Per item: Add of n items.
void BM_WideStringsAdd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TBenchWideStrings l;
    for (int i = 0; i < n; ++i) l.Add(Item(i));
    benchmark::DoNotOptimize(l.Count());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_WideStringsAdd)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Per item: IndexOf of the last item (every item compared once).
void BM_WideStringsIndexOf(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TBenchWideStrings l;
  for (int i = 0; i < n; ++i) l.Add(Item(i));
  const std::u16string last = Item(n - 1);
  for (auto _ : state) benchmark::DoNotOptimize(l.IndexOf(last));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_WideStringsIndexOf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// 20 runs: words alternating plain, bold, subscript, superscript and colour.
TRichDocument TwentyRuns() {
  TRichDocument d;
  d.Clear();
  for (int i = 0; i < 20; ++i) {
    TRichCharFormat f;
    f.FaceName = "Arial";
    f.Size = 10;
    switch (i % 4) {
      case 1: f.Bold = true; break;
      case 2: f.Offset = -40; break;
      case 3: f.Offset = 40; f.Color = TColor(0x0000C0); break;
      default: break;
    }
    d.Insert(d.Length(), i % 4 >= 2 ? u"2" : u"CH4 ", f);
  }
  return d;
}

void BM_RichCellPaint(benchmark::State& state) {
  THeadlessScope scope;
  TForm* form = nullptr;
  Application->CreateForm(form);
  auto* re = new TRichEdit(form);
  re->Document() = TwentyRuns();
  re->SetWordWrap(false);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(GetDC(nullptr), 400, 40);
  SelectObject(dc, bmp);
  FORMATRANGE fr;
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = RECT{2 * 15, 2 * 15, 398 * 15, 38 * 15};
  fr.rcPage = fr.rc;
  fr.chrg = CHARRANGE{0, -1};
  for (auto _ : state) benchmark::DoNotOptimize(re->Perform(EM_FORMATRANGE, 1, LPARAM(&fr)));
  DeleteDC(dc);
  DeleteObject(bmp);
  Application->Restart();
}
BENCHMARK(BM_RichCellPaint)->Unit(benchmark::kMicrosecond);

void BM_RichCellPaint_PangoBaseline(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 40);
  cairo_t* cr = cairo_create(surface);
  const TRichDocument d = TwentyRuns();
  const std::string text = Utf16ToUtf8(d.Text());
  for (auto _ : state) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Arial 10");
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    PangoAttrList* attrs = pango_attr_list_new();
    for (const auto& r : d.Runs()) {
      const guint s = static_cast<guint>(Utf16ToUtf8(d.Text().substr(0, static_cast<size_t>(r.Start))).size());
      const guint e = s + static_cast<guint>(
                              Utf16ToUtf8(d.Text().substr(static_cast<size_t>(r.Start), static_cast<size_t>(r.Length))).size());
      auto add = [&](PangoAttribute* a) {
        a->start_index = s;
        a->end_index = e;
        pango_attr_list_insert(attrs, a);
      };
      if (r.Format->Bold) add(pango_attr_weight_new(PANGO_WEIGHT_BOLD));
      if (r.Format->Offset) add(pango_attr_rise_new(r.Format->Offset * PANGO_SCALE * 96 / 1440));
      const uint32_t c = static_cast<uint32_t>(r.Format->Color);
      add(pango_attr_foreground_new(static_cast<guint16>((c & 0xFF) * 257), static_cast<guint16>(((c >> 8) & 0xFF) * 257),
                                    static_cast<guint16>(((c >> 16) & 0xFF) * 257)));
    }
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    cairo_move_to(cr, 2, 2);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(font);
    g_object_unref(layout);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_RichCellPaint_PangoBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
