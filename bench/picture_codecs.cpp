// Capturing the screen and saving it in each format, opening a PNG, the BMP
// save against a bare write of as many bytes, and the slowest refusal of a
// damaged file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bare_screen.h"
#include "bench/measure.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/test_window.h"
#include "toolkit/handles.h"

namespace {

// In pieces of 1 MB, as the save writes: under Wine one WriteFile of the
// whole is several times slower, which would flatter the save.
void WriteRaw(const std::wstring& path, const std::vector<char>& bytes) {
    toolkit::UniqueFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    for (size_t at = 0; at < bytes.size(); at += 1 << 20) {
        DWORD written = 0;
        WriteFile(out.get(), bytes.data() + at, DWORD(std::min<size_t>(1 << 20, bytes.size() - at)),
                  &written, nullptr);
    }
}

// The longest open of a forged file or of a sound one with bytes changed at
// random: a damaged file must not keep the user waiting.
double WorstDamagedOpenMs(const std::wstring& path) {
    using namespace testing_support;
    std::vector<Bytes> files;
    for (auto& forged : ForgedFiles()) files.push_back(std::move(forged.bytes));
    std::mt19937 random(11);
    for (const Bytes& sound : {MakeBmp(BmpLayout{40, 4, 2}), MakePng(PngLayout{3, 2, true, true}),
                               MakeGif(true), MakeIco(32)})
        for (int round = 0; round < 60; ++round) {
            Bytes bytes = sound;
            for (int k = 0; k < 3; ++k) bytes[random() % bytes.size()] = uint8_t(random());
            files.push_back(std::move(bytes));
        }
    double worst = 0;
    for (const Bytes& bytes : files) {
        std::ofstream(path.c_str(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        worst = std::max(worst, bench::TimeMs([&] { output::LoadPicture(path); }));
    }
    DeleteFileW(path.c_str());
    return worst;
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const std::string display = bench::DisplayName(width);
    // Varied content over the whole screen, as a real desktop has: a flat
    // colour would make the encoders' work unfairly light.
    testing_support::PatternWindow pattern(0, 0, width, height, L"pattern", WS_POPUP);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        temp + std::wstring(L"fotolark_bench_") + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const auto path = [&](const char* name) {
        return folder + std::wstring(name, name + strlen(name));
    };

    bool saved = true;
    const auto captureSave = [&](const char* extension) {
        const std::wstring file =
            path("shot.") + std::wstring(extension, extension + strlen(extension));
        saved = saved && output::SavePicture(capture::GrabFullScreen(), file);  // warm
        // Each time under a new name, as a user saving a new capture does: ext4
        // makes a rename over an existing file wait for the new file's blocks
        // (about 6 ms for 8 MB here), which NTFS does not.
        std::vector<double> times;
        for (int i = 0; i < 10; ++i) {
            DeleteFileW(file.c_str());
            times.push_back(bench::TimeMs(
                [&] { saved = saved && output::SavePicture(capture::GrabFullScreen(), file); }));
        }
        const double ms = bench::Median(times);
        std::printf("bench: capture_save_%s_ms_%s %.2f ms\n", extension, display.c_str(), ms);
    };
    captureSave("bmp");
    captureSave("png");
    captureSave("jpg");

    bool opened = true;
    const double open = bench::MedianMs(10, [&](int) {
        opened = opened && !output::LoadPicture(path("shot.png")).picture.Empty();
    });
    std::printf("bench: open_png_ms_%s %.2f ms\n", display.c_str(), open);

    const toolkit::Picture picture = capture::GrabFullScreen();
    WIN32_FILE_ATTRIBUTE_DATA bmp{};
    GetFileAttributesExW(path("shot.bmp").c_str(), GetFileExInfoStandard, &bmp);
    const std::vector<char> raw(bmp.nFileSizeLow, 'x');
    // Pairs enough for two runs to agree: the file system's own time for a
    // new file varies by a tenth from one to the next.
    const auto save = bench::Compare(
        41, [&](int) { saved = saved && output::SavePicture(picture, path("new.bmp")); },
        [&](int) { WriteRaw(path("raw.bin"), raw); },
        [&] {
            DeleteFileW(path("new.bmp").c_str());
            DeleteFileW(path("raw.bin").c_str());
        });
    std::printf("bench: save_bmp_ms_%s %.2f ms\n", display.c_str(), save.ms);
    std::printf("bench: save_bmp_ratio_%s %.3f ratio\n", display.c_str(), save.ratio);

    // The whole of it against its floor: the screen read and a raw write of as many bytes.
    const auto captureSaveBmp = bench::Compare(
        41,
        [&](int) {
            saved = saved && output::SavePicture(capture::GrabFullScreen(), path("new.bmp"));
        },
        [&](int) {
            bench::BareScreenBitBlt();
            WriteRaw(path("raw.bin"), raw);
        },
        [&] {
            DeleteFileW(path("new.bmp").c_str());
            DeleteFileW(path("raw.bin").c_str());
        });
    std::printf("bench: capture_save_bmp_ratio_%s %.3f ratio\n", display.c_str(),
                captureSaveBmp.ratio);
    std::printf("bench: open_damaged_worst_ms %.2f ms\n", WorstDamagedOpenMs(path("damaged.bmp")));

    for (const char* name : {"shot.bmp", "shot.png", "shot.jpg", "new.bmp", "raw.bin"})
        DeleteFileW(path(name).c_str());
    RemoveDirectoryW(folder.c_str());
    OleUninitialize();
    if (!saved || !opened) std::fprintf(stderr, "a save or an open failed\n");
    return saved && opened ? 0 : 1;
}
