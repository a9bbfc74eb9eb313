#include "capture/scroll_stitch.h"

#include <gtest/gtest.h>

#include <functional>

using capture::ScrollStitcher;
using Outcome = ScrollStitcher::Outcome;

namespace {

constexpr int kWidth = 24;

// A made-up page: lines of text of different heights with blank rows between
// them, so many rows repeat; a row's pixels depend on its page row.
struct Page {
    std::vector<uint32_t> rows;  // kWidth pixels a row
    int height() const { return int(rows.size() / kWidth); }
    const uint32_t* row(int y) const { return rows.data() + size_t(y) * kWidth; }
};

Page TextPage(int height, const std::function<uint32_t(int y, int x)>& at = nullptr) {
    Page p;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int line = y / 13, inLine = y % 13;
            const bool ink = inLine < 5 + line % 7 && (x * 7 + line * 3 + inLine) % 5 == 0;
            p.rows.push_back(at ? at(y, x) : ink ? 0x000000u + uint32_t(y) : 0xFFFFFFu);
        }
    return p;
}

// What a window of `height` rows shows with the page scrolled to `top`: a
// header and a footer that stay put, the page between.
struct Window {
    int height, header, footer;
    int body() const { return height - header - footer; }
    std::vector<uint32_t> Show(const Page& page, int top) const {
        std::vector<uint32_t> read;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (y < header)
                    read.push_back(0xAA0000u + uint32_t(y * 256 + x));
                else if (y >= height - footer)
                    read.push_back(0x00AA00u + uint32_t(y * 256 + x));
                else
                    read.push_back(page.row(top + y - header)[x]);
            }
        return read;
    }
    // The picture a person expects: the header once, every page row, the footer once.
    std::vector<uint32_t> Whole(const Page& page) const {
        std::vector<uint32_t> top = Show(page, 0), bottom = Show(page, page.height() - body());
        std::vector<uint32_t> out(top.begin(), top.begin() + size_t(header) * kWidth);
        out.insert(out.end(), page.rows.begin(), page.rows.end());
        out.insert(out.end(), bottom.end() - size_t(footer) * kWidth, bottom.end());
        return out;
    }
};

std::vector<uint32_t> Picture(const ScrollStitcher& s) {
    std::vector<const uint32_t*> frames;
    for (int i = 0; i < s.Frames(); ++i) frames.push_back(s.Frame(i).data());
    return capture::ComposeStitched(s.Result(), frames);
}

// Scrolls through the page by `step` rows until the end, the last step
// shorter where the page ends mid-step; then once more, which moves nothing.
void ScrollThrough(ScrollStitcher& s, const Page& page, const Window& w, int step) {
    const int end = page.height() - w.body();
    for (int top = 0;; top = std::min(top + step, end)) {
        const Outcome o = s.Add(w.Show(page, top), s.LastShift());
        if (o == Outcome::Unmoved) break;
        ASSERT_EQ(o, Outcome::Added) << "page row " << top;
    }
}

}  // namespace

TEST(ScrollStitch, PlainAndStickyPagesComeOutWholeOnce) {
    const Page page = TextPage(503);
    for (const Window w : {Window{120, 0, 0}, Window{120, 14, 9}}) {
        ScrollStitcher s(kWidth, w.height, 100000);
        ScrollThrough(s, page, w, 37);
        const capture::StitchResult r = s.Result();
        EXPECT_EQ(r.header, w.header);
        EXPECT_EQ(r.footer, w.footer);
        EXPECT_EQ(s.Height(), page.height() + w.header + w.footer);
        EXPECT_TRUE(Picture(s) == w.Whole(page)) << "header " << w.header;
    }
}

TEST(ScrollStitch, RepeatedLinesTakeTheShiftExpected) {
    // From row 150 to 400 the page repeats every 10 rows: shifts of 5, 15, 25
    // and 35 all match there; only the scroll's own step tells them apart.
    const Page page = TextPage(600, [](int y, int x) {
        const int r = y >= 150 && y < 400 ? 150 + y % 10 : y;
        return (x + r) % 3 ? 0xFFFFFFu : uint32_t(r);
    });
    const Window w{90, 10, 10};
    ScrollStitcher s(kWidth, w.height, 100000);
    ScrollThrough(s, page, w, 25);
    EXPECT_TRUE(Picture(s) == w.Whole(page));
}

TEST(ScrollStitch, ReadsPaintedLateOrNotAtAll) {
    const Page page = TextPage(400);
    const Window w{100, 8, 8};
    ScrollStitcher s(kWidth, w.height, 100000);
    ASSERT_EQ(s.Add(w.Show(page, 0)), Outcome::Added);
    // Scrolled, but the rows it uncovered are not painted yet.
    std::vector<uint32_t> late = w.Show(page, 30);
    std::fill(late.end() - size_t(w.footer + 20) * kWidth, late.end() - size_t(w.footer) * kWidth,
              0x808080u);
    EXPECT_EQ(s.Add(late), Outcome::Added);
    // A read of something else altogether is not placed.
    EXPECT_EQ(s.Add(w.Show(TextPage(400, [](int y, int x) { return uint32_t(y * 31 + x); }), 0)),
              Outcome::NoMatch);
    for (int top = 60; top <= page.height() - w.body(); top += 30)
        ASSERT_EQ(s.Add(w.Show(page, top), s.LastShift()), Outcome::Added);
    ASSERT_EQ(s.Add(w.Show(page, page.height() - w.body())), Outcome::Added);
    EXPECT_TRUE(Picture(s) == w.Whole(page));
}

TEST(ScrollStitch, FloatingButtonShowsAtMostOnceAndThePageStaysWhole) {
    const Page page = TextPage(420);
    const Window w{110, 0, 0};
    constexpr uint32_t kButton = 0x3366FF;
    const int bx = 16, size = 8;  // over the page, at the right
    for (const int by : {12, 80}) {
        ScrollStitcher s(kWidth, w.height, 100000);
        const int end = page.height() - w.body();
        for (int top = 0;; top = std::min(top + 30, end)) {
            std::vector<uint32_t> read = w.Show(page, top);
            for (int y = by; y < by + size; ++y)
                for (int x = bx; x < bx + size; ++x) read[size_t(y) * kWidth + x] = kButton;
            const Outcome o = s.Add(read, s.LastShift());
            if (o == Outcome::Unmoved) break;
            ASSERT_EQ(o, Outcome::Added);
        }
        const std::vector<uint32_t> shot = Picture(s);
        ASSERT_EQ(s.Height(), page.height());
        int buttonRows = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < bx; ++x)
                ASSERT_EQ(shot[size_t(y) * kWidth + x], page.row(y)[x]) << y;
            buttonRows += shot[size_t(y) * kWidth + bx] == kButton;
        }
        EXPECT_LE(buttonRows, size) << "button at row " << by;
    }
}

TEST(ScrollStitch, StopsAtTheHeightAllowed) {
    const Page page = TextPage(400);
    const Window w{100, 0, 0};
    ScrollStitcher s(kWidth, w.height, 180);
    EXPECT_EQ(s.Add(w.Show(page, 0)), Outcome::Added);
    EXPECT_EQ(s.Add(w.Show(page, 50)), Outcome::Added);
    EXPECT_EQ(s.Add(w.Show(page, 100)), Outcome::Full);
    EXPECT_EQ(s.Height(), 150);
    EXPECT_EQ(s.Add(w.Show(page, 80)), Outcome::Added);
    EXPECT_EQ(s.Height(), 180);
    const std::vector<uint32_t> shot = Picture(s);
    EXPECT_TRUE(std::equal(shot.begin(), shot.end(), page.rows.begin()));
}
