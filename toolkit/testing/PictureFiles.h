#pragma once
// Picture files made byte by byte for the preview's tests and benchmark:
// JPEG through libjpeg with the choices the program's encoder does not
// offer, and bitmaps with the headers and run lengths a test asks for.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it uses FILE and size_t

namespace tk::testing {

// Appends the lowest `bytes` bytes of v, little-endian.
void PutLe(std::vector<uint8_t>& b, uint32_t v, int bytes);

// A picture through libjpeg: progressive scans, and the inks of CMYK
// pictures (Adobe's inverted way).  `samples` are w x h of `components`.
std::vector<uint8_t> LibJpeg(int w, int h, int components, J_COLOR_SPACE in, J_COLOR_SPACE stored, bool progressive,
                             const std::vector<uint8_t>& samples);

// A flat grey progressive picture whose second scan (its first AC scan,
// over every block) is repeated until the stream holds `scans` scans
// (libjpeg writes 6).
std::vector<uint8_t> ManyScans(int w, int h, int scans);

// A bitmap information header of w x h at `bits` per pixel, of `bytes` pixel bytes.
std::vector<uint8_t> InfoHeader(int w, int h, int bits, size_t bytes);

// An 8-bit run-length bitmap of w x h, colour 0 red and 1 blue, with the
// given codes (bottom row first).
std::vector<uint8_t> RunLengthBmp(int w, int h, const std::vector<uint8_t>& codes);

}  // namespace tk::testing
