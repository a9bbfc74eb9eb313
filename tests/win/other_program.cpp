// Another program for the tests: a window painted with the test pattern, shown
// until the process is ended. Arguments: window | popup | topmost-popup, then
// x, y, client width, client height and the title; optionally then a global
// key it holds from before its window shows: modifiers and virtual key. Or
// scroll-page, x, y, client width and height, the page's height and a BMP
// file to write the whole page to, as a picture of it should show it.
#include <windows.h>

#include <cwchar>
#include <memory>

#include "tests/support/scroll_page.h"
#include "tests/support/test_window.h"

namespace {

// A top-down 24-bit BMP of the pixels (0x00RRGGBB).
void WriteBmp(const wchar_t* path, int width, const std::vector<uint32_t>& pixels) {
    const int height = int(pixels.size() / size_t(width)), stride = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + size_t(stride) * height);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < height; ++y) {
        std::string row(size_t(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixels[size_t(y) * width + x];
            row[size_t(x) * 3] = char(v & 0xFF);
            row[size_t(x) * 3 + 1] = char(v >> 8 & 0xFF);
            row[size_t(x) * 3 + 2] = char(v >> 16 & 0xFF);
        }
        bytes += row;
    }
    testing_support::WriteFileBytes(path, bytes);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 7) return 2;
    std::unique_ptr<testing_support::PatternWindow> pattern;
    std::unique_ptr<testing_support::ScrollPage> page;
    if (std::wcscmp(argv[1], L"scroll-page") == 0) {
        page = std::make_unique<testing_support::ScrollPage>(
            _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]));
        if (argc > 7) WriteBmp(argv[7], _wtoi(argv[4]), page->Whole());
    } else {
        const bool popup = std::wcsstr(argv[1], L"popup") != nullptr;
        if (argc >= 9 && !RegisterHotKey(nullptr, 1, _wtoi(argv[7]), _wtoi(argv[8]))) return 3;
        const DWORD exStyle = std::wcscmp(argv[1], L"topmost-popup") == 0 ? WS_EX_TOPMOST : 0;
        pattern = std::make_unique<testing_support::PatternWindow>(
            _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), argv[6],
            popup ? WS_POPUP : WS_OVERLAPPEDWINDOW, exStyle);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
