// Picture files on disk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace output {

// Writes the picture in the format its name's extension gives: ".jpg" or
// ".jpeg" a JPEG, ".png" a PNG, any other name a Windows bitmap at the
// picture's own depth, 24 bits where it has more (every file is opaque). The
// file is replaced only once the new one is whole: false, with the old file
// as it was and nothing else left, on any failure (an empty picture
// included); *error then has the system's reason, 0 where it gave none.
bool SavePicture(const toolkit::Picture& picture, const std::wstring& path, DWORD* error = nullptr);

// What a user can do something about, from the system's error.
enum class SaveFailure { Other, NoPermission, DiskFull, FolderGone, NameNotAllowed, InUse };
SaveFailure SaveFailureOf(DWORD error);

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

// LoadPicture in two halves, so that a file can be decoded on another thread:
// the bitmap, then the picture made of it on the thread that shows it.
struct DecodedPicture {
    toolkit::UniqueBitmap bitmap;
    LoadFailure failure = LoadFailure::None;
    int64_t width = 0, height = 0;
};
DecodedPicture DecodePicture(const std::wstring& path);
LoadedPicture PictureOf(DecodedPicture decoded);

// What a load is sized against: the sizes of the process's free blocks of
// address space.
struct FreeAddressSpace {
    std::vector<uint64_t> blocks;
};
// The process's own, or the probe's where a test set one.
FreeAddressSpace FreeAddressSpaceNow();
using AddressSpaceProbe = std::function<FreeAddressSpace()>;
// For tests (a 32-bit process's space on a 64-bit build): replaces the
// process's own; an empty probe restores it. Returns the previous one.
AddressSpaceProbe SetAddressSpaceProbe(AddressSpaceProbe probe);

// Whether a new picture of that size fits the address space now, by the rule
// a load is sized by.
bool RoomForPicture(int64_t width, int64_t height);

}  // namespace output
