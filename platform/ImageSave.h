#pragma once
// Writing a picture to a file through the imaging library's encoders.
#include <windows.h>

#include "platform/Gdiplus.h"

// The class id of the installed encoder whose MIME type equals `mimeType`
// exactly; false when none has it.
bool FindEncoderClsid(const wchar_t* mimeType, CLSID* clsid);

// Writes `image` as a 32-bit, fully opaque copy to `path` (ANSI code page),
// in the format its extension names (jpg/jpeg/jpe, png, bmp). False for no
// image, an empty path, another extension or no encoder; true once the write
// was attempted.
bool SaveImageByExtension(const gdip::Image& image, const char* path);
