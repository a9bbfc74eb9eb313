#include "output/picture_header.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace output {

namespace {

using Check = HeaderCheck;

uint32_t Le16(const uint8_t* p) { return p[0] | p[1] << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | uint32_t(Le16(p + 2)) << 16; }
uint32_t Be16(const uint8_t* p) { return p[0] << 8 | p[1]; }
uint32_t Be32(const uint8_t* p) { return uint32_t(Be16(p)) << 16 | Be16(p + 2); }

Check Broken() { return Check{}; }
Check Sized(int64_t width, int64_t height) {
    return Check{SizeAllowed(width, height) ? Check::Sound : Check::TooLarge, width, height};
}

// Run-length pixels (RLE8, or RLE4 with four set) end inside the picture, with
// every index in the colour table and an end-of-bitmap mark or a last row.
bool RleSound(const uint8_t* p, size_t n, int64_t width, int64_t height, bool four,
              uint32_t colors) {
    int64_t x = 0, y = 0;
    size_t i = 0;
    const auto index = [&](const uint8_t* at, uint32_t k) -> uint32_t {
        return four ? (k % 2 ? at[k / 2] & 15 : at[k / 2] >> 4) : at[k];
    };
    while (i + 2 <= n) {
        const uint32_t count = p[i], value = p[i + 1];
        i += 2;
        if (count) {
            const uint8_t run[2] = {uint8_t(value), uint8_t(value)};
            if (x + count > width || y >= height) return false;
            for (uint32_t k = 0; k < std::min(count, 2u); ++k)
                if (index(run, k) >= colors) return false;
            x += count;
        } else if (value == 0) {
            x = 0;
            if (++y > height) return false;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (i + 2 > n) return false;
            x += p[i];
            y += p[i + 1];
            i += 2;
            if (x > width || y > height) return false;
        } else {
            const size_t bytes = four ? (value + 1) / 2 : value;
            if (i + bytes > n || x + value > width || y >= height) return false;
            for (uint32_t k = 0; k < value; ++k)
                if (index(p + i, k) >= colors) return false;
            x += value;
            i += bytes + (bytes & 1);  // each absolute run is padded to a 16-bit boundary
        }
    }
    return y >= height;  // some writers stop after the last row without the mark
}

// A device-independent bitmap from its info header on: n bytes are there.
// A file gives where its pixels start; an icon's follow the colour table and
// are followed by the transparency mask, in a header of twice the height.
Check CheckDib(const uint8_t* d, size_t n, std::optional<size_t> pixelsAt, bool icon) {
    if (n < 12) return Broken();
    const uint32_t headerSize = Le32(d);
    const bool core = headerSize == 12;  // OS/2 1.x: 16-bit sizes, 3-byte colours
    int64_t width, height;
    uint32_t bits, planes, compression = 0, colorsUsed = 0;
    if (core) {
        width = Le16(d + 4);
        height = Le16(d + 6);
        planes = Le16(d + 8);
        bits = Le16(d + 10);
    } else {
        constexpr uint32_t known[] = {16, 40, 52, 56, 64, 108, 124};
        if (std::find(std::begin(known), std::end(known), headerSize) == std::end(known) ||
            n < headerSize)
            return Broken();
        width = int32_t(Le32(d + 4));
        height = int32_t(Le32(d + 8));
        planes = Le16(d + 12);
        bits = Le16(d + 14);
        if (headerSize >= 20) compression = Le32(d + 16);
        if (headerSize >= 36) colorsUsed = Le32(d + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (icon) {
        if (topDown || height % 2) return Broken();
        height /= 2;
    }
    if (width <= 0 || height <= 0 || planes != 1) return Broken();
    if (!SizeAllowed(width, height)) return Check{Check::TooLarge, width, height};

    constexpr uint32_t depths[] = {1, 2, 4, 8, 16, 24, 32};
    if (std::find(std::begin(depths), std::end(depths), bits) == std::end(depths)) return Broken();
    const bool rle = compression == 1 || compression == 2;
    // OS/2 2.x's long header gives 3 another meaning (Huffman): not taken.
    const bool masks = (compression == 3 || compression == 6) && headerSize != 64;
    if (compression > 6 || (compression >= 3 && !masks) || (compression == 1 && bits != 8) ||
        (compression == 2 && bits != 4) || (masks && bits != 16 && bits != 32) ||
        (rle && (topDown || icon)))
        return Broken();

    const uint32_t maskBytes = masks && headerSize == 40 ? (compression == 6 ? 16 : 12) : 0;
    const uint64_t entries = colorsUsed ? colorsUsed : bits <= 8 ? 1u << bits : 0;
    if (entries > 256 && bits <= 8) return Broken();
    const uint64_t tableAt = uint64_t(headerSize) + maskBytes;
    const uint64_t tableEnd = tableAt + entries * (core ? 3 : 4);
    const uint64_t at = pixelsAt.value_or(tableEnd);
    if (tableEnd > n || at < tableEnd || at > n) return Broken();
    const uint32_t colors = bits <= 8 ? uint32_t(std::min<uint64_t>(entries, 1u << bits)) : 0;
    const uint8_t* pixels = d + at;
    const uint64_t available = n - at;

    if (rle) {
        if (!RleSound(pixels, available, width, height, bits == 4, colors)) return Broken();
        return Sized(width, height);
    }
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t rowBytes = (uint64_t(width) * bits + 7) / 8;
    // The last row's padding may be missing: some writers leave it out.
    uint64_t need = stride * (height - 1) + rowBytes;
    if (icon) need = stride * height + (uint64_t(width) + 31) / 32 * 4 * height;
    if (need > available) return Broken();
    if (bits <= 8 && colors < (1u << bits)) {
        for (int64_t y = 0; y < height; ++y) {
            const uint8_t* row = pixels + y * stride;
            for (int64_t x = 0; x < width; ++x) {
                const uint32_t bit = uint32_t(x * bits);
                const uint32_t value = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (value >= colors) return Broken();
            }
        }
    }
    return Sized(width, height);
}

Check CheckBmp(const uint8_t* d, size_t n) {
    if (n < 14 + 12) return Broken();
    const uint32_t pixelsAt = Le32(d + 10);
    if (pixelsAt < 14) return Broken();
    return CheckDib(d + 14, n - 14, pixelsAt - 14, false);
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

Check CheckPng(const uint8_t* d, size_t n) {
    if (n < 8 + 25 || std::memcmp(d, kPngSignature, 8) || Be32(d + 8) != 13 ||
        std::memcmp(d + 12, "IHDR", 4))
        return Broken();
    const uint8_t* header = d + 16;
    const int64_t width = Be32(header), height = Be32(header + 4);
    const uint32_t depth = header[8], type = header[9];
    const bool depthFits = type == 0
                               ? depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16
                           : type == 3 ? depth == 1 || depth == 2 || depth == 4 || depth == 8
                           : type == 2 || type == 4 || type == 6 ? depth == 8 || depth == 16
                                                                 : false;
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX || !depthFits ||
        header[10] || header[11] || header[12] > 1)
        return Broken();
    if (!SizeAllowed(width, height)) return Check{Check::TooLarge, width, height};

    uint64_t compressed = 0;
    for (size_t at = 8; at + 12 <= n;) {
        const uint64_t length = Be32(d + at);
        if (length > n - at - 12) return Broken();
        const uint8_t* type4 = d + at + 4;
        if (!std::memcmp(type4, "IDAT", 4)) compressed += length;
        if (!std::memcmp(type4, "IEND", 4)) {
            // Deflate packs at most about 1032 bytes into one: fewer bytes
            // cannot hold the rows declared.
            const uint32_t channels[] = {1, 0, 3, 1, 2, 0, 4};
            const uint64_t raw =
                uint64_t(height) * (1 + (uint64_t(width) * channels[type] * depth + 7) / 8);
            if (compressed == 0 || raw / 1032 > compressed + 64) return Broken();
            return Sized(width, height);
        }
        at += 12 + length;
    }
    return Broken();
}

Check CheckJpeg(const uint8_t* d, size_t n) {
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8) return Broken();
    int64_t width = 0, height = 0;
    for (size_t at = 2; at + 4 <= n;) {
        if (d[at] != 0xFF) return Broken();
        const uint8_t marker = d[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        const size_t length = Be16(d + at + 2);
        if (length < 2 || at + 2 + length > n) return Broken();
        const uint8_t* body = d + at + 4;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8) return Broken();
            height = Be16(body + 1);
            width = Be16(body + 3);
            // A height of 0 is given later by a DNL marker, which decoders rarely take.
            if (width == 0 || height == 0) return Broken();
            if (!SizeAllowed(width, height)) return Check{Check::TooLarge, width, height};
        }
        if (marker == 0xDA) {
            if (!width) return Broken();
            const size_t scan = at + 2 + length;
            // The entropy-coded data cannot hold FF D9: the last one ends the picture.
            size_t end = n;
            while (end >= scan + 2 && !(d[end - 2] == 0xFF && d[end - 1] == 0xD9)) --end;
            if (end < scan + 2) return Broken();
            // At least a bit per 8 x 8 block: fewer bytes are a forged size.
            if (uint64_t(width) * height / 1024 > end - scan + 64) return Broken();
            return Sized(width, height);
        }
        at += 2 + length;
    }
    return Broken();
}

// Skips a chain of data sub-blocks; the bytes they hold, or nothing when the
// chain runs off the end.
std::optional<uint64_t> SkipSubBlocks(const uint8_t* d, size_t n, size_t& at) {
    uint64_t bytes = 0;
    while (at < n) {
        const uint8_t length = d[at++];
        if (!length) return bytes;
        at += length;
        bytes += length;
    }
    return std::nullopt;
}

Check CheckGif(const uint8_t* d, size_t n) {
    if (n < 13) return Broken();
    int64_t width = Le16(d + 6), height = Le16(d + 8);
    size_t at = 13 + (d[10] & 0x80 ? 3u << ((d[10] & 7) + 1) : 0);
    bool image = false;
    while (at < n) {
        const uint8_t block = d[at];
        if (block == 0x3B) break;
        if (block == 0x21) {
            at += 2;
            if (!SkipSubBlocks(d, n, at)) return Broken();
        } else if (block == 0x2C) {
            if (at + 11 > n) return Broken();
            const int64_t w = Le16(d + at + 5), h = Le16(d + at + 7);
            const uint8_t flags = d[at + 9];
            at += 10 + (flags & 0x80 ? 3u << ((flags & 7) + 1) : 0);
            if (w == 0 || h == 0 || at >= n || d[at] < 2 || d[at] > 11) return Broken();
            ++at;
            const auto bytes = SkipSubBlocks(d, n, at);
            // A 12-bit code stands for at most 4096 pixels.
            if (!bytes || uint64_t(w) * h / 2731 > *bytes + 16) return Broken();
            width = std::max(width, w);
            height = std::max(height, h);
            image = true;
        } else {
            return Broken();
        }
    }
    // A missing trailer after whole images is common and harmless.
    if (!image) return Broken();
    return Sized(width, height);
}

Check CheckIco(const uint8_t* d, size_t n) {
    if (n < 6 || Le16(d) != 0 || Le16(d + 2) != 1 || Le16(d + 4) == 0) return Broken();
    const size_t count = Le16(d + 4), directoryEnd = 6 + 16 * count;
    if (directoryEnd > n) return Broken();
    Check largest{Check::Sound, 0, 0};
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = d + 6 + 16 * i;
        const uint64_t bytes = Le32(entry + 8), at = Le32(entry + 12);
        if (at < directoryEnd || bytes > n || at > n - bytes) return Broken();
        const Check image = bytes >= 8 && !std::memcmp(d + at, kPngSignature, 8)
                                ? CheckPng(d + at, bytes)
                                : CheckDib(d + at, bytes, std::nullopt, true);
        if (image.verdict != Check::Sound) return image;
        largest.width = std::max(largest.width, image.width);
        largest.height = std::max(largest.height, image.height);
    }
    return Sized(largest.width, largest.height);
}

std::wstring Extension(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return L"";
    std::wstring extension = path.substr(dot + 1);
    for (auto& c : extension)
        if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
    return extension;
}

}  // namespace

bool BlocksFit(std::vector<uint64_t> needed, std::vector<uint64_t> freeBlocks, uint64_t margin) {
    constexpr uint64_t kGranularity = 64 << 10;  // what the system hands out at the least
    // The largest first, each into the smallest free block that holds it.
    std::sort(needed.rbegin(), needed.rend());
    for (uint64_t block : needed) {
        block = (block + kGranularity - 1) / kGranularity * kGranularity;
        uint64_t* best = nullptr;
        for (uint64_t& free : freeBlocks)
            if (free >= block && (!best || free < *best)) best = &free;
        if (!best) return false;
        *best -= block;
    }
    uint64_t left = 0;
    for (uint64_t free : freeBlocks) left += free;
    return left >= margin;
}

std::vector<uint64_t> DecodeBlocks(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return {};
    const uint64_t pixels = uint64_t(width) * uint64_t(height) * 4;
    return {pixels, pixels, pixels};
}

bool FitsInMemory(int64_t width, int64_t height, const std::vector<uint64_t>& freeBlocks) {
    return width > 0 && height > 0 && BlocksFit(DecodeBlocks(width, height), freeBlocks);
}

bool SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

PictureFormat FormatOfName(const std::wstring& path) {
    const std::wstring e = Extension(path);
    if (e == L"bmp" || e == L"dib") return PictureFormat::Bmp;
    if (e == L"jpg" || e == L"jpeg" || e == L"jpe" || e == L"jfif") return PictureFormat::Jpeg;
    if (e == L"png") return PictureFormat::Png;
    if (e == L"gif") return PictureFormat::Gif;
    if (e == L"ico") return PictureFormat::Ico;
    return PictureFormat::Unknown;
}

PictureFormat FormatOfContent(const uint8_t* d, size_t n) {
    if (n >= 2 && d[0] == 'B' && d[1] == 'M') return PictureFormat::Bmp;
    if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return PictureFormat::Jpeg;
    if (n >= 8 && !std::memcmp(d, kPngSignature, 8)) return PictureFormat::Png;
    if (n >= 6 && (!std::memcmp(d, "GIF87a", 6) || !std::memcmp(d, "GIF89a", 6)))
        return PictureFormat::Gif;
    if (n >= 4 && Le16(d) == 0 && Le16(d + 2) == 1) return PictureFormat::Ico;
    return PictureFormat::Unknown;
}

std::vector<uint8_t> WithKnownBmpHeader(const uint8_t* d, size_t n) {
    constexpr uint32_t widened = 108;
    if (n < 18 || d[0] != 'B' || d[1] != 'M') return {};
    const uint32_t size = Le32(d + 14);
    if (size != 16 && size != 52 && size != 56 && size != 64) return {};
    if (n < 14 + size) return {};
    // OS/2's fields past the 40 bytes of Windows' header mean other things.
    const uint32_t kept = size == 64 ? 40 : size;
    std::vector<uint8_t> out(d, d + 14 + kept);
    out.resize(14 + widened);
    out.insert(out.end(), d + 14 + size, d + n);
    const auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
    };
    put(2, uint32_t(out.size()));
    put(10, Le32(d + 10) + widened - size);
    put(14, widened);
    return out;
}

HeaderCheck CheckPicture(PictureFormat format, const uint8_t* data, size_t size) {
    switch (format) {
        case PictureFormat::Bmp:
            return CheckBmp(data, size);
        case PictureFormat::Jpeg:
            return CheckJpeg(data, size);
        case PictureFormat::Png:
            return CheckPng(data, size);
        case PictureFormat::Gif:
            return CheckGif(data, size);
        case PictureFormat::Ico:
            return CheckIco(data, size);
        case PictureFormat::Unknown:
            break;
    }
    return Broken();
}

}  // namespace output
