#pragma once
// Saving a picture as a JPEG file through the save-picture dialog.
#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/Graphics.h"

namespace num {

// Runs the dialog; on confirmation writes the bitmap's picture as JFIF at the
// given quality (1 to 100) under the chosen name, whatever its extension or
// the chosen file type.  A cancelled dialog writes nothing.  The file is
// written whole or not at all; a failure (file not writable, library error
// "JPEG error #n") leaves as an exception once everything is freed.  The
// bitmap stays the caller's.
void ZapiszJpeg(const tk::TBitmap& bitmap, tk::TSavePictureDialog& dialog, int quality);

}  // namespace num
