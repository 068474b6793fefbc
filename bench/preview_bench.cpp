// links: toolkit toolkit_core
// The picture dialogs' preview of raster files that choose their own cost:
// 24-megapixel progressive JPEGs of 30 000 scans, of 16 (the most a picture
// of that size may hold) and of libjpeg's own 6; a frame header hidden from
// libjpeg before an 8000 x 8000 one; a 24-megapixel JPEG of noise; and a
// 24-megapixel run-length bitmap that ends at once.  Each preview is one
// call of the loader the pane uses; the worst is what a user may wait for.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/PicturePreview.h"

namespace {

std::vector<uint8_t> Jpeg(int w, int h, bool progressive, const std::vector<uint8_t>& grey) {
  jpeg_compress_struct c;
  jpeg_error_mgr e;
  c.err = jpeg_std_error(&e);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  for (int y = 0; y < h; ++y) {
    JSAMPROW row = const_cast<JSAMPLE*>(grey.data() + size_t(y) * size_t(w));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(mem, mem + size);
  std::free(mem);
  jpeg_destroy_compress(&c);
  return out;
}

// The first AC scan, over every block, repeated to `scans` scans.
std::vector<uint8_t> ManyScans(std::vector<uint8_t> j, int scans) {
  std::vector<size_t> sos;
  for (size_t i = 0; i + 1 < j.size(); ++i)
    if (j[i] == 0xFF && j[i + 1] == 0xDA) sos.push_back(i);
  const std::vector<uint8_t> scan(j.begin() + long(sos[1]), j.begin() + long(sos[2]));
  std::vector<uint8_t> out(j.begin(), j.begin() + long(sos[2]));
  for (int n = int(sos.size()); n < scans; ++n) out.insert(out.end(), scan.begin(), scan.end());
  out.insert(out.end(), j.begin() + long(sos[2]), j.end());
  return out;
}

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

struct Files {
  std::string dir;
  std::vector<std::string> names{"scans30000.jpg", "scans16.jpg", "scans6.jpg",
                                 "decoy8000.jpg",  "noise.jpg",   "runs.bmp"};
  Files() {
    char tmpl[] = "/tmp/preview_benchXXXXXX";
    dir = mkdtemp(tmpl);
    const int w = 6000, h = 4000;
    const std::vector<uint8_t> flat = Jpeg(w, h, true, std::vector<uint8_t>(size_t(w) * h, 90));
    std::vector<uint8_t> noise(size_t(w) * h);
    std::mt19937 rng(7);
    for (uint8_t& v : noise) v = uint8_t(rng());
    const std::vector<uint8_t> small = Jpeg(200, 100, false, std::vector<uint8_t>(200 * 100, 90));
    std::vector<uint8_t> decoy{0xFF, 0xD8, 0xFF, 0x00, 0x00, 0x06, 0xFF, 0xFE, 0x00, 0x0F, 0xFF, 0xC0,
                               0x00, 0x0B, 0x08, 0x00, 0x01, 0x00, 0x01, 0x01, 0x01, 0x11, 0x00};
    const size_t at = decoy.size();
    decoy.insert(decoy.end(), small.begin() + 2, small.end());
    for (size_t i = at; i + 8 < decoy.size(); ++i)
      if (decoy[i] == 0xFF && decoy[i + 1] == 0xC0) {
        decoy[i + 5] = decoy[i + 7] = 8000 >> 8;
        decoy[i + 6] = decoy[i + 8] = 8000 & 0xFF;
        break;
      }
    std::vector<uint8_t> runs{'B', 'M'};
    for (uint32_t v : {64u, 0u, 62u, 40u, uint32_t(w), uint32_t(h)}) Put(runs, v, 4);
    Put(runs, 1, 2);
    Put(runs, 8, 2);
    for (uint32_t v : {1u, 2u, 0u, 0u, 2u, 0u, 0xFF0000u, 0x0000FFu}) Put(runs, v, 4);
    runs.insert(runs.end(), {0, 1});  // the end of the picture at once
    const std::vector<std::vector<uint8_t>> bytes{
        ManyScans(flat, 30000), ManyScans(flat, 16), flat, decoy, Jpeg(w, h, false, noise), runs};
    for (size_t i = 0; i < names.size(); ++i)
      std::ofstream(dir + "/" + names[i], std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes[i].data()), std::streamsize(bytes[i].size()));
  }
  ~Files() {
    for (const std::string& n : names) std::remove((dir + "/" + n).c_str());
    std::remove(dir.c_str());
  }
};

void BM_PreviewRaster(benchmark::State& state) {
  tk::EnsureWindowing();
  static const Files files;
  const std::string& name = files.names[size_t(state.range(0))];
  state.SetLabel(name);
  for (auto _ : state) {
    const tk::PicturePreview p = tk::LoadPicturePreview(files.dir + "/" + name, 218, 218);
    benchmark::DoNotOptimize(p.text.data());
  }
}
BENCHMARK(BM_PreviewRaster)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
BENCHMARK_MAIN();
