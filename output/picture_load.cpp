// Loading picture files, by their content, through the imaging component.
#include <wincodec.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "output/imaging.h"
#include "output/picture_file.h"
#include "output/picture_header.h"
#include "toolkit/handles.h"

namespace output {

namespace {

using toolkit::ComPtr;
using toolkit::UniqueBitmap;
using toolkit::UniqueFile;
using toolkit::UniqueHandle;
using toolkit::UniqueView;

const GUID* ContainerOf(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp:
            return &GUID_ContainerFormatBmp;
        case PictureFormat::Jpeg:
            return &GUID_ContainerFormatJpeg;
        case PictureFormat::Png:
            return &GUID_ContainerFormatPng;
        case PictureFormat::Gif:
            return &GUID_ContainerFormatGif;
        case PictureFormat::Ico:
            return &GUID_ContainerFormatIco;
        case PictureFormat::Unknown:
            break;
    }
    return nullptr;
}

DecodedPicture Failed(LoadFailure failure) { return DecodedPicture{{}, failure}; }

DecodedPicture NoMemoryFor(int64_t width, int64_t height) {
    return DecodedPicture{{}, LoadFailure::NoMemory, width, height};
}

AddressSpaceProbe& Probe() {
    static AddressSpaceProbe probe;
    return probe;
}

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

// 24-bit rows copied to the start of each 32-bit row, widened in place from
// the end: one pass, where a conversion and the alpha pass make two.
void WidenRows(uint8_t* bits, UINT width, UINT height) {
    for (UINT y = 0; y < height; ++y) {
        uint8_t* row = bits + size_t(width) * 4 * y;
        for (UINT x = width; x-- > 0;) {
            const uint8_t* from = row + size_t(x) * 3;
            uint8_t* to = row + size_t(x) * 4;
            const uint8_t b = from[0], g = from[1], r = from[2];
            to[0] = b;
            to[1] = g;
            to[2] = r;
            to[3] = 0;
        }
    }
}

// Over white, as the viewer's paper; the alpha byte is cleared, as GDI leaves it.
void OverWhite(uint8_t* pixel, size_t bytes) {
    for (const auto* end = pixel + bytes; pixel != end; pixel += 4) {
        const uint32_t alpha = pixel[3];
        if (alpha != 255)
            for (int c = 0; c < 3; ++c)
                pixel[c] = uint8_t((pixel[c] * alpha + 255 * (255 - alpha) + 127) / 255);
        pixel[3] = 0;
    }
}

// Decodes a file that passed the header checks into a 32-bit top-down DIB section.
DecodedPicture Decode(const uint8_t* data, size_t size, PictureFormat format,
                      const HeaderCheck& header) {
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
    WICPixelFormatGUID native{};
    UINT width = 0, height = 0;
    if (!frame || FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&native)))
        return Failed(LoadFailure::NotAPicture);
    // Opaque 24-bit pixels (the history's PNGs, every JPEG) need no conversion.
    const bool widen = native == GUID_WICPixelFormat24bppBGR;
    ComPtr<IWICBitmapSource> converted;
    if (!widen &&
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.put())))
        return Failed(LoadFailure::NotAPicture);
    IWICBitmapSource* source = widen ? frame.get() : converted.get();
    // The decoder's own idea of the size is checked again before it fills memory.
    if (!SizeAllowed(width, height)) return Failed(LoadFailure::TooLarge);
    if (uint64_t(width) * height > uint64_t(header.width) * header.height)
        return Failed(LoadFailure::NotAPicture);

    void* bits = nullptr;
    UniqueBitmap bitmap = toolkit::NewBitmap32(int32_t(width), -int32_t(height), &bits);
    if (!bitmap) return NoMemoryFor(width, height);
    const UINT stride = width * 4;
    const HRESULT copied =
        source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
    if (copied == E_OUTOFMEMORY) return NoMemoryFor(width, height);
    if (FAILED(copied)) return Failed(LoadFailure::NotAPicture);
    if (widen)
        WidenRows(static_cast<uint8_t*>(bits), width, height);
    else
        OverWhite(static_cast<uint8_t*>(bits), size_t(stride) * height);
    return DecodedPicture{std::move(bitmap), LoadFailure::None, width, height};
}

}  // namespace

FreeAddressSpace FreeAddressSpaceNow() {
    if (const auto& probe = Probe()) return probe();
    FreeAddressSpace space;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    auto* at = static_cast<const char*>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION block{};
    while (at < system.lpMaximumApplicationAddress && VirtualQuery(at, &block, sizeof block)) {
        if (block.State == MEM_FREE) space.blocks.push_back(block.RegionSize);
        at = static_cast<const char*>(block.BaseAddress) + block.RegionSize;
    }
    return space;
}

AddressSpaceProbe SetAddressSpaceProbe(AddressSpaceProbe probe) {
    return std::exchange(Probe(), std::move(probe));
}

DecodedPicture DecodePicture(const std::wstring& path) {
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
    if (!view) return Failed(LoadFailure::NoMemory);  // no address space even for the file
    const auto* data = static_cast<const uint8_t*>(view.get());
    const size_t bytes = size_t(size.QuadPart);

    // By content, as the system's viewer opens it: a PNG named ".bmp" is a PNG.
    const PictureFormat format = FormatOfContent(data, bytes);
    if (format == PictureFormat::Unknown) return Failed(LoadFailure::NotAPicture);
    const HeaderCheck header = CheckPicture(format, data, bytes);
    if (header.verdict == HeaderCheck::TooLarge)
        return DecodedPicture{{}, LoadFailure::TooLarge, header.width, header.height};
    if (header.verdict != HeaderCheck::Sound) return Failed(LoadFailure::NotAPicture);
    if (!FitsInMemory(header.width, header.height, FreeAddressSpaceNow().blocks))
        return NoMemoryFor(header.width, header.height);
    try {
        const std::vector<uint8_t> widened = WithKnownBmpHeader(data, bytes);
        if (!widened.empty()) return Decode(widened.data(), widened.size(), format, header);
        return Decode(data, bytes, format, header);
    } catch (const std::bad_alloc&) {
        return NoMemoryFor(header.width, header.height);
    }
}

LoadedPicture PictureOf(DecodedPicture decoded) {
    if (decoded.failure != LoadFailure::None)
        return LoadedPicture{{}, decoded.failure, decoded.width, decoded.height};
    toolkit::Picture picture = toolkit::Picture::FromBitmap(std::move(decoded.bitmap), {});
    if (picture.Empty())
        return LoadedPicture{{}, LoadFailure::NoMemory, decoded.width, decoded.height};
    return LoadedPicture{picture, LoadFailure::None, decoded.width, decoded.height};
}

LoadedPicture LoadPicture(const std::wstring& path) { return PictureOf(DecodePicture(path)); }

bool RoomForPicture(int64_t width, int64_t height) {
    return FitsInMemory(width, height, FreeAddressSpaceNow().blocks);
}

}  // namespace output
