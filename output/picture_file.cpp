#include "output/picture_file.h"

#include <optional>
#include <vector>

#include "toolkit/handles.h"

namespace output {

using toolkit::PaletteGuard;
using toolkit::UniqueFile;
using toolkit::WindowDC;

bool SavePicture(const toolkit::Picture& picture, const std::wstring& path) {
    const HBITMAP bitmap = picture.Bitmap();
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return false;

    // At most 8 bits per pixel keep a colour table; deeper pictures are
    // written as 24-bit, which loses nothing of a 16- or 32-bit display.
    const WORD bits = info.bmBitsPixel * info.bmPlanes <= 8 ? info.bmBitsPixel * info.bmPlanes : 24;
    const DWORD colors = bits <= 8 ? (1u << bits) : 0;
    std::vector<char> header(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(header.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = info.bmWidth;
    bmi->bmiHeader.biHeight = info.bmHeight;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = bits;
    bmi->bmiHeader.biCompression = BI_RGB;
    bmi->bmiHeader.biClrUsed = colors;
    const DWORD stride = ((info.bmWidth * bits + 31) / 32) * 4;
    std::vector<char> pixels(size_t(stride) * info.bmHeight);

    {
        WindowDC screen(nullptr, WindowDC::Area::Client);
        std::optional<PaletteGuard> realized;
        if (const HPALETTE palette = picture.Palette()) {
            realized.emplace(screen.get(), palette);
            RealizePalette(screen.get());
        }
        if (GetDIBits(screen.get(), bitmap, 0, info.bmHeight, pixels.data(), bmi, DIB_RGB_COLORS) !=
            info.bmHeight)
            return false;
    }

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = DWORD(sizeof file + header.size());
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    UniqueFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    const auto write = [&](const void* data, size_t size) {
        DWORD written = 0;
        return WriteFile(out.get(), data, DWORD(size), &written, nullptr) && written == size;
    };
    if (write(&file, sizeof file) && write(header.data(), header.size()) &&
        write(pixels.data(), pixels.size()))
        return true;
    out.reset();
    DeleteFileW(path.c_str());  // no half-written picture left behind
    return false;
}

}  // namespace output
