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
#include "toolkit/file_write.h"
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
        if (!toolkit::WriteToFile(file, at, piece)) return false;
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
        UniqueFile file = toolkit::CreateNewFile(name);
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueFile();
}

// Windows refuses to replace a file another program holds open with "access
// denied", as it refuses a read-only one: asking for the file itself tells them apart.
DWORD WhyNotReplaced(const std::wstring& path, DWORD error) {
    if (error != ERROR_ACCESS_DENIED) return error;
    UniqueFile target(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !target && GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : error;
}

// Has write(file) fill a temporary file beside the target and moves it over
// the target only once whole, so a failure at any step leaves the old file as
// it was. error receives the system's reason for a failure, where it gave one.
template <typename Write>
bool WriteWhole(const std::wstring& path, DWORD& error, Write&& write) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring temp;
    bool whole = false;
    {
        UniqueFile out =
            NewFileIn(slash == std::wstring::npos ? L"" : path.substr(0, slash + 1), temp);
        if (!out) {
            error = GetLastError();
            return false;
        }
        SetLastError(0);
        whole = write(out.get());
        if (!whole) error = GetLastError();
    }
    if (whole &&
        MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (whole) error = WhyNotReplaced(path, GetLastError());
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

// A bottom-up 24-bit DIB section holds a BMP file's pixel array as it stands.
bool SaveBmpPixelArray(const DIBSECTION& dib, const std::wstring& path, DWORD& error) {
    BITMAPINFOHEADER info = dib.dsBmih;
    const size_t stride = size_t(dib.dsBm.bmWidthBytes), size = stride * size_t(info.biHeight);
    info.biSizeImage = DWORD(size);
    info.biClrUsed = info.biClrImportant = 0;
    const BITMAPFILEHEADER file = BmpFileHeader(sizeof info, size);
    GdiFlush();  // drawing still queued for the bits lands first
    return WriteWhole(path, error, [&](HANDLE out) {
        return WriteAll(out, &file, sizeof file) && WriteAll(out, &info, sizeof info) &&
               WriteAll(out, dib.dsBm.bmBits, size);
    });
}

// A 32-bit bottom-up DIB section (a capture on a true-colour display) as a
// 24-bit file: what the screen read leaves in the fourth byte is no alpha,
// yet viewers that honour it showed captures see-through.
bool SaveBmpDroppingFourthByte(const DIBSECTION& dib, const std::wstring& path, DWORD& error) {
    BITMAPINFOHEADER info = dib.dsBmih;
    const int width = info.biWidth, height = info.biHeight;
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4, size = stride * size_t(height);
    info.biBitCount = 24;
    info.biSizeImage = DWORD(size);
    info.biClrUsed = info.biClrImportant = 0;
    const BITMAPFILEHEADER file = BmpFileHeader(sizeof info, size);
    const int band = int(std::max<size_t>(1, (1 << 20) / stride));
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[band * stride]());
    GdiFlush();
    return WriteWhole(path, error, [&](HANDLE out) {
        if (!WriteAll(out, &file, sizeof file) || !WriteAll(out, &info, sizeof info)) return false;
        const auto* rows = static_cast<const uint8_t*>(dib.dsBm.bmBits);
        for (int first = 0; first < height; first += band) {
            const int count = std::min(band, height - first);
            for (int y = 0; y < count; ++y) {
                const uint8_t* from = rows + size_t(first + y) * dib.dsBm.bmWidthBytes;
                uint8_t* to = buffer.get() + size_t(y) * stride;
                for (int x = 0; x < width; ++x, from += 4, to += 3) {
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                }
            }
            if (!WriteAll(out, buffer.get(), count * stride)) return false;
        }
        return true;
    });
}

// Never 32 bits a pixel: every file is opaque, whoever reads it.
bool SaveBmp(const toolkit::Picture& picture, const std::wstring& path, DWORD& error) {
    DIBSECTION dib{};
    if (GetObjectW(picture.Bitmap(), sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits &&
        dib.dsBmih.biHeight > 0 && dib.dsBmih.biCompression == BI_RGB) {
        if (dib.dsBmih.biBitCount == 24) return SaveBmpPixelArray(dib, path, error);
        if (dib.dsBmih.biBitCount == 32) return SaveBmpDroppingFourthByte(dib, path, error);
    }
    BITMAP bitmap{};
    GetObjectW(picture.Bitmap(), sizeof bitmap, &bitmap);
    const int depth = bitmap.bmBitsPixel * bitmap.bmPlanes;
    const WORD bits = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : depth <= 16 ? 16 : 24;
    DibRows rows(picture, bits, false);
    if (!rows.height) return false;
    const BITMAPFILEHEADER file = BmpFileHeader(rows.header.size(), rows.stride * rows.height);
    // In bands that stay in the cache: one buffer of the whole picture is
    // slower to fill than to write.
    const int band = int(std::max<size_t>(1, (1 << 20) / rows.stride));
    std::unique_ptr<char[]> buffer(new char[band * rows.stride]);
    return WriteWhole(path, error, [&](HANDLE out) {
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

bool SaveEncoded(const toolkit::Picture& picture, const std::wstring& path, const GUID& container,
                 DWORD& error) {
    DibRows rows(picture, 24, true);
    std::vector<BYTE> pixels(rows.stride * rows.height);
    if (!rows.height || !rows.Read(0, rows.height, pixels.data())) return false;
    ComScope com;
    std::vector<char> bytes;
    if (!EncodeRows(container, pixels.data(), UINT(rows.width), UINT(rows.height),
                    UINT(rows.stride), bytes))
        return false;
    return WriteWhole(path, error,
                      [&](HANDLE out) { return WriteAll(out, bytes.data(), bytes.size()); });
}

}  // namespace

bool SavePicture(const toolkit::Picture& picture, const std::wstring& path, DWORD* error) {
    DWORD why = 0;
    bool saved = false;
    if (!picture.Empty()) try {
            switch (FormatOfName(path)) {
                case PictureFormat::Jpeg:
                    saved = SaveEncoded(picture, path, GUID_ContainerFormatJpeg, why);
                    break;
                case PictureFormat::Png:
                    saved = SaveEncoded(picture, path, GUID_ContainerFormatPng, why);
                    break;
                default:
                    saved = SaveBmp(picture, path, why);
            }
        } catch (const std::bad_alloc&) {
            why = ERROR_NOT_ENOUGH_MEMORY;
        }
    if (error) *error = saved ? 0 : why;
    return saved;
}

SaveFailure SaveFailureOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_NETWORK_ACCESS_DENIED:
            return SaveFailure::NoPermission;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return SaveFailure::DiskFull;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_NOT_READY:
            return SaveFailure::FolderGone;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return SaveFailure::NameNotAllowed;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return SaveFailure::InUse;
        default:
            return SaveFailure::Other;
    }
}

}  // namespace output
