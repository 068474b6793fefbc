#pragma once
// The preview pane of the picture dialogs, and the dialogs' column widths.
// Toolkit-internal.  A file is shown only when it is a regular file of
// bounded size holding a picture of bounded size of a type the dialogs list:
// JPEG (through our libjpeg reader), BMP and ICO, and the enhanced
// metafiles this system writes.  Anything else leaves the pane empty with a
// short reason; nothing here waits on a pipe or a device, or raises.
#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/pictures/Graphics.h"

class QFileDialog;

namespace tk {

struct PicturePreview {
  std::unique_ptr<TBitmap> picture;  // null when nothing is shown
  std::string text;                  // the picture's size in pixels, or why there is no picture
  int64_t decodedPixels = 0;         // how many pixels the decoder produced, for tests
};

// The file's picture, reduced to fit width x height when it is larger
// (metafiles are scaled to fit either way).
PicturePreview LoadPicturePreview(const std::string& fileName, int width, int height);

// Adds the pane beside the dialog's file list; it follows the current file.
void AddPicturePreview(QFileDialog& dialog);
// A count of bytes with the noun in its Polish form: "1 bajt", "2 bajty",
// "5 bajtów", "22 bajty", "112 bajtów".  The dialogs' size column says so
// below a kibibyte in a Polish locale, as Qt says "1,00 KiB" above.
std::string ByteCountText(int64_t bytes);
// Gives the size, type and date columns of the dialog's detail view the
// width of their widest text.
void FitFileDialogColumns(QFileDialog& dialog);

}  // namespace tk
