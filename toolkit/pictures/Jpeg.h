#pragma once
// JPEG pictures through libjpeg: 24-bit colour JFIF written at a chosen
// quality (baseline, not progressive) and JFIF streams read back into bitmaps.
// Any library error becomes tk::Exception "JPEG error #<message code>".
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/pictures/Graphics.h"

namespace tk {

// Rows of 0xRRGGBB values, top to bottom, encoded as JFIF; quality 1 to 100.
std::vector<uint8_t> EncodeJpeg(int width, int height, const uint32_t* pixels, int quality);
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality);
// A JFIF stream decoded into a new bitmap (greyscale pictures come out grey).
std::unique_ptr<TBitmap> DecodeJpeg(const uint8_t* data, size_t size);

// A JPEG stream decoded for a preview of width x height: at the smallest of
// the library's reductions (1/2, 1/4, 1/8) that still covers that size, with
// the work (the number of scans) and the library's memory bounded, whatever
// the stream holds.  Colour, grey and CMYK pictures are shown; a stream that
// ends early counts as damaged.
struct JpegPreview {
  enum Verdict { Picture, TooLarge, NotShown, Damaged };
  Verdict verdict = Damaged;
  std::unique_ptr<TBitmap> picture;  // only with Picture
  int64_t width = 0, height = 0;     // the picture's own size, as the library read it
  int64_t decodedPixels = 0;         // the size of what was decoded, for tests
};
JpegPreview DecodeJpegPreview(const uint8_t* data, size_t size, int width, int height, int64_t maxPixels,
                              long maxMemory);

// A JPEG picture: a copy of a bitmap's picture, written with its quality.
class TJPEGImage {
 public:
  int CompressionQuality = 75;

  void Assign(const TBitmap& bitmap);  // copies the picture
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::vector<uint8_t> SaveToBytes() const;
  // Writes the JFIF data under this name whatever its extension, whole or
  // not at all (EFCreateError when the file cannot be written).
  void SaveToFile(const std::string& fileName) const;
  void LoadFromBytes(const uint8_t* data, size_t size);
  std::unique_ptr<TBitmap> ToBitmap() const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace tk
