#include "tests/support/picture_bytes.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace testing_support {

namespace {

void Le16(Bytes& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Le32(Bytes& out, uint32_t v) {
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}
void Be32(Bytes& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}
uint8_t Channel(uint32_t rgb, int shift) { return uint8_t(rgb >> shift); }

uint32_t OverWhite(uint32_t rgb, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift : {16, 8, 0})
        out |= ((Channel(rgb, shift) * alpha + 255 * (255 - alpha) + 127) / 255) << shift;
    return out;
}

// Packs samples of a row MSB first, as BMP and PNG both do below 8 bits.
class RowPacker {
public:
    RowPacker(Bytes& out, int depth) : out_(out), depth_(depth) {}
    ~RowPacker() { Flush(); }
    void Put(uint32_t sample) {
        if (depth_ == 16) {
            out_.insert(out_.end(), {uint8_t(sample >> 8), uint8_t(sample)});
            return;
        }
        bits_ = bits_ << depth_ | sample;
        if ((used_ += depth_) == 8) Flush();
    }
    void Flush() {
        if (used_) out_.push_back(uint8_t(bits_ << (8 - used_)));
        bits_ = used_ = 0;
    }

private:
    Bytes& out_;
    int depth_;
    uint32_t bits_ = 0;
    int used_ = 0;
};

int Levels(int bits) { return std::min(4, 1 << bits); }

}  // namespace

uint32_t BmpColorAt(const BmpLayout& layout, int x, int y) {
    const int kind = KindAt(x, y);
    return kKindColors[layout.bits <= 8 ? kind % Levels(layout.bits) : kind];
}

Bytes MakeBmp(const BmpLayout& layout) {
    const bool core = layout.headerSize == 12;
    const int height = layout.topDown ? -kTestHeight : kTestHeight;
    Bytes info;
    Le32(info, layout.headerSize);
    if (core) {
        Le16(info, kTestWidth);
        Le16(info, height);
        Le16(info, 1);
        Le16(info, layout.bits);
    } else {
        Le32(info, kTestWidth);
        Le32(info, uint32_t(height));
        Le16(info, 1);
        Le16(info, layout.bits);
        if (layout.headerSize > 16)
            for (uint32_t v : {layout.compression, 0u, 2835u, 2835u, layout.colorsUsed, 0u})
                Le32(info, v);
    }
    const std::array<uint32_t, 3> masks = layout.bits == 16
                                              ? std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}
                                              : std::array<uint32_t, 3>{0xFF, 0xFF00, 0xFF0000};
    const bool masked = layout.compression == 3;
    if (masked && layout.headerSize >= 52)
        for (uint32_t m : masks) Le32(info, m);
    info.resize(layout.headerSize);
    if (masked && layout.headerSize == 40)
        for (uint32_t m : masks) Le32(info, m);
    if (layout.bits <= 8) {
        const uint32_t entries = layout.colorsUsed ? layout.colorsUsed : 1u << layout.bits;
        for (uint32_t i = 0; i < entries; ++i) {
            const uint32_t c = i < 4 ? kKindColors[i] : 0x808080;
            info.insert(info.end(), {Channel(c, 0), Channel(c, 8), Channel(c, 16)});
            if (!core) info.push_back(0);
        }
    }

    Bytes pixels;
    for (int row = 0; row < kTestHeight; ++row) {
        const int y = layout.topDown ? row : kTestHeight - 1 - row;
        const auto index = [&](int x) { return uint32_t(KindAt(x, y) % Levels(layout.bits)); };
        if (layout.compression == 1 || layout.compression == 2) {
            // One encoded pixel, the other eight absolute, then end of line or of bitmap.
            const bool four = layout.compression == 2;
            pixels.insert(pixels.end(), {1, uint8_t(index(0) << (four ? 4 : 0)), 0, 8});
            RowPacker packer(pixels, four ? 4 : 8);
            for (int x = 1; x < kTestWidth; ++x) packer.Put(index(x));
            packer.Flush();
            pixels.insert(pixels.end(), {0, uint8_t(row == kTestHeight - 1 ? 1 : 0)});
            continue;
        }
        const size_t start = pixels.size();
        {
            RowPacker packer(pixels, layout.bits <= 8 ? layout.bits : 8);
            for (int x = 0; x < kTestWidth; ++x) {
                const uint32_t c = kKindColors[KindAt(x, y)];
                const uint32_t r = Channel(c, 16), g = Channel(c, 8), b = Channel(c, 0);
                if (layout.bits <= 8) {
                    packer.Put(index(x));
                } else if (layout.bits == 16) {
                    const uint32_t v = masked ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3
                                              : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
                    Le16(pixels, v);
                } else if (masked) {
                    Le32(pixels, r | g << 8 | b << 16);
                } else {
                    pixels.insert(pixels.end(), {uint8_t(b), uint8_t(g), uint8_t(r)});
                    if (layout.bits == 32) pixels.push_back(0);
                }
            }
        }
        while ((pixels.size() - start) % 4) pixels.push_back(0);
    }

    Bytes file{'B', 'M'};
    Le32(file, uint32_t(14 + info.size() + pixels.size()));
    Le32(file, 0);
    Le32(file, uint32_t(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

namespace {

uint32_t Crc32(const uint8_t* p, size_t n) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFF;
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
    Be32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Be32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes Zlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        out.push_back(at + n == raw.size() ? 1 : 0);
        Le16(out, uint32_t(n));
        Le16(out, uint32_t(~n & 0xFFFF));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    Be32(out, b << 16 | a);
    return out;
}

// A zlib stream of n zero bytes: a literal, then repeats of the 258 bytes
// before, in fixed codes (13 bits for 258 bytes).
Bytes ZlibOfZeros(uint64_t n) {
    Bytes out{0x78, 0x01};
    uint32_t bits = 0;
    int count = 0;
    const auto put = [&](uint32_t value, int width) {  // Huffman codes go first bit first
        for (int i = width - 1; i >= 0; --i) {
            bits |= ((value >> i) & 1) << count;
            if (++count == 8) {
                out.push_back(uint8_t(bits));
                bits = 0;
                count = 0;
            }
        }
    };
    put(1, 1);  // the last block
    put(1, 1);  // fixed codes: type 1, low bit first
    put(0, 1);
    uint64_t left = n;
    for (; left && (left == n || left < 258); --left) put(0x30, 8);  // the literal 0
    for (; left >= 258; left -= 258) {
        put(0xC5, 8);  // length 258
        put(0, 5);     // distance 1
    }
    for (; left; --left) put(0x30, 8);
    put(0, 7);  // end of block
    if (count) out.push_back(uint8_t(bits));
    Be32(out, uint32_t(n % 65521) << 16 | 1);
    return out;
}

uint32_t PngMax(const PngLayout& layout) { return (1u << layout.depth) - 1; }
uint32_t GreyValue(const PngLayout& layout, int kind) {
    const int levels = Levels(layout.depth);
    return uint32_t(kind % levels) * PngMax(layout) / (levels - 1);
}
uint32_t AlphaOf(int kind) { return kind == 1 ? 0 : kind == 3 ? 128 : 255; }

std::vector<uint32_t> PngSamples(const PngLayout& layout, int x, int y) {
    const int kind = KindAt(x, y);
    const uint32_t scale = layout.depth == 16 ? 257 : 1, c = kKindColors[kind];
    std::vector<uint32_t> rgb{Channel(c, 16) * scale, Channel(c, 8) * scale, Channel(c, 0) * scale};
    switch (layout.colorType) {
        case 0:
            return {GreyValue(layout, kind)};
        case 3:
            return {uint32_t(kind % Levels(layout.depth))};
        case 4:
            return {uint32_t(kind * 85) * scale, AlphaOf(kind) * scale};
        case 6:
            rgb.push_back(AlphaOf(kind) * scale);
            return rgb;
        default:
            return rgb;
    }
}

}  // namespace

uint32_t PngColorAt(const PngLayout& layout, int x, int y) {
    const int kind = KindAt(x, y);
    switch (layout.colorType) {
        case 0: {
            const uint32_t v = GreyValue(layout, kind), grey = v * 255 / PngMax(layout);
            const bool clear = layout.transparent && v == GreyValue(layout, 1);
            return OverWhite(grey * 0x010101, clear ? 0 : 255);
        }
        case 3: {
            const int index = kind % Levels(layout.depth);
            return OverWhite(kKindColors[index], layout.transparent && index == 1 ? 0 : 255);
        }
        case 4:
            return OverWhite(uint32_t(kind * 85) * 0x010101, AlphaOf(kind));
        case 6:
            return OverWhite(kKindColors[kind], AlphaOf(kind));
        default:
            return OverWhite(kKindColors[kind], layout.transparent && kind == 1 ? 0 : 255);
    }
}

Bytes MakePng(const PngLayout& layout) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, header;
    Be32(header, kTestWidth);
    Be32(header, kTestHeight);
    header.insert(header.end(), {uint8_t(layout.depth), uint8_t(layout.colorType), 0, 0,
                                 uint8_t(layout.interlaced ? 1 : 0)});
    Chunk(png, "IHDR", header);
    if (layout.colorType == 3) {
        Bytes palette;
        for (int i = 0; i < Levels(layout.depth); ++i)
            for (int shift : {16, 8, 0}) palette.push_back(Channel(kKindColors[i], shift));
        Chunk(png, "PLTE", palette);
    }
    if (layout.transparent) {
        Bytes trns;
        if (layout.colorType == 3) trns = {255, 0};
        for (uint32_t v : PngSamples(layout, 1, 0))  // kind 1's samples
            if (layout.colorType != 3) trns.insert(trns.end(), {uint8_t(v >> 8), uint8_t(v)});
        Chunk(png, "tRNS", trns);
    }
    // Adam7's passes, or one pass of every pixel.
    struct Pass {
        int x0, y0, dx, dy;
    };
    const std::vector<Pass> passes =
        layout.interlaced
            ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
            : std::vector<Pass>{{0, 0, 1, 1}};
    Bytes raw;
    for (const Pass& p : passes) {
        if (p.x0 >= kTestWidth) continue;
        for (int y = p.y0; y < kTestHeight; y += p.dy) {
            raw.push_back(0);  // filter: none
            RowPacker packer(raw, layout.depth);
            for (int x = p.x0; x < kTestWidth; x += p.dx)
                for (uint32_t v : PngSamples(layout, x, y)) packer.Put(v);
        }
    }
    Chunk(png, "IDAT", Zlib(raw));
    Chunk(png, "IEND", {});
    return png;
}

Bytes MakeBlackPng(uint32_t width, uint32_t height) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, header;
    Be32(header, width);
    Be32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", ZlibOfZeros(uint64_t(height) * (1 + uint64_t(width) * 3)));
    Chunk(png, "IEND", {});
    return png;
}

uint32_t MaskedColorAt(int x, int y) {
    const int kind = KindAt(x, y);
    return kind == 1 ? 0xFFFFFF : kKindColors[kind];
}

Bytes MakeGif(bool transparent) {
    Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
    Le16(gif, kTestWidth);
    Le16(gif, kTestHeight);
    gif.insert(gif.end(), {0x81, 0, 0});  // a global table of 4 colours
    for (uint32_t c : kKindColors)
        gif.insert(gif.end(), {Channel(c, 16), Channel(c, 8), Channel(c, 0)});
    if (transparent) gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0, 1, 0});
    gif.push_back(0x2C);
    for (uint32_t v : {0, 0, kTestWidth, kTestHeight}) Le16(gif, uint32_t(v));
    gif.insert(gif.end(), {0, 2});  // no local table; 2-bit codes
    // 3-bit codes, a clear code before every two pixels, so the code size never grows.
    Bytes codes;
    uint32_t bits = 0, used = 0;
    const auto put = [&](uint32_t code) {
        bits |= code << used;
        for (used += 3; used >= 8; used -= 8, bits >>= 8) codes.push_back(uint8_t(bits));
    };
    for (int i = 0; i < kTestWidth * kTestHeight; ++i) {
        if (i % 2 == 0) put(4);
        put(uint32_t(KindAt(i % kTestWidth, i / kTestWidth)));
    }
    put(5);
    if (used) codes.push_back(uint8_t(bits));
    gif.push_back(uint8_t(codes.size()));  // fewer than 255 bytes: one sub-block
    gif.insert(gif.end(), codes.begin(), codes.end());
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

Bytes MakeIco(int bits) {
    Bytes image;
    for (uint32_t v : {40u, uint32_t(kTestWidth), uint32_t(kTestHeight * 2)}) Le32(image, v);
    Le16(image, 1);
    Le16(image, uint32_t(bits));
    for (int i = 0; i < 6; ++i) Le32(image, 0);
    if (bits == 4)
        for (int i = 0; i < 16; ++i) {
            const uint32_t c = i < 4 ? kKindColors[i] : 0;
            image.insert(image.end(), {Channel(c, 0), Channel(c, 8), Channel(c, 16), 0});
        }
    for (int y = kTestHeight - 1; y >= 0; --y) {
        const size_t start = image.size();
        {
            RowPacker packer(image, 4);
            for (int x = 0; x < kTestWidth; ++x) {
                const int kind = KindAt(x, y);
                const uint32_t c = kKindColors[kind];
                if (bits == 4)
                    packer.Put(uint32_t(kind));
                else
                    image.insert(image.end(), {Channel(c, 0), Channel(c, 8), Channel(c, 16),
                                               uint8_t(kind == 1 ? 0 : 255)});
            }
        }
        while ((image.size() - start) % 4) image.push_back(0);
    }
    for (int y = kTestHeight - 1; y >= 0; --y) {  // the mask: 1 where transparent
        const size_t start = image.size();
        {
            RowPacker packer(image, 1);
            for (int x = 0; x < kTestWidth; ++x) packer.Put(bits == 4 && KindAt(x, y) == 1);
        }
        while ((image.size() - start) % 4) image.push_back(0);
    }
    Bytes ico;
    for (uint32_t v : {0, 1, 1}) Le16(ico, v);
    ico.insert(ico.end(),
               {uint8_t(kTestWidth), uint8_t(kTestHeight), uint8_t(bits == 4 ? 16 : 0), 0});
    Le16(ico, 1);
    Le16(ico, uint32_t(bits));
    Le32(ico, uint32_t(image.size()));
    Le32(ico, 22);
    ico.insert(ico.end(), image.begin(), image.end());
    return ico;
}

Bytes MakeJpegShell(uint32_t width, uint32_t height, size_t scanBytes) {
    Bytes j{0xFF,
            0xD8,
            0xFF,
            0xE0,
            0,
            4,
            0,
            0,
            0xFF,
            0xC0,
            0,
            11,
            8,
            uint8_t(height >> 8),
            uint8_t(height),
            uint8_t(width >> 8),
            uint8_t(width),
            1,
            1,
            0x11,
            0,
            0xFF,
            0xDA,
            0,
            8,
            1,
            1,
            0,
            0,
            63,
            0};
    j.resize(j.size() + scanBytes, 0x55);
    j.insert(j.end(), {0xFF, 0xD9});
    return j;
}

namespace {

void SetLe32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void SetBe32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}

}  // namespace

std::vector<NamedFile> ForgedFiles() {
    std::vector<NamedFile> forged;
    const auto bmpWith = [&](const char* name, size_t at, uint32_t v, BmpLayout layout = {}) {
        Bytes b = MakeBmp(layout);
        SetLe32(b, at, v);
        forged.push_back({name, b});
    };
    bmpWith("zero-width.bmp", 18, 0);
    bmpWith("negative-width.bmp", 18, uint32_t(-9));
    bmpWith("zero-height.bmp", 22, 0);
    bmpWith("pixels-past-the-end.bmp", 10, 100000);
    bmpWith("huge-colour-table.bmp", 46, 0x40000000, BmpLayout{40, 8});
    bmpWith("unknown-header.bmp", 14, 41);
    bmpWith("index-past-the-table.bmp", 46, 2, BmpLayout{40, 8});  // two colours, four used
    Bytes huge = MakeBmp(BmpLayout{});
    SetLe32(huge, 18, 100000);
    SetLe32(huge, 22, 100000);
    forged.push_back({"huge.bmp", huge});
    Bytes rle = MakeBmp(BmpLayout{40, 8, 1});
    rle[rle.size() - 11] = 200;  // the last row's absolute run, 200 pixels long
    forged.push_back({"run-past-the-row.bmp", rle});
    rle = MakeBmp(BmpLayout{40, 8, 1});
    rle.back() = 0;  // end of line instead of end of bitmap, then a row too many
    rle.insert(rle.end(), {1, 0, 0, 0});
    forged.push_back({"rows-past-the-picture.bmp", rle});
    rle = MakeBmp(BmpLayout{40, 4, 2});
    rle[rle.size() - 9] = 0xF0;  // the last row's first pixel: index 15, with 4 colours given
    SetLe32(rle, 46, 4);
    forged.push_back({"rle-index-past-the-table.bmp", rle});
    Bytes png = MakePng(PngLayout{});
    SetBe32(png, 16, 40000);
    forged.push_back({"wide.png", png});
    SetBe32(png, 16, 16000);
    SetBe32(png, 20, 16000);
    forged.push_back({"more-rows-than-data.png", png});
    forged.push_back({"huge.jpg", MakeJpegShell(65535, 65535)});
    forged.push_back({"scan-without-data.jpg", MakeJpegShell(16000, 16000, 0)});
    Bytes gif = MakeGif(false);
    gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;
    forged.push_back({"huge.gif", gif});
    forged.push_back({"text.bmp", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}});
    return forged;
}

bool DibIsOpaque(const uint8_t* dib, size_t size) {
    const auto read = [&](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= uint32_t(dib[at + i]) << (8 * i);
        return v;
    };
    if (size < 40) return false;
    const uint32_t header = read(0, 4), bits = read(14, 2), compression = read(16, 4);
    if (bits != 32) return true;
    const int64_t width = int32_t(read(4, 4)), height = std::abs(int64_t(int32_t(read(8, 4))));
    const size_t start = header + (compression == 3 && header == 40 ? 12 : 0) + read(32, 4) * 4;
    if (width <= 0 || start > size || uint64_t(width) * height * 4 > size - start) return false;
    for (size_t at = start + 3; at < start + size_t(width * height * 4); at += 4)
        if (dib[at] != 255) return false;
    return true;
}

}  // namespace testing_support
