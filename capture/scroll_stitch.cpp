#include "capture/scroll_stitch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace capture {

namespace {

uint64_t RowHash(const uint32_t* row, int width) {
    uint64_t h = 0xcbf29ce484222325ull;
    int x = 0;
    for (; x + 1 < width; x += 2) {  // two pixels a step: half the multiplications
        uint64_t v;
        std::memcpy(&v, row + x, sizeof v);
        h = (h ^ v) * 0x100000001b3ull;
    }
    if (x < width) h = (h ^ row[x]) * 0x100000001b3ull;
    return h ^ (h >> 29);
}

}  // namespace

ScrollStitcher::ScrollStitcher(int width, int height, int maxHeight)
    : width_(width), height_(height), maxHeight_(maxHeight) {}

bool ScrollStitcher::RowsEqual(const Read& a, int rowA, const Read& b, int rowB) const {
    return a.hashes[size_t(rowA)] == b.hashes[size_t(rowB)] &&
           !std::memcmp(a.pixels.data() + size_t(rowA) * width_,
                        b.pixels.data() + size_t(rowB) * width_, size_t(width_) * 4);
}

ScrollStitcher::Outcome ScrollStitcher::Add(std::vector<uint32_t> pixels, int expectedShift) {
    if (pixels.size() != size_t(width_) * height_ || height_ <= 0) return Outcome::NoMatch;
    Read cur;
    cur.hashes.resize(size_t(height_));
    for (int y = 0; y < height_; ++y)
        cur.hashes[size_t(y)] = RowHash(pixels.data() + size_t(y) * width_, width_);
    cur.pixels = std::move(pixels);
    if (frames_.empty()) {
        frames_.push_back(std::move(cur));
        return Outcome::Added;
    }
    Match m = Place(cur, frames_.back(), expectedShift);
    if (m.unmoved) return Outcome::Unmoved;
    if (!m.shift && frames_.size() > 1) {
        // The read before may have been taken while the window still painted
        // the rows it uncovered: the one before that places this one instead.
        const Read& prev = frames_.back();
        const Match skip =
            Place(cur, frames_[frames_.size() - 2], expectedShift ? expectedShift + prev.shift : 0);
        if (skip.shift > prev.shift) m = skip, m.shift -= prev.shift;
    }
    if (!m.shift) return Outcome::NoMatch;
    if (int64_t(Height()) + m.shift > maxHeight_) return Outcome::Full;
    cur.shift = m.shift;
    cur.still = m.top;
    cur.stillBottom = m.bottom;
    total_ += m.shift;
    frames_.push_back(std::move(cur));
    return Outcome::Added;
}

ScrollStitcher::Match ScrollStitcher::Place(const Read& cur, const Read& prev,
                                            int expectedShift) const {
    const int h = height_;
    Match m;
    while (m.top < h && RowsEqual(cur, m.top, prev, m.top)) ++m.top;
    if (m.top == h) {
        m.unmoved = true;
        return m;
    }
    while (m.bottom < h - m.top && RowsEqual(cur, h - 1 - m.bottom, prev, h - 1 - m.bottom))
        ++m.bottom;
    const int top = m.top;

    // Between the rows that stayed put, the page moved up by some shift: the
    // read's rows from `top` down equal the previous read's `shift` rows lower.
    // A quarter of them may differ: a row still being painted, a button over
    // the page. Too little overlap would match anything, hence the minimum.
    const int moving = h - m.top - m.bottom;
    const int minOverlap = std::max(4, moving / 8);
    int best = 0, bestMiss = 0, bestOverlap = 1;
    for (int d = 1; moving - d >= minOverlap; ++d) {
        const int overlap = moving - d, budget = overlap / 4;
        int miss = 0;
        for (int i = top; i < top + overlap && miss <= budget; ++i)
            miss += cur.hashes[size_t(i)] != prev.hashes[size_t(i + d)];
        if (miss > budget) continue;
        // Fewer rows amiss, in proportion, wins; between equals, the shift
        // expected, else the larger overlap.
        const int64_t lhs = int64_t(miss) * bestOverlap, rhs = int64_t(bestMiss) * overlap;
        const bool better = !best || lhs < rhs ||
                            (lhs == rhs && expectedShift > 0 &&
                             std::abs(d - expectedShift) < std::abs(best - expectedShift));
        if (better) best = d, bestMiss = miss, bestOverlap = overlap;
    }
    if (!best) return m;
    int miss = 0;  // hashes that agree, checked pixel by pixel
    for (int i = top; i < top + bestOverlap; ++i) miss += !RowsEqual(cur, i, prev, i + best);
    if (miss <= bestOverlap / 4) m.shift = best;
    return m;
}

StitchResult ScrollStitcher::Result() const {
    StitchResult r;
    r.width = width_;
    r.height = Height();
    const int n = int(frames_.size());
    if (n == 0) return StitchResult{};
    if (n == 1) {
        r.bands.push_back({0, 0, height_, 0});
        return r;
    }
    const int h = height_;
    int header = h, footer = h;
    for (int k = 1; k < n; ++k) {
        header = std::min(header, frames_[size_t(k)].still);
        footer = std::min(footer, frames_[size_t(k)].stillBottom);
    }
    r.header = header;
    r.footer = footer;
    const int body = h - header - footer;
    std::vector<int> pos(size_t(n), 0);
    for (int k = 1; k < n; ++k) pos[size_t(k)] = pos[size_t(k - 1)] + frames_[size_t(k)].shift;

    // A row matched its neighbour read: it was painted and is the page's.
    std::vector<std::vector<char>> matched(size_t(n), std::vector<char>(size_t(h), 0));
    for (int k = 1; k < n; ++k) {
        const int d = frames_[size_t(k)].shift;
        for (int i = header; i < h - footer - d; ++i)
            if (RowsEqual(frames_[size_t(k)], i, frames_[size_t(k - 1)], i + d))
                matched[size_t(k)][size_t(i)] = matched[size_t(k - 1)][size_t(i + d)] = 1;
    }

    // Screen rows that keep failing to match hold something over the page.
    std::vector<int> amiss(size_t(h), 0);
    for (int k = 0; k < n; ++k)
        for (int i = header; i < h - footer; ++i) {
            const bool above = k > 0 && i < h - footer - frames_[size_t(k)].shift;
            const bool below = k + 1 < n && i >= header + frames_[size_t(k + 1)].shift;
            amiss[size_t(i)] += (above || below) && !matched[size_t(k)][size_t(i)];
        }

    auto emit = [&r](int frame, int source, int dest) {
        if (!r.bands.empty()) {
            StitchBand& last = r.bands.back();
            if (last.frame == frame && last.sourceTop + last.rows == source &&
                last.destTop + last.rows == dest) {
                ++last.rows;
                return;
            }
        }
        r.bands.push_back({frame, source, 1, dest});
    };
    if (header) r.bands.push_back({0, 0, header, 0});
    const int lastPos = pos[size_t(n - 1)];
    int lo = 0, hi = 0;  // the reads that show page row y
    for (int y = 0; y < lastPos + body; ++y) {
        while (pos[size_t(lo)] + body <= y) ++lo;
        while (hi + 1 < n && pos[size_t(hi + 1)] <= y) ++hi;
        const auto rowIn = [&](int k) { return size_t(header + y - pos[size_t(k)]); };
        int fewest = amiss[rowIn(hi)];
        for (int k = lo; k < hi; ++k) fewest = std::min(fewest, amiss[rowIn(k)]);
        int frame = hi;
        while (amiss[rowIn(frame)] != fewest) --frame;
        emit(frame, header + y - pos[size_t(frame)], header + y);
    }
    if (footer) r.bands.push_back({n - 1, h - footer, footer, header + lastPos + body});
    return r;
}

std::vector<uint32_t> ComposeStitched(const StitchResult& result,
                                      const std::vector<const uint32_t*>& frames) {
    std::vector<uint32_t> out(size_t(result.width) * result.height);
    for (const StitchBand& b : result.bands)
        std::memcpy(out.data() + size_t(b.destTop) * result.width,
                    frames[size_t(b.frame)] + size_t(b.sourceTop) * result.width,
                    size_t(b.rows) * result.width * 4);
    return out;
}

}  // namespace capture
