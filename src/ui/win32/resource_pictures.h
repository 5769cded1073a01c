#pragma once
#include <windows.h>

namespace purgent::ui {

// A JPEG resource (RCDATA) decoded into a bitmap; nullptr when it cannot be read.
HBITMAP LoadJpegBitmap(HINSTANCE instance, int resourceId);

}  // namespace purgent::ui
