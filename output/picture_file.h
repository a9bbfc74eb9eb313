// Picture files on disk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/picture.h"

namespace output {

// Writes the picture in the format its name's extension gives: ".jpg" or
// ".jpeg" a JPEG, ".png" a PNG, any other name a Windows bitmap at the
// picture's own depth. The file is replaced only once the new one is whole:
// false, with the old file as it was and nothing else left, on any failure
// (an empty picture included).
bool SavePicture(const toolkit::Picture& picture, const std::wstring& path);

// TooLarge: beyond the size limits; NoMemory: within them, but more than the
// process's address space can hold now.
enum class LoadFailure { None, CannotRead, NotAPicture, TooLarge, NoMemory };

struct LoadedPicture {
    toolkit::Picture picture;
    LoadFailure failure = LoadFailure::None;
    int64_t width = 0, height = 0;  // as the file declares them, when known
};

// Reads a BMP, JPEG, PNG, GIF or icon file (the first image of a GIF, the
// largest of an icon) into a picture the screen can show, transparent pixels
// over white. The content decides the format, whatever the extension says.
LoadedPicture LoadPicture(const std::wstring& path);

// What a load is sized against: the process's free address space, its
// largest block and in all.
struct FreeAddressSpace {
    uint64_t largestBlock = 0, total = 0;
};
using AddressSpaceProbe = std::function<FreeAddressSpace()>;
// The process's free address space, or what the probe says.
FreeAddressSpace AddressSpaceFree();
// For tests (a 32-bit process's space on a 64-bit build): replaces the
// process's own; an empty probe restores it. Returns the previous one.
AddressSpaceProbe SetAddressSpaceProbe(AddressSpaceProbe probe);

}  // namespace output
