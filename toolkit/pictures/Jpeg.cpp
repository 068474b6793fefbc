// JPEG through libjpeg's version 6 interface.  The library reports errors by
// calling error_exit, which must not return; we jump back with longjmp to the
// routine that set the jump point and turn the error into a C++ exception
// there, after the library's object has been destroyed.  The routines that
// hold a jump point keep only plain C data in their frames: a longjmp over a
// C++ destructor would skip it.
#include "toolkit/pictures/Jpeg.h"

#include <QImage>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "toolkit/core/Errors.h"
#include "toolkit/files/WholeFile.h"
#include "toolkit/pictures/QtGraphics.h"

namespace tk {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  int code;
  int cut;  // the data ended, or a segment ended, before the picture did
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->code = cinfo->err->msg_code;
  longjmp(err->jump, 1);
}

// Warnings (a stream that ends early, say) are not errors: the picture is
// shown as far as it could be read.
extern "C" void JpegSilent(j_common_ptr) {}

// Warnings are noted, the ones that say the picture was cut short apart.
extern "C" void JpegNote(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (level >= 0) return;
  ++cinfo->err->num_warnings;
  if (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER) err->cut = 1;
}

void InitErrors(ErrorManager* err) {
  jpeg_std_error(&err->pub);
  err->pub.error_exit = JpegErrorExit;
  err->pub.output_message = JpegSilent;
  err->pub.emit_message = JpegNote;
  err->code = 0;
  err->cut = 0;
}

[[noreturn]] void Raise(int code) { throw Exception("JPEG error #" + std::to_string(code)); }

// --- Destination: a growing block of memory ----------------------------------
struct MemoryDestination {
  jpeg_destination_mgr pub;
  JOCTET* buffer;
  size_t capacity;
  size_t length;
};

extern "C" void DestInit(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<MemoryDestination*>(cinfo->dest);
  d->capacity = 65536;
  d->buffer = static_cast<JOCTET*>(std::malloc(d->capacity));
  if (d->buffer == nullptr) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  d->pub.next_output_byte = d->buffer;
  d->pub.free_in_buffer = d->capacity;
}

extern "C" boolean DestGrow(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<MemoryDestination*>(cinfo->dest);
  const size_t used = d->capacity;  // the whole buffer is full when this is called
  auto* grown = static_cast<JOCTET*>(std::realloc(d->buffer, d->capacity * 2));
  if (grown == nullptr) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  d->buffer = grown;
  d->capacity *= 2;
  d->pub.next_output_byte = d->buffer + used;
  d->pub.free_in_buffer = d->capacity - used;
  return TRUE;
}

extern "C" void DestTerm(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<MemoryDestination*>(cinfo->dest);
  d->length = d->capacity - d->pub.free_in_buffer;
}

// --- Source: a block of memory ------------------------------------------------
struct MemorySource {
  jpeg_source_mgr pub;
};

const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};

extern "C" void SrcInit(j_decompress_ptr) {}

// Past the end of the data: an end-of-image marker, as the library's own
// file source does, with a warning.
extern "C" boolean SrcFill(j_decompress_ptr cinfo) {
  WARNMS(cinfo, JWRN_JPEG_EOF);
  cinfo->src->next_input_byte = kFakeEoi;
  cinfo->src->bytes_in_buffer = 2;
  return TRUE;
}

extern "C" void SrcSkip(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  auto* src = cinfo->src;
  while (static_cast<size_t>(count) > src->bytes_in_buffer) {
    count -= static_cast<long>(src->bytes_in_buffer);
    SrcFill(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<size_t>(count);
}

extern "C" void SrcTerm(j_decompress_ptr) {}

// --- The routines with jump points (plain C data only) -----------------------

// 0 on success, else the message code; the destination buffer stays the
// caller's to free.
int CompressRows(ErrorManager* err, MemoryDestination* dest, int width, int height, const uint32_t* pixels,
                 JSAMPLE* row, int quality) {
  jpeg_compress_struct cinfo;
  InitErrors(err);
  cinfo.err = &err->pub;
  if (setjmp(err->jump)) {
    jpeg_destroy_compress(&cinfo);
    return err->code != 0 ? err->code : JERR_UNKNOWN_MARKER;
  }
  jpeg_create_compress(&cinfo);
  dest->pub.init_destination = DestInit;
  dest->pub.empty_output_buffer = DestGrow;
  dest->pub.term_destination = DestTerm;
  cinfo.dest = &dest->pub;
  cinfo.image_width = static_cast<JDIMENSION>(width < 0 ? 0 : width);
  cinfo.image_height = static_cast<JDIMENSION>(height < 0 ? 0 : height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);  // baseline tables
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint32_t* src = pixels + static_cast<size_t>(cinfo.next_scanline) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<JSAMPLE>((src[x] >> 16) & 0xFF);
      row[3 * x + 1] = static_cast<JSAMPLE>((src[x] >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<JSAMPLE>(src[x] & 0xFF);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return 0;
}

// Reads the header; on success the object stays created for ReadPicture.
int ReadHeader(jpeg_decompress_struct* cinfo, ErrorManager* err, MemorySource* src, const uint8_t* data, size_t size) {
  InitErrors(err);
  cinfo->err = &err->pub;
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(cinfo);
    return err->code != 0 ? err->code : JERR_UNKNOWN_MARKER;
  }
  jpeg_create_decompress(cinfo);
  src->pub.init_source = SrcInit;
  src->pub.fill_input_buffer = SrcFill;
  src->pub.skip_input_data = SrcSkip;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = SrcTerm;
  src->pub.next_input_byte = data;
  src->pub.bytes_in_buffer = size;
  cinfo->src = &src->pub;
  jpeg_read_header(cinfo, TRUE);
  cinfo->out_color_space = JCS_RGB;
  return 0;
}

// Starts the decompression and reads every row into `out`, `stride` bytes
// apart: `components` bytes a pixel and `rows` rows, or the library's error.
void ReadRows(jpeg_decompress_struct* cinfo, int components, JSAMPLE* out, size_t stride, JDIMENSION rows) {
  jpeg_start_decompress(cinfo);
  if (cinfo->output_components != components || cinfo->output_height != rows) ERREXIT(cinfo, JERR_CONVERSION_NOTIMPL);
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW line[1] = {out + static_cast<size_t>(cinfo->output_scanline) * stride};
    jpeg_read_scanlines(cinfo, line, 1);
  }
}

// Decodes into rows of red, green and blue bytes; destroys the object.
int ReadPicture(jpeg_decompress_struct* cinfo, ErrorManager* err, JSAMPLE* out, size_t stride, JDIMENSION rows) {
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(cinfo);
    return err->code != 0 ? err->code : JERR_UNKNOWN_MARKER;
  }
  ReadRows(cinfo, 3, out, stride, rows);
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return 0;
}

// --- The preview: work and memory bounded whatever the stream holds ---------

// A code of our own for a stream that asks for more work than a preview does.
constexpr int kTooMuchWork = JMSG_LASTMSGCODE + 1;

struct PreviewLimits {
  jpeg_progress_mgr pub;
  int maxScans;
};

// Called between rows of every pass, and while the scans of a multi-scan
// picture are read in: each scan costs a pass over its blocks.
extern "C" void CountScans(j_common_ptr cinfo) {
  auto* limits = reinterpret_cast<PreviewLimits*>(cinfo->progress);
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > limits->maxScans) {
    cinfo->err->msg_code = kTooMuchWork;
    (*cinfo->err->error_exit)(cinfo);
  }
}

// Decodes the picture at 1/denom of its size into rows of four bytes (blue,
// green, red, unused; or the four inks), within the limits; destroys the object.
int ReadPreview(jpeg_decompress_struct* cinfo, ErrorManager* err, PreviewLimits* limits, unsigned denom, bool inks,
                long memory, uint8_t* out, size_t stride, JDIMENSION rows) {
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(cinfo);
    return err->code != 0 ? err->code : JERR_UNKNOWN_MARKER;
  }
  limits->pub.progress_monitor = CountScans;
  cinfo->progress = &limits->pub;
  cinfo->mem->max_memory_to_use = memory;  // more is refused, not taken
  cinfo->out_color_space = inks ? JCS_CMYK : JCS_EXT_BGRX;
  cinfo->scale_num = 1;
  cinfo->scale_denom = denom;
  ReadRows(cinfo, 4, out, stride, rows);
  // What follows the last row (the end marker) does not change the picture.
  jpeg_destroy_decompress(cinfo);
  return 0;
}

// The size of the output at 1/denom, as the library computes it.
int OutputSize(jpeg_decompress_struct* cinfo, ErrorManager* err, unsigned denom, bool inks, JDIMENSION* w,
               JDIMENSION* h) {
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(cinfo);
    return err->code != 0 ? err->code : JERR_UNKNOWN_MARKER;
  }
  cinfo->out_color_space = inks ? JCS_CMYK : JCS_EXT_BGRX;
  cinfo->scale_num = 1;
  cinfo->scale_denom = denom;
  jpeg_calc_output_dimensions(cinfo);
  *w = cinfo->output_width;
  *h = cinfo->output_height;
  return 0;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(int width, int height, const uint32_t* pixels, int quality) {
  std::vector<JSAMPLE> row(static_cast<size_t>(width > 0 ? width : 1) * 3);
  ErrorManager err;
  MemoryDestination dest;
  std::memset(&dest, 0, sizeof dest);
  const int code = CompressRows(&err, &dest, width, height, pixels, row.data(), quality);
  std::vector<uint8_t> out;
  if (code == 0) {
    try {
      out.assign(dest.buffer, dest.buffer + dest.length);
    } catch (...) {
      std::free(dest.buffer);
      throw;
    }
  }
  std::free(dest.buffer);
  if (code != 0) Raise(code);
  return out;
}

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality) {
  TJPEGImage jpeg;
  jpeg.Assign(bitmap);
  jpeg.CompressionQuality = quality;
  return jpeg.SaveToBytes();
}

std::unique_ptr<TBitmap> DecodeJpeg(const uint8_t* data, size_t size) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  MemorySource src;
  int code = ReadHeader(&cinfo, &err, &src, data, size);
  if (code != 0) Raise(code);
  const int width = static_cast<int>(cinfo.image_width), height = static_cast<int>(cinfo.image_height);
  const size_t stride = static_cast<size_t>(width) * 3;
  std::vector<JSAMPLE> rgb;
  try {
    rgb.resize(stride * static_cast<size_t>(height));
  } catch (...) {
    jpeg_destroy_decompress(&cinfo);
    throw;
  }
  code = ReadPicture(&cinfo, &err, rgb.data(), stride, cinfo.image_height);
  if (code != 0) Raise(code);

  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const JSAMPLE* in = rgb.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) line[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
  }
  return BitmapFromImage(image);
}

JpegPreview DecodeJpegPreview(const uint8_t* data, size_t size, int width, int height, int64_t maxPixels,
                              long maxMemory) {
  JpegPreview result;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  MemorySource src;
  if (ReadHeader(&cinfo, &err, &src, data, size) != 0) return result;
  // The size the library read, and will decode: no other reading of the
  // header decides anything.
  result.width = int64_t(cinfo.image_width);
  result.height = int64_t(cinfo.image_height);
  const int64_t pixels = result.width * result.height;
  if (pixels > maxPixels) {
    jpeg_destroy_decompress(&cinfo);
    result.verdict = JpegPreview::TooLarge;
    return result;
  }
  // Each scan of a multi-scan picture costs a pass over the picture: a
  // bound on their number bounds the work.  Encoders write about ten; a
  // picture of the largest size may hold 16, smaller ones more, up to 1000.
  PreviewLimits limits{};
  limits.maxScans = int(std::clamp<int64_t>(int64_t(384000000) / std::max<int64_t>(pixels, 1), 16, 1000));
  // The largest of the library's reductions that still gives the shown size.
  unsigned denom = 8;
  while (denom > 1 && int64_t(denom) * std::max(width, 1) > result.width &&
         int64_t(denom) * std::max(height, 1) > result.height)
    denom /= 2;
  const bool inks = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const bool inverted = cinfo.saw_Adobe_marker;  // Adobe's files store the inks inverted
  JDIMENSION w = 0, h = 0;
  int code = OutputSize(&cinfo, &err, denom, inks, &w, &h);
  QImage image;
  if (code == 0) {
    try {
      image = QImage(int(w), int(h), QImage::Format_RGB32);
    } catch (...) {
      jpeg_destroy_decompress(&cinfo);
      throw;
    }
    if (image.isNull()) {
      jpeg_destroy_decompress(&cinfo);
      code = JERR_OUT_OF_MEMORY;
    }
  }
  if (code == 0)
    code = ReadPreview(&cinfo, &err, &limits, denom, inks, maxMemory, image.bits(), size_t(image.bytesPerLine()), h);
  if (code == kTooMuchWork || code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY) {
    result.verdict = JpegPreview::TooLarge;
  } else if (code == JERR_CONVERSION_NOTIMPL) {
    result.verdict = JpegPreview::NotShown;
  } else if (code == 0 && err.cut == 0) {
    if (inks) {
      for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
          const auto* k = reinterpret_cast<const uint8_t*>(line + x);
          int c[4] = {k[0], k[1], k[2], k[3]};
          if (!inverted)
            for (int& v : c) v = 255 - v;
          line[x] = qRgb(c[0] * c[3] / 255, c[1] * c[3] / 255, c[2] * c[3] / 255);
        }
      }
    }
    result.decodedPixels = int64_t(image.width()) * image.height();
    result.picture = BitmapFromImage(image);
    result.verdict = JpegPreview::Picture;
  }
  return result;
}

void TJPEGImage::Assign(const TBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<uint32_t> copy(static_cast<size_t>(w > 0 ? w : 0) * static_cast<size_t>(h > 0 ? h : 0));
  for (int y = 0; y < h; ++y) {
    const uint32_t* line = bitmap.ScanLine(y);
    std::copy(line, line + w, copy.begin() + static_cast<ptrdiff_t>(y) * w);
  }
  pixels_.swap(copy);
  width_ = w;
  height_ = h;
}

std::vector<uint8_t> TJPEGImage::SaveToBytes() const {
  return EncodeJpeg(width_, height_, pixels_.data(), CompressionQuality);
}

void TJPEGImage::SaveToFile(const std::string& fileName) const { WriteFileWhole(fileName, SaveToBytes()); }

void TJPEGImage::LoadFromBytes(const uint8_t* data, size_t size) {
  std::unique_ptr<TBitmap> bitmap = DecodeJpeg(data, size);
  Assign(*bitmap);
}

std::unique_ptr<TBitmap> TJPEGImage::ToBitmap() const {
  QImage image(width_, height_, QImage::Format_RGB32);
  for (int y = 0; y < height_; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width_; ++x) line[x] = 0xFF000000u | pixels_[static_cast<size_t>(y) * width_ + x];
  }
  return BitmapFromImage(image);
}

}  // namespace tk
