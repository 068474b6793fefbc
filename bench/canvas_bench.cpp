// links: toolkit toolkit_core
// Drawing speed of the canvas: the current-density map writes up to 59 rings
// of 721 single pixels into a 120 x 120 picture; the plots record a few
// hundred lines and texts into a picture that is replayed on every paint.
#include <benchmark/benchmark.h>

#include <cmath>

#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/Graphics.h"

namespace {

void BM_MapPixels(benchmark::State& state) {
  tk::EnsureWindowing();
  tk::TForm form;
  tk::TImage* image = new tk::TImage(&form);
  image->SetBounds(0, 0, 127, 116);
  tk::TCanvas& c = image->Canvas();
  const double dphi = 2 * M_PI / 720;
  for (auto _ : state) {
    for (int p = 0; p <= 58; ++p) {
      const tk::TColor level = tk::RGBColor(100 + p, 0, 0);
      for (int L = 0; L <= 720; ++L) {
        const double phi = L * dphi;
        c.SetPixel(static_cast<int>(std::cos(phi) * p) + 60, static_cast<int>(std::sin(phi) * p) + 60, level);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * 59 * 721);
}
BENCHMARK(BM_MapPixels)->Unit(benchmark::kMillisecond);

void DrawPlot(tk::TCanvas& c, int w, int h) {
  c.Brush.SetColor(tk::clWhite);
  c.Rectangle(0, 0, w, h);
  for (int k = 0; k < 3; ++k) {
    c.MoveTo(68, h - 100);
    for (int j = 0; j <= 200; ++j)
      c.LineTo(68 + j * 3, h - 100 - static_cast<int>(200 * std::exp(-0.01 * j * (k + 1))));
  }
  for (int t = 0; t < 8; ++t) c.TextOut(40 + 70 * t, h - 93, " 12.5");
  tk::TRect r{30, h - 69, w, h};
  c.DrawText("Rozkład gęstości prądu wzdłuż promienia dla f, 2f i 10f", r, tk::dtWordBreak);
}

void BM_RecordPlot(benchmark::State& state) {
  tk::EnsureWindowing();
  tk::TMetafile mf;
  for (auto _ : state) {
    tk::TMetafileCanvas rec(mf, 649, 401);
    DrawPlot(rec.Canvas(), 649, 401);
  }
}
BENCHMARK(BM_RecordPlot)->Unit(benchmark::kMillisecond);

void BM_ReplayPlot(benchmark::State& state) {
  tk::EnsureWindowing();
  tk::TMetafile mf;
  {
    tk::TMetafileCanvas rec(mf, 649, 401);
    DrawPlot(rec.Canvas(), 649, 401);
  }
  for (auto _ : state) benchmark::DoNotOptimize(mf.Render(649, 401));
}
BENCHMARK(BM_ReplayPlot)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
