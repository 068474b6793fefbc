#include "toolkit/testing/PictureFiles.h"

#include <cstdio>
#include <cstdlib>

namespace tk::testing {

void PutLe(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> LibJpeg(int w, int h, int components, J_COLOR_SPACE in, J_COLOR_SPACE stored, bool progressive,
                             const std::vector<uint8_t>& samples) {
  jpeg_compress_struct c;
  jpeg_error_mgr e;
  c.err = jpeg_std_error(&e);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = components;
  c.in_color_space = in;
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, stored);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  for (int y = 0; y < h; ++y) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + size_t(y) * size_t(w * components));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(mem, mem + size);
  std::free(mem);
  jpeg_destroy_compress(&c);
  return out;
}

std::vector<uint8_t> ManyScans(int w, int h, int scans) {
  std::vector<uint8_t> j =
      LibJpeg(w, h, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, true, std::vector<uint8_t>(size_t(w) * h, 90));
  std::vector<size_t> sos;
  for (size_t i = 0; i + 1 < j.size(); ++i)
    if (j[i] == 0xFF && j[i + 1] == 0xDA) sos.push_back(i);
  const std::vector<uint8_t> scan(j.begin() + long(sos[1]), j.begin() + long(sos[2]));
  std::vector<uint8_t> out(j.begin(), j.begin() + long(sos[2]));
  for (int n = int(sos.size()); n < scans; ++n) out.insert(out.end(), scan.begin(), scan.end());
  out.insert(out.end(), j.begin() + long(sos[2]), j.end());
  return out;
}

std::vector<uint8_t> InfoHeader(int w, int h, int bits, size_t bytes) {
  std::vector<uint8_t> b;
  for (uint32_t v : {40u, uint32_t(w), uint32_t(h)}) PutLe(b, v, 4);
  PutLe(b, 1, 2);
  PutLe(b, uint32_t(bits), 2);
  for (uint32_t v : {0u, uint32_t(bytes), 0u, 0u, 0u, 0u}) PutLe(b, v, 4);
  return b;
}

std::vector<uint8_t> RunLengthBmp(int w, int h, const std::vector<uint8_t>& codes) {
  std::vector<uint8_t> info = InfoHeader(w, h, 8, codes.size());
  info[16] = 1;  // run lengths of bytes
  info[32] = 2;  // two colours
  std::vector<uint8_t> b{'B', 'M'};
  for (uint32_t v : {uint32_t(62 + codes.size()), 0u, 62u}) PutLe(b, v, 4);
  b.insert(b.end(), info.begin(), info.end());
  for (uint32_t v : {0xFF0000u, 0x0000FFu}) PutLe(b, v, 4);
  b.insert(b.end(), codes.begin(), codes.end());
  return b;
}

}  // namespace tk::testing
