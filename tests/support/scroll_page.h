// A window of the test's own that scrolls a known page: lines of different
// heights whose pixels depend on their place in the page, a header and a
// footer that stay put, and a vertical scroll bar that follows. It scrolls
// by the wheel, by the scroll bar's messages and by Page Down.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testing_support {

class ScrollPage {
public:
    static constexpr int kHeader = 24, kFooter = 18;
    static constexpr int kWheelRows = 40, kLineRows = 16;  // a notch, a line
    // wheel: false for a window that leaves the wheel to the system (and so
    // scrolls only by its scroll bar and keys).
    ScrollPage(int x, int y, int clientWidth, int clientHeight, int pageHeight, bool wheel = true);
    ~ScrollPage();
    ScrollPage(const ScrollPage&) = delete;
    ScrollPage& operator=(const ScrollPage&) = delete;
    HWND hwnd() const { return hwnd_; }
    RECT ClientOnScreen() const;
    int body() const { return height_ - kHeader - kFooter; }
    int position() const { return pos_; }
    void ScrollTo(int pos);

    // 0x00RRGGBB, row by row: the header, the page from `from` (rows in all
    // when 0), the footer: what a picture of the whole page shows.
    std::vector<uint32_t> Whole(int from = 0, int rows = 0) const;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    uint32_t PageAt(int x, int y) const;
    uint32_t FixedAt(int x, int y) const;  // header and footer rows, by client row
    void Paint(HDC dc) const;
    HWND hwnd_ = nullptr;
    int width_, height_, pageHeight_, pos_ = 0;
    bool wheel_;
    std::vector<int> lineOf_, rowInLine_;  // each page row's line, and its row in it
};

}  // namespace testing_support
