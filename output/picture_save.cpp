// Saving pictures to files: BMP by rows, JPEG and PNG through the imaging component.
#include "output/picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "output/imaging.h"
#include "output/picture_header.h"
#include "toolkit/handles.h"
#include "toolkit/refused_writes.h"

namespace output {

namespace {

using toolkit::ComPtr;
using toolkit::PaletteGuard;
using toolkit::UniqueFile;
using toolkit::WindowDC;

// In pieces of 1 MB: under Wine one WriteFile of many megabytes is several
// times slower than the same bytes in pieces.
bool WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* at = static_cast<const char*>(data);
    for (size_t left = size; left;) {
        const DWORD piece = DWORD(std::min<size_t>(left, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, at, piece, &written, nullptr) || written != piece) return false;
        at += piece;
        left -= piece;
    }
    return true;
}

// A file of a new name in folder, created here so that it is nobody else's.
UniqueFile NewFileIn(const std::wstring& folder, std::wstring& name) {
    if (toolkit::WriteRefused(folder)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return UniqueFile();
    }
    static std::atomic<unsigned> next{GetTickCount()};
    for (int attempt = 0; attempt < 64; ++attempt) {
        wchar_t unique[16];
        swprintf(unique, 16, L"flk%04X.tmp", (next++) & 0xFFFF);
        name = folder + unique;
        UniqueFile file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueFile();
}

// Has write(file) fill a temporary file beside the target and moves it over
// the target only once whole, so a failure at any step leaves the old file as it was.
template <typename Write>
bool WriteWhole(const std::wstring& path, Write&& write) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring temp;
    bool whole = false;
    {
        UniqueFile out =
            NewFileIn(slash == std::wstring::npos ? L"" : path.substr(0, slash + 1), temp);
        if (!out) return false;
        whole = write(out.get());
    }
    if (whole &&
        MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temp.c_str());
    return false;
}

// A picture's rows as a DIB of the given depth, read through the screen with
// the picture's palette realized. GetDIBits fills the colour table in.
class DibRows {
public:
    // Rows top-down when asked (the encoders' order), else bottom-up (a BMP file's).
    DibRows(const toolkit::Picture& picture, WORD bits, bool topDown)
        : screen_(nullptr, WindowDC::Area::Client), bitmap_(picture.Bitmap()) {
        BITMAP info{};
        if (!bitmap_ || !GetObjectW(bitmap_, sizeof info, &info)) return;
        const DWORD colors = bits <= 8 ? 1u << bits : 0;
        const DWORD masks = bits == 16 ? 3 : 0;
        header.resize(sizeof(BITMAPINFOHEADER) + (colors + masks) * sizeof(RGBQUAD));
        BITMAPINFOHEADER& h = Info()->bmiHeader;
        h.biSize = sizeof h;
        h.biWidth = info.bmWidth;
        h.biHeight = topDown ? -info.bmHeight : info.bmHeight;
        h.biPlanes = 1;
        h.biBitCount = bits;
        h.biCompression = masks ? BI_BITFIELDS : BI_RGB;
        h.biClrUsed = colors;
        if (masks) {
            // 5-6-5 keeps every bit of a 5-5-5 display as well.
            const DWORD rgb565[] = {0xF800, 0x07E0, 0x001F};
            std::copy(rgb565, rgb565 + 3, reinterpret_cast<DWORD*>(Info()->bmiColors));
        }
        width = info.bmWidth;
        height = info.bmHeight;
        stride = (size_t(width) * bits + 31) / 32 * 4;
        if (const HPALETTE palette = picture.Palette()) {
            realized_.emplace(screen_.get(), palette);
            RealizePalette(screen_.get());
        }
    }
    // Rows first to first + count - 1 (counted from the bottom when bottom-up).
    bool Read(int first, int count, void* out) {
        return height && GetDIBits(screen_.get(), bitmap_, UINT(first), UINT(count), out, Info(),
                                   DIB_RGB_COLORS) == count;
    }
    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(header.data()); }

    std::vector<char> header;
    int width = 0, height = 0;
    size_t stride = 0;

private:
    WindowDC screen_;
    HBITMAP bitmap_;
    std::optional<PaletteGuard> realized_;
};

BITMAPFILEHEADER BmpFileHeader(size_t headerBytes, size_t pixelBytes) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = DWORD(sizeof file + headerBytes);
    file.bfSize = DWORD(file.bfOffBits + pixelBytes);
    return file;
}

// A bottom-up DIB section of 24 or 32 bits (what a capture on a true-colour
// display is) holds a BMP file's pixel array as it stands.
bool IsBmpPixelArray(const DIBSECTION& dib) {
    return dib.dsBm.bmBits && dib.dsBmih.biHeight > 0 && dib.dsBmih.biCompression == BI_RGB &&
           (dib.dsBmih.biBitCount == 24 || dib.dsBmih.biBitCount == 32);
}

bool SaveBmpPixelArray(const DIBSECTION& dib, const std::wstring& path) {
    BITMAPINFOHEADER info = dib.dsBmih;
    const size_t stride = size_t(dib.dsBm.bmWidthBytes), size = stride * size_t(info.biHeight);
    info.biSizeImage = DWORD(size);
    info.biClrUsed = info.biClrImportant = 0;
    const BITMAPFILEHEADER file = BmpFileHeader(sizeof info, size);
    GdiFlush();  // drawing still queued for the bits lands first
    return WriteWhole(path, [&](HANDLE out) {
        return WriteAll(out, &file, sizeof file) && WriteAll(out, &info, sizeof info) &&
               WriteAll(out, dib.dsBm.bmBits, size);
    });
}

bool SaveBmp(const toolkit::Picture& picture, const std::wstring& path) {
    DIBSECTION dib{};
    if (GetObjectW(picture.Bitmap(), sizeof dib, &dib) == sizeof dib && IsBmpPixelArray(dib))
        return SaveBmpPixelArray(dib, path);
    BITMAP bitmap{};
    GetObjectW(picture.Bitmap(), sizeof bitmap, &bitmap);
    const int depth = bitmap.bmBitsPixel * bitmap.bmPlanes;
    const WORD bits = depth <= 1    ? 1
                      : depth <= 4  ? 4
                      : depth <= 8  ? 8
                      : depth <= 16 ? 16
                      : depth <= 24 ? 24
                                    : 32;
    DibRows rows(picture, bits, false);
    if (!rows.height) return false;
    const BITMAPFILEHEADER file = BmpFileHeader(rows.header.size(), rows.stride * rows.height);
    // In bands that stay in the cache: one buffer of the whole picture is
    // slower to fill than to write.
    const int band = int(std::max<size_t>(1, (1 << 20) / rows.stride));
    std::unique_ptr<char[]> buffer(new char[band * rows.stride]);
    return WriteWhole(path, [&](HANDLE out) {
        for (int first = 0; first < rows.height; first += band) {
            const int count = std::min(band, rows.height - first);
            if (!rows.Read(first, count, buffer.get())) return false;
            if (first == 0 && !(WriteAll(out, &file, sizeof file) &&
                                WriteAll(out, rows.header.data(), rows.header.size())))
                return false;
            if (!WriteAll(out, buffer.get(), count * rows.stride)) return false;
        }
        return true;
    });
}

bool SetOption(IPropertyBag2* options, const wchar_t* name, VARIANT& value) {
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(name);
    return SUCCEEDED(options->Write(1, &option, &value));
}

bool SaveEncoded(const toolkit::Picture& picture, const std::wstring& path, const GUID& container) {
    DibRows rows(picture, 24, true);
    std::vector<BYTE> pixels(rows.stride * rows.height);
    if (!rows.height || !rows.Read(0, rows.height, pixels.data())) return false;
    const UINT width = rows.width, height = rows.height;
    ComScope com;
    const auto factory = Imaging();
    ComPtr<IStream> memory;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (!factory || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.put())) ||
        FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(memory.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())))
        return false;
    VARIANT value;
    VariantInit(&value);
    if (container == GUID_ContainerFormatJpeg) {
        value.vt = VT_R4;
        value.fltVal = 0.92f;
        if (!SetOption(options.get(), L"ImageQuality", value)) return false;
    } else if (container == GUID_ContainerFormatPng) {
        // Each row against the one above: as small as the adaptive choice on
        // screen content (rows of the same window repeat), in half the time.
        // Only a hint: an encoder without the option saves all the same.
        value.vt = VT_UI1;
        value.bVal = WICPngFilterUp;
        SetOption(options.get(), L"FilterOption", value);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT stride = UINT(rows.stride);
    if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height)) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->WritePixels(height, stride, UINT(pixels.size()), pixels.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;

    STATSTG stat{};
    if (FAILED(memory->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF)
        return false;
    std::vector<char> bytes(size_t(stat.cbSize.QuadPart));
    ULONG read = 0;
    const LARGE_INTEGER start{};
    if (FAILED(memory->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(memory->Read(bytes.data(), ULONG(bytes.size()), &read)) || read != bytes.size())
        return false;
    return WriteWhole(path, [&](HANDLE out) { return WriteAll(out, bytes.data(), bytes.size()); });
}

}  // namespace

bool SavePicture(const toolkit::Picture& picture, const std::wstring& path) {
    if (picture.Empty()) return false;
    try {
        switch (FormatOfName(path)) {
            case PictureFormat::Jpeg:
                return SaveEncoded(picture, path, GUID_ContainerFormatJpeg);
            case PictureFormat::Png:
                return SaveEncoded(picture, path, GUID_ContainerFormatPng);
            default:
                return SaveBmp(picture, path);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace output
