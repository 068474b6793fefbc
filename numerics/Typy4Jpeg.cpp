#include "numerics/Typy4Jpeg.h"

#include "toolkit/pictures/Jpeg.h"

namespace num {

void ZapiszJpeg(const tk::TBitmap& bitmap, tk::TSavePictureDialog& dialog, int quality) {
  tk::TJPEGImage jpeg;  // freed on every way out
  jpeg.Assign(bitmap);
  jpeg.CompressionQuality = quality;
  if (!dialog.Execute()) return;
  jpeg.SaveToFile(dialog.FileName);
}

}  // namespace num
