// The desktop wallpaper: a bitmap file of the picture and the user's setting
// that names it.
#pragma once

#include <functional>
#include <string>

#include "toolkit/picture.h"

namespace output {

// The file every set writes first. Where it cannot be written (a normal
// user may not write the Windows folder), "Fotolark\wallpaper.bmp" in the
// user's roaming application-data folder is written instead.
constexpr wchar_t kWallpaperFile[] = L"c:\\windows\\wallpaper.bmp";

enum class WallpaperFailure { None, NotWritten, NotAccepted };

struct WallpaperOutcome {
    WallpaperFailure failure = WallpaperFailure::None;
    std::wstring path;  // the file written, when one was
};

// Writes the picture and points the wallpaper at the file written. When no
// file could be written the setting is left as it was: never at a stale file.
WallpaperOutcome SetWallpaper(const toolkit::Picture& picture);

// Removes the wallpaper from the setting; the file stays.
void ClearWallpaper();

// Stands in for the system's wallpaper setting (tests reach a refusal no
// Wine prefix gives): returns whether the path was taken.
using DeskWallpaperHandler = std::function<bool(const std::wstring& path)>;
// Returns the handler it replaces; an empty one brings the system's setting back.
DeskWallpaperHandler SetDeskWallpaperHandler(DeskWallpaperHandler handler);

}  // namespace output
