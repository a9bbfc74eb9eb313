// A long session in one process: 1000 captures, each shown in the viewer and
// saved, then 200 opens of the saved files. The process's private memory and
// handle count must stay flat, and every bitmap and palette made must be gone
// afterwards. GetGuiResources counts nothing under Wine, so each object is
// asked after by its handle. Exits 1 when a figure is over its limit.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "output/picture_file.h"
#include "tests/support/wait.h"

namespace {

// The private memory committed: Windows reports it twice, as PrivateUsage and
// as PagefileUsage; Wine fills in only the second.
double PrivateMb() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return std::max(counters.PrivateUsage, counters.PagefileUsage) / (1024.0 * 1024.0);
}

// Wine's GetProcessHandleCount says 0: count the handle values that name
// something instead (they are multiples of 4).
DWORD Handles() {
    DWORD count = 0, flags = 0;
    for (UINT_PTR value = 4; value < (1u << 20); value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    return count;
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    const std::string display = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp + std::wstring(L"fotolark_soak\\");
    CreateDirectoryW(folder.c_str(), nullptr);
    const wchar_t* kinds[] = {L".bmp", L".png", L".jpg"};
    const auto file = [&](int i) {
        return folder + L"shot" + std::to_wstring(i % 30) + kinds[i % 3];
    };

    std::vector<HGDIOBJ> made;
    double memoryBefore = 0, memoryAfter = 0;
    DWORD handlesBefore = 0, handlesAfter = 0;
    int gdiLeft = 0;
    bool failed = false;
    {
        app::FrmMain form;
        if (!form.Load()) return 1;
        form.Show();
        testing_support::Pump(300);
        const auto keep = [&] {
            const toolkit::Picture& shown = form.PicBmp.GetPicture();
            made.push_back(shown.Bitmap());
            if (shown.Palette()) made.push_back(shown.Palette());
        };
        const auto capture = [&](int i) {
            form.mnuTitleBar_Click();
            keep();
            failed |= !output::SavePicture(form.PicBmp.GetPicture(), file(i));
            if (i % 50 == 0) testing_support::Pump(1);  // the window repaints as a user's would
        };
        const auto open = [&](int i) {
            output::LoadedPicture loaded = output::LoadPicture(file(i));
            failed |= loaded.failure != output::LoadFailure::None;
            form.PicBmp.SetPicture(std::move(loaded.picture));
            form.Form_Resize();
            keep();
        };
        // The first uses load the codecs and fill the system's caches; the
        // figures count from there.
        for (int i = 0; i < 30; ++i) capture(i);
        for (int i = 0; i < 10; ++i) open(i);
        memoryBefore = PrivateMb();
        handlesBefore = Handles();
        for (int i = 30; i < 1000; ++i) capture(i);
        for (int i = 0; i < 200; ++i) open(i);
        testing_support::Pump(100);
        memoryAfter = PrivateMb();
        handlesAfter = Handles();
        form.mnuClear_Click();
    }
    for (HGDIOBJ object : made) gdiLeft += GetObjectType(object) != 0;
    for (int i = 0; i < 30; ++i) DeleteFileW(file(i).c_str());
    RemoveDirectoryW(folder.c_str());

    const double growth = memoryAfter - memoryBefore;
    const long handles = long(handlesAfter) - long(handlesBefore);
    const std::string suffix = display == "1080p" ? "" : "_" + display;
    std::printf("bench: soak_private_mb_growth%s %.1f MB (of %.1f)\n", suffix.c_str(), growth,
                memoryAfter);
    std::printf("bench: soak_handles_growth%s %ld handles (of %lu)\n", suffix.c_str(), handles,
                handlesAfter);
    std::printf("bench: soak_gdi_left%s %d objects (of %zu made)\n", suffix.c_str(), gdiLeft,
                made.size());
    OleUninitialize();
    // Room for the allocator's and the system's own caches, not for a leak
    // of a picture per capture (8 MB each at 1080p).
    if (failed || growth > 24 || handles > 20 || gdiLeft > 0) {
        std::fprintf(stderr, "soak: a save or open failed, or something leaked\n");
        return 1;
    }
    return 0;
}
