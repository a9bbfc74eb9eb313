// Anti-aliased shapes drawn without GDI: how much of each pixel a shape
// covers, by exact area, blended into 32-bit pixel rows. Wine's GDI+ draws
// without anti-aliasing, so smooth marks cannot be left to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace output::raster {

struct Vec {
    double x = 0, y = 0;
};

// Pixels; right and bottom exclusive. Pixel (x, y) covers [x, x+1) x [y, y+1).
struct Area {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};
Area Intersect(const Area& a, const Area& b);

// 0x00RRGGBB pixels in rows over `area`; `stride` is the step in pixels from
// one row to the one below it, negative for a bottom-up bitmap.
struct Rows {
    uint32_t* first = nullptr;  // the pixel at (area.left, area.top)
    ptrdiff_t stride = 0;
    Area area;
    uint32_t& At(int32_t x, int32_t y) const {
        return first[(y - area.top) * stride + (x - area.left)];
    }
};

// A shape made of pieces, each a set of closed contours of its own; a piece
// covers where its contours wind, and the shape covers what any piece covers.
// Clear keeps the memory, so one shape serves mark after mark.
class Shape {
public:
    void Clear();
    bool Empty() const { return pieces_.empty(); }
    // The pixels the pieces can touch.
    Area Bounds() const;

    void Polygon(const Vec* points, size_t count);
    void Disc(Vec centre, double radius);
    // A segment `radius` wide to each side with round ends: one stroke of a path.
    void Capsule(Vec a, Vec b, double radius);
    // The band between two ellipses of one centre, radii (rx, ry) plus and
    // minus half of `width`; filled where the inner one vanishes.
    void EllipseRing(Vec centre, double rx, double ry, double width);

private:
    friend class Rasterizer;
    struct Edge {
        double x0, y0, x1, y1;
    };
    struct Piece {
        size_t first = 0, last = 0;  // its edges
        double left = 0, top = 0, right = 0, bottom = 0;
    };
    void Begin();
    void Contour(const Vec* points, size_t count);
    void Close();
    void Arc(Vec centre, double rx, double ry, double from, double to, int steps);

    std::vector<Edge> edges_;
    std::vector<Piece> pieces_;
    std::vector<Vec> scratch_;
};

enum class Blend {
    Over,      // the colour laid over the pixels
    Multiply,  // the pixels multiplied by the colour, as a marker's ink
};

class Rasterizer {
public:
    // The coverage (0 to 1) of each pixel of the shape's bounds within
    // `clip`; returns the area computed, read with Coverage (0 outside it).
    Area Cover(const Shape& shape, const Area& clip);
    double Coverage(int32_t x, int32_t y) const;
    // Blends the colour (0xRRGGBB) into the pixels by the shape's coverage,
    // within `clip` and the rows; a pixel the shape misses is left as it was.
    void Paint(const Shape& shape, const Rows& rows, const Area& clip, uint32_t color,
               Blend blend = Blend::Over);

private:
    void Accumulate(const Shape::Piece& piece, const Shape& shape, const Area& area);
    void Line(double x0, double y0, double x1, double y1);
    void Segment(double x0, double y0, double x1, double y1);

    Area area_;
    std::vector<double> cover_;
    // Signed area per cell of the piece in hand, summed along each row; kept
    // zero between pieces.
    std::vector<double> cells_;
    int32_t cellsWidth_ = 0, cellsHeight_ = 0;
};

}  // namespace output::raster
