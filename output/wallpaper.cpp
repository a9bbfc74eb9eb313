#include "output/wallpaper.h"

#include <shlobj.h>

#include <utility>

#include "output/picture_file.h"
#include "toolkit/handles.h"

namespace output {

namespace {

std::wstring UserWallpaperFile() {
    toolkit::UniqueTaskString folder;
    wchar_t* found = nullptr;
    const HRESULT hr =
        SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &found);
    folder.reset(found);  // freed even when the call failed
    if (FAILED(hr) || !folder) return {};
    const std::wstring ours = std::wstring(folder.get()) + L"\\Fotolark";
    CreateDirectoryW(ours.c_str(), nullptr);  // fails harmlessly when it exists
    return ours + L"\\wallpaper.bmp";
}

DeskWallpaperHandler& CurrentDeskWallpaperHandler() {
    static DeskWallpaperHandler handler;
    return handler;
}

// Stored in the user profile; no change is broadcast to other programs.
bool PointWallpaperAt(std::wstring path) {
    if (const auto& handler = CurrentDeskWallpaperHandler()) return handler(path);
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE) != FALSE;
}

}  // namespace

DeskWallpaperHandler SetDeskWallpaperHandler(DeskWallpaperHandler handler) {
    return std::exchange(CurrentDeskWallpaperHandler(), std::move(handler));
}

WallpaperOutcome SetWallpaper(const toolkit::Picture& picture) {
    WallpaperOutcome outcome;
    if (SavePicture(picture, kWallpaperFile)) {
        outcome.path = kWallpaperFile;
    } else {
        const std::wstring fallback = UserWallpaperFile();
        if (fallback.empty() || !SavePicture(picture, fallback)) {
            outcome.failure = WallpaperFailure::NotWritten;
            return outcome;
        }
        outcome.path = fallback;
    }
    if (!PointWallpaperAt(outcome.path)) outcome.failure = WallpaperFailure::NotAccepted;
    return outcome;
}

void ClearWallpaper() { PointWallpaperAt(L""); }

}  // namespace output
