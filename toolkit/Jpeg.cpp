// JPEG through libjpeg's version 6 interface.  The library reports errors by
// calling error_exit, which must not return; we jump back with longjmp to the
// routine that set the jump point and turn the error into a C++ exception
// there, after the library's object has been destroyed.  The routines that
// hold a jump point keep only plain C data in their frames: a longjmp over a
// C++ destructor would skip it.
#include "toolkit/Jpeg.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "toolkit/QtGraphics.h"
#include "toolkit/core/Errors.h"
#include "toolkit/files/WholeFile.h"

namespace tk {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  int code;
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->code = cinfo->err->msg_code;
  longjmp(err->jump, 1);
}

// Warnings (a stream that ends early, say) are not errors: the picture is
// shown as far as it could be read.
extern "C" void JpegSilent(j_common_ptr) {}

void InitErrors(ErrorManager* err) {
  jpeg_std_error(&err->pub);
  err->pub.error_exit = JpegErrorExit;
  err->pub.output_message = JpegSilent;
  err->code = 0;
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

// Decodes into rows of red, green and blue bytes; destroys the object.
int ReadPicture(jpeg_decompress_struct* cinfo, ErrorManager* err, JSAMPLE* out, size_t stride, JDIMENSION rows) {
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(cinfo);
    return err->code != 0 ? err->code : JERR_UNKNOWN_MARKER;
  }
  jpeg_start_decompress(cinfo);
  if (cinfo->output_components != 3 || cinfo->output_height != rows) ERREXIT(cinfo, JERR_CONVERSION_NOTIMPL);
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW line[1] = {out + static_cast<size_t>(cinfo->output_scanline) * stride};
    jpeg_read_scanlines(cinfo, line, 1);
  }
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
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
