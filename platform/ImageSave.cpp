#include "platform/ImageSave.h"

#include <cwchar>
#include <string>
#include <vector>

#include "platform/PathText.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

bool FindEncoderClsid(const wchar_t* mimeType, CLSID* clsid) {
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Ok || size == 0) return false;
    // ImageCodecInfo records followed by the strings they point to.
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, size, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mimeType) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool SaveImageByExtension(const gdip::Image& image, const char* path) {
    if (!image || !path || !*path) return false;
    const UINT w = image.Width(), h = image.Height();

    // The grab has no alpha; drawn onto a blank ARGB bitmap every pixel is opaque.
    gdip::Image copy = gdip::Image::Blank(static_cast<int>(w), static_cast<int>(h));
    {
        // Drawn and let go before the bitmap is written.
        gdip::Graphics g(copy.get());
        gdip::DrawImageRectRect(g, image, 0, 0, static_cast<int>(w), static_cast<int>(h), 0, 0,
                                static_cast<int>(w), static_cast<int>(h), nullptr);
    }

    const char* mime = MimeTypeForPath(path);
    if (!mime) return false;
    const std::wstring wideMime(mime, mime + std::char_traits<char>::length(mime));
    CLSID encoder;
    if (!FindEncoderClsid(wideMime.c_str(), &encoder)) return false;

    const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, path, -1, nullptr, 0);
    if (n <= 0) return true;
    std::vector<wchar_t> widePath(static_cast<size_t>(n));
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, path, -1, widePath.data(), n);
    if (copy) GdipSaveImageToFile(copy.get(), widePath.data(), &encoder, nullptr);
    return true;
}
