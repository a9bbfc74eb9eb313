// Picture files of known content written byte by byte, in the variants real
// programs write, for tests of the readers. Portable: the native tests use them too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<uint8_t>;

// The test picture: 9 x 5 pixels (odd, so rows need padding), each of one of
// four kinds; kind 1 is the one made transparent where a variant can.
constexpr int kTestWidth = 9, kTestHeight = 5;
inline int KindAt(int x, int y) { return (x + 2 * y) % 4; }
// 0xRRGGBB of each kind: exact at 5 bits a channel too.
constexpr uint32_t kKindColors[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};

struct BmpLayout {
    uint32_t headerSize = 40;  // 12 is OS/2's core header
    int bits = 24;
    uint32_t compression = 0;  // 1 RLE8, 2 RLE4, 3 bit-field masks
    bool topDown = false;
    uint32_t colorsUsed = 0;  // table entries, 0 for all
};
Bytes MakeBmp(const BmpLayout& layout);
// Pixel (x, y) of MakeBmp's picture as 0xRRGGBB.
uint32_t BmpColorAt(const BmpLayout& layout, int x, int y);

struct PngLayout {
    int colorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int depth = 8;
    bool interlaced = false;
    bool transparent = false;  // a tRNS chunk for types 0, 2 and 3
};
Bytes MakePng(const PngLayout& layout);
// Pixel (x, y) of MakePng's picture over white.
uint32_t PngColorAt(const PngLayout& layout, int x, int y);

// A GIF of the four colours, kind 1 transparent when asked.
Bytes MakeGif(bool transparent);
// An icon with one image: 4 bits with kind 1 masked out, or 32 bits with
// kind 1 of alpha 0. Kind 1 shows white.
Bytes MakeIco(int bits);

// A black RGB PNG of any size, its pixels deflated to about 1/150.
Bytes MakeBlackPng(uint32_t width, uint32_t height);

// A JPEG's markers around a scan of filler: sound to a header check only.
Bytes MakeJpegShell(uint32_t width, uint32_t height, size_t scanBytes = 64);

struct NamedFile {
    std::string name;
    Bytes bytes;
};
// Files whose headers lie (sizes zero, negative, huge or more than the data
// holds, runs and colour indexes out of range) or that are no picture at all.
std::vector<NamedFile> ForgedFiles();

// Colour over white, kind 1 white: what GIF and icon pictures show.
uint32_t MaskedColorAt(int x, int y);

// Whether a DIB (info header, masks, colours, pixels: a BMP file past its
// first 14 bytes, or the clipboard's) is opaque to a reader that takes a
// 32-bit pixel's fourth byte for alpha: every such byte 255, or no such byte.
bool DibIsOpaque(const uint8_t* dib, size_t size);

}  // namespace testing_support
