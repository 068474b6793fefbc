// links: toolkit toolkit_core toolkit_testing
// The picture dialogs' preview of files that choose their own cost:
// 24-megapixel progressive JPEGs of 30 000 scans, of 16 (the most a picture
// of that size may hold) and of libjpeg's own 6; a frame header hidden from
// libjpeg before an 8000 x 8000 one; a 24-megapixel JPEG of noise; a
// 24-megapixel run-length bitmap that ends at once; and metafiles of about
// 31 MB (just under the preview's limit) of one polyline of four million
// points and of 700 000 dotted lines.  Each preview is one call of the
// loader the pane uses; the worst is what a user may wait for.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/PicturePreview.h"
#include "toolkit/emf/EmfRecords.h"
#include "toolkit/testing/PictureFiles.h"

namespace {

namespace tt = tk::testing;
using tk::emf::LPoint;

// A metafile of 200 x 100 pixels drawn by `draw` at random points.
template <class Draw>
std::vector<uint8_t> Metafile(Draw draw) {
  std::mt19937 rng(7);
  tk::emf::EmfRecords r(200, 100);
  r.SetMapping();
  draw(r, [&] { return LPoint{int32_t(rng() % 1600), int32_t(rng() % 800)}; });
  return r.Finish();
}

struct Files {
  std::string dir;
  std::vector<std::string> names{"scans30000.jpg", "scans16.jpg", "scans6.jpg",   "decoy8000.jpg",
                                 "noise.jpg",      "runs.bmp",    "polyline.emf", "dotted.emf"};
  Files() {
    char tmpl[] = "/tmp/preview_benchXXXXXX";
    dir = mkdtemp(tmpl);
    const int w = 6000, h = 4000;
    std::vector<uint8_t> noise(size_t(w) * h);
    std::mt19937 rng(7);
    for (uint8_t& v : noise) v = uint8_t(rng());
    const std::vector<uint8_t> small =
        tt::LibJpeg(200, 100, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, false, std::vector<uint8_t>(200 * 100, 90));
    const std::vector<uint8_t> head{0xFF, 0xD8, 0xFF, 0x00, 0x00, 0x06, 0xFF, 0xFE, 0x00, 0x0F, 0xFF, 0xC0,
                                    0x00, 0x0B, 0x08, 0x00, 0x01, 0x00, 0x01, 0x01, 0x01, 0x11, 0x00};
    const size_t at = head.size();
    std::vector<uint8_t> decoy(at + small.size() - 2);
    std::copy(head.begin(), head.end(), decoy.begin());
    std::copy(small.begin() + 2, small.end(), decoy.begin() + long(at));
    for (size_t i = at; i + 8 < decoy.size(); ++i)
      if (decoy[i] == 0xFF && decoy[i + 1] == 0xC0) {
        decoy[i + 5] = decoy[i + 7] = 8000 >> 8;
        decoy[i + 6] = decoy[i + 8] = 8000 & 0xFF;
        break;
      }
    const std::vector<std::vector<uint8_t>> bytes{tt::ManyScans(w, h, 30000),
                                                  tt::ManyScans(w, h, 16),
                                                  tt::ManyScans(w, h, 6),
                                                  decoy,
                                                  tt::LibJpeg(w, h, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, false, noise),
                                                  tt::RunLengthBmp(w, h, {0, 1}),  // the end of the picture at once
                                                  Metafile([](tk::emf::EmfRecords& r, auto at) {
                                                    std::vector<LPoint> line(4000000);
                                                    for (LPoint& p : line) p = at();
                                                    r.Polyline(line);
                                                  }),
                                                  Metafile([](tk::emf::EmfRecords& r, auto at) {
                                                    r.SelectObject(r.CreatePen(tk::emf::PS_DOT, 0, 0));
                                                    for (int i = 0; i < 700000; ++i) r.Polyline({at(), at()});
                                                  })};
    for (size_t i = 0; i < names.size(); ++i)
      std::ofstream(dir + "/" + names[i], std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes[i].data()), std::streamsize(bytes[i].size()));
  }
  ~Files() {
    for (const std::string& n : names) std::remove((dir + "/" + n).c_str());
    std::remove(dir.c_str());
  }
};

void BM_Preview(benchmark::State& state) {
  tk::EnsureWindowing();
  static const Files files;
  const std::string& name = files.names[size_t(state.range(0))];
  state.SetLabel(name);
  for (auto _ : state) {
    const tk::PicturePreview p = tk::LoadPicturePreview(files.dir + "/" + name, 218, 218);
    benchmark::DoNotOptimize(p.text.data());
  }
}
BENCHMARK(BM_Preview)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
BENCHMARK_MAIN();
