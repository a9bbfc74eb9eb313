#include "output/picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "output/picture_header.h"
#include "toolkit/handles.h"

namespace output {

namespace {

using toolkit::ComPtr;
using toolkit::PaletteGuard;
using toolkit::UniqueBitmap;
using toolkit::UniqueFile;
using toolkit::UniqueHandle;
using toolkit::UniqueView;
using toolkit::WindowDC;

// COM for this call, when the thread has not started it.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

private:
    HRESULT result_;
};

ComPtr<IWICImagingFactory> Imaging() {
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()));
    return factory;
}

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
        UniqueFile out = NewFileIn(slash == std::wstring::npos ? L"" : path.substr(0, slash + 1), temp);
        if (!out) return false;
        whole = write(out.get());
    }
    if (whole && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
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
    const WORD bits = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : depth <= 16 ? 16 : depth <= 24 ? 24 : 32;
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

const GUID* ContainerOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::Bmp: return &GUID_ContainerFormatBmp;
    case PictureFormat::Jpeg: return &GUID_ContainerFormatJpeg;
    case PictureFormat::Png: return &GUID_ContainerFormatPng;
    case PictureFormat::Gif: return &GUID_ContainerFormatGif;
    case PictureFormat::Ico: return &GUID_ContainerFormatIco;
    case PictureFormat::Unknown: break;
    }
    return nullptr;
}

LoadedPicture Failed(LoadFailure failure) { return LoadedPicture{{}, failure}; }

// The frame to show: an icon's largest image, else the first.
ComPtr<IWICBitmapFrameDecode> ChosenFrame(IWICBitmapDecoder* decoder, PictureFormat format) {
    ComPtr<IWICBitmapFrameDecode> chosen;
    UINT frames = 0;
    if (FAILED(decoder->GetFrameCount(&frames))) return chosen;
    uint64_t largest = 0;
    for (UINT i = 0; i < (format == PictureFormat::Ico ? frames : std::min(frames, 1u)); ++i) {
        ComPtr<IWICBitmapFrameDecode> frame;
        UINT w = 0, h = 0;
        if (FAILED(decoder->GetFrame(i, frame.put())) || FAILED(frame->GetSize(&w, &h))) continue;
        if (!chosen || uint64_t(w) * h > largest) {
            largest = uint64_t(w) * h;
            chosen = frame;
        }
    }
    return chosen;
}

// Decodes a file that passed the header checks into a 32-bit top-down DIB section.
LoadedPicture Decode(const uint8_t* data, size_t size, PictureFormat format, const HeaderCheck& header) {
    ComScope com;
    const auto factory = Imaging();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    if (!factory || FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), DWORD(size))) ||
        FAILED(factory->CreateDecoder(*ContainerOf(format), nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return Failed(LoadFailure::NotAPicture);
    const auto frame = ChosenFrame(decoder.get(), format);
    ComPtr<IWICBitmapSource> bgra;
    UINT width = 0, height = 0;
    if (!frame || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), bgra.put())))
        return Failed(LoadFailure::NotAPicture);
    // The decoder's own idea of the size is checked again before it fills memory.
    if (!SizeAllowed(width, height)) return Failed(LoadFailure::TooLarge);
    if (uint64_t(width) * height > uint64_t(header.width) * header.height)
        return Failed(LoadFailure::NotAPicture);

    void* bits = nullptr;
    UniqueBitmap bitmap = toolkit::NewBitmap32(int32_t(width), -int32_t(height), &bits);
    if (!bitmap) return Failed(LoadFailure::TooLarge);  // no memory for it
    const UINT stride = width * 4;
    if (FAILED(bgra->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return Failed(LoadFailure::NotAPicture);

    // Over white, as the viewer's paper; the alpha byte is cleared, as GDI leaves it.
    auto* pixel = static_cast<uint8_t*>(bits);
    for (const auto* end = pixel + size_t(stride) * height; pixel != end; pixel += 4) {
        const uint32_t alpha = pixel[3];
        if (alpha != 255)
            for (int c = 0; c < 3; ++c)
                pixel[c] = uint8_t((pixel[c] * alpha + 255 * (255 - alpha) + 127) / 255);
        pixel[3] = 0;
    }
    toolkit::Picture picture = toolkit::Picture::FromBitmap(std::move(bitmap), {});
    if (picture.Empty()) return Failed(LoadFailure::TooLarge);
    return LoadedPicture{picture, LoadFailure::None};
}

}  // namespace

bool SavePicture(const toolkit::Picture& picture, const std::wstring& path) {
    if (picture.Empty()) return false;
    try {
        switch (FormatOfName(path)) {
        case PictureFormat::Jpeg: return SaveEncoded(picture, path, GUID_ContainerFormatJpeg);
        case PictureFormat::Png: return SaveEncoded(picture, path, GUID_ContainerFormatPng);
        default: return SaveBmp(picture, path);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
}

LoadedPicture LoadPicture(const std::wstring& path) {
    // Nobody may write the file while its view is read: a file cut short
    // under a mapped view would fault.
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return Failed(LoadFailure::CannotRead);
    if (size.QuadPart == 0) return Failed(LoadFailure::NotAPicture);
    // The largest picture allowed, at 32 bits a pixel uncompressed, with room for headers.
    if (uint64_t(size.QuadPart) > uint64_t(kMaxPicturePixels) * 4 + (1 << 20))
        return Failed(LoadFailure::TooLarge);
    UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return Failed(LoadFailure::CannotRead);
    UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return Failed(LoadFailure::TooLarge);  // no address space for it
    const auto* data = static_cast<const uint8_t*>(view.get());
    const size_t bytes = size_t(size.QuadPart);

    const PictureFormat named = FormatOfName(path), format = FormatOfContent(data, bytes);
    if (format == PictureFormat::Unknown || (named != PictureFormat::Unknown && named != format))
        return Failed(LoadFailure::NotAPicture);
    const HeaderCheck header = CheckPicture(format, data, bytes);
    if (header.verdict == HeaderCheck::TooLarge) return Failed(LoadFailure::TooLarge);
    if (header.verdict != HeaderCheck::Sound) return Failed(LoadFailure::NotAPicture);
    try {
        const std::vector<uint8_t> widened = WithKnownBmpHeader(data, bytes);
        if (!widened.empty()) return Decode(widened.data(), widened.size(), format, header);
        return Decode(data, bytes, format, header);
    } catch (const std::bad_alloc&) {
        return Failed(LoadFailure::TooLarge);
    }
}

}  // namespace output
