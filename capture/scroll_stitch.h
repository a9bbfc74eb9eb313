// Stitching the reads of a scrolling area into one tall picture: each read is
// placed by the shift at which its rows match the read before exactly (rows
// are compared by hash, then by their pixels; nothing is blended). Rows that
// stay put from read to read at the top and the bottom (a sticky header, a
// footer) are kept once, where they belong. Portable: pixels in, bands out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace capture {

// Rows of a picture that come from one read.
struct StitchBand {
    int frame;      // index of the read
    int sourceTop;  // first row in the read
    int rows;
    int destTop;  // first row in the picture
};

struct StitchResult {
    int width = 0, height = 0;
    int header = 0, footer = 0;  // rows kept once at the top and the bottom
    std::vector<StitchBand> bands;
};

class ScrollStitcher {
public:
    // Reads of width x height pixels; the picture grows to at most maxHeight rows.
    ScrollStitcher(int width, int height, int maxHeight);

    enum class Outcome {
        Added,    // placed below the reads before
        Unmoved,  // the same as the read before: nothing scrolled
        NoMatch,  // no shift down places it exactly: not kept
        Full,     // it would make the picture taller than allowed: not kept
    };
    // A read, row by row from the top, width x height pixels. expectedShift
    // (0 for none) decides between shifts that match equally well, as on a
    // page of repeated lines.
    Outcome Add(std::vector<uint32_t> pixels, int expectedShift = 0);

    int Frames() const { return int(frames_.size()); }
    const std::vector<uint32_t>& Frame(int i) const { return frames_[size_t(i)].pixels; }
    // The shift of the last read placed, in rows; 0 before the second.
    int LastShift() const { return frames_.size() > 1 ? frames_.back().shift : 0; }
    // The picture's height so far.
    int Height() const { return height_ + total_; }

    // Where each row of the picture comes from. The top rows that never moved
    // come from the first read, the bottom ones from the last; each row of the
    // page between from the last read showing it where that row of the screen
    // failed least often to match the neighbour reads (rows still being
    // painted, or under a button floating over the page, fail).
    StitchResult Result() const;

private:
    struct Read {
        std::vector<uint32_t> pixels;
        std::vector<uint64_t> hashes;    // one per row
        int shift = 0;                   // rows the page moved up since the read before
        int still = 0, stillBottom = 0;  // rows equal in place to the read before
    };
    struct Match {
        int shift = 0;            // 0: no shift places it
        int top = 0, bottom = 0;  // rows equal in place at the top and the bottom
        bool unmoved = false;
    };
    Match Place(const Read& cur, const Read& prev, int expectedShift) const;
    bool RowsEqual(const Read& a, int rowA, const Read& b, int rowB) const;
    int width_, height_, maxHeight_;
    int total_ = 0;  // sum of the shifts
    std::vector<Read> frames_;
};

// The picture the result describes, from the reads, row by row.
std::vector<uint32_t> ComposeStitched(const StitchResult& result,
                                      const std::vector<const uint32_t*>& frames);

}  // namespace capture
