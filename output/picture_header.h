// What a picture file is before any decoder sees it: its format by name and
// by content, and whether its headers declare a picture that is sound and
// small enough to decode. Portable, so it is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace output {

enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Gif, Ico };

// Larger pictures are refused before anything is allocated for them.
constexpr int64_t kMaxPictureSide = 30000;
constexpr int64_t kMaxPicturePixels = 256'000'000;
bool SizeAllowed(int64_t width, int64_t height);

// The memory rule: whether blocks of these sizes can all be had at once,
// each in one piece, from the free blocks of address space listed (several
// may share a free block), leaving margin besides for the rest of the program.
// Other pictures built in memory (a merge of marks) ask through it too.
bool BlocksFit(std::vector<uint64_t> needed, std::vector<uint64_t> freeBlocks,
               uint64_t margin = uint64_t(64) << 20);

// What a decode asks for at once, each block in one piece: the 32-bit
// pixels shown, the decoder's own picture and the converter's copy of it
// (Wine's decoders keep the whole picture; 4 bytes a pixel at 8 bits a channel).
std::vector<uint64_t> DecodeBlocks(int64_t width, int64_t height);

// Whether a picture can be decoded in the free blocks of address space
// listed. A 32-bit process has far less than the size limits allow.
bool FitsInMemory(int64_t width, int64_t height, const std::vector<uint64_t>& freeBlocks);

// By the name's extension, any letter case; Unknown for any other name.
PictureFormat FormatOfName(const std::wstring& path);
// By the first bytes; Unknown when they are no format of these.
PictureFormat FormatOfContent(const uint8_t* data, size_t size);

struct HeaderCheck {
    enum Verdict { Sound, NotAPicture, TooLarge } verdict = NotAPicture;
    // The largest picture the file declares (for an icon, its largest image).
    int64_t width = 0, height = 0;
};

// Walks the whole file's structure as far as needed to know that a decoder
// will not run off its end or be asked for more than the data can hold.
HeaderCheck CheckPicture(PictureFormat format, const uint8_t* data, size_t size);

// A BMP whose info header the system's decoder may not know (OS/2 2.x's 16
// and 64 bytes, the 52- and 56-byte versions) rewritten with the 108-byte
// one, pixels and colours as they were; empty for any other file. (Wine 8's
// decoder was seen to refuse the 56-byte one.)
std::vector<uint8_t> WithKnownBmpHeader(const uint8_t* data, size_t size);

}  // namespace output
