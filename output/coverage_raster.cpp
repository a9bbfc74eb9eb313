#include "output/coverage_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace output::raster {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Steps around a whole circle of radius r that keep each chord within a
// hundredth of a pixel of the curve.
int CircleSteps(double r) {
    constexpr double kTolerance = 0.01;
    if (r <= kTolerance) return 8;
    const double step = std::acos(1 - kTolerance / r);
    return std::clamp(int(std::ceil(kPi / step)), 8, 1024);
}

}  // namespace

Area Intersect(const Area& a, const Area& b) {
    Area r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.Empty() ? Area{} : r;
}

void Shape::Clear() {
    edges_.clear();
    pieces_.clear();
}

Area Shape::Bounds() const {
    if (pieces_.empty()) return Area{};
    double l = std::numeric_limits<double>::max(), t = l, r = -l, b = -l;
    for (const Piece& p : pieces_) {
        l = std::min(l, p.left);
        t = std::min(t, p.top);
        r = std::max(r, p.right);
        b = std::max(b, p.bottom);
    }
    return Area{int32_t(std::floor(l)), int32_t(std::floor(t)), int32_t(std::ceil(r)),
                int32_t(std::ceil(b))};
}

void Shape::Begin() {
    Piece piece;
    piece.first = piece.last = edges_.size();
    piece.left = piece.top = std::numeric_limits<double>::max();
    piece.right = piece.bottom = -std::numeric_limits<double>::max();
    pieces_.push_back(piece);
}

void Shape::Contour(const Vec* points, size_t count) {
    Piece& piece = pieces_.back();
    for (size_t i = 0; i < count; ++i) {
        const Vec& p = points[i];
        const Vec& q = points[(i + 1) % count];
        piece.left = std::min(piece.left, double(p.x));
        piece.top = std::min(piece.top, double(p.y));
        piece.right = std::max(piece.right, double(p.x));
        piece.bottom = std::max(piece.bottom, double(p.y));
        // A level edge crosses no row: it adds no area.
        if (double(p.y) != double(q.y))
            edges_.push_back(Edge{double(p.x), double(p.y), double(q.x), double(q.y)});
    }
}

void Shape::Close() {
    pieces_.back().last = edges_.size();
    if (pieces_.back().first == pieces_.back().last) pieces_.pop_back();
}

void Shape::Arc(Vec centre, double rx, double ry, double from, double to, int steps) {
    // Chords cut inside the curve: the points between the ends are pushed
    // out so that the chords enclose its area, and the ends stay on it, where
    // a stroke's straight sides meet them.
    const double step = std::abs(to - from) / steps;
    const double out = std::sqrt(step / std::sin(step));
    for (int i = 0; i <= steps; ++i) {
        const double angle = from + (to - from) * i / steps;
        const double k = i == 0 || i == steps ? 1 : out;
        scratch_.push_back(
            Vec{centre.x + k * rx * std::cos(angle), centre.y + k * ry * std::sin(angle)});
    }
}

void Shape::Polygon(const Vec* points, size_t count) {
    if (count < 3) return;
    Begin();
    Contour(points, count);
    Close();
}

void Shape::Disc(Vec centre, double radius) {
    if (radius <= 0) return;
    scratch_.clear();
    Arc(centre, radius, radius, 0, 2 * kPi, CircleSteps(radius));
    Polygon(scratch_.data(), scratch_.size());
}

void Shape::Capsule(Vec a, Vec b, double radius) {
    if (radius <= 0) return;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (std::hypot(dx, dy) < 1e-6) return Disc(a, radius);
    const double along = std::atan2(dy, dx);
    const int half = std::max(4, CircleSteps(radius) / 2);
    scratch_.clear();
    Arc(b, radius, radius, along - kPi / 2, along + kPi / 2, half);
    Arc(a, radius, radius, along + kPi / 2, along + 3 * kPi / 2, half);
    Polygon(scratch_.data(), scratch_.size());
}

void Shape::EllipseRing(Vec centre, double rx, double ry, double width) {
    const double ox = rx + width / 2, oy = ry + width / 2;
    if (ox <= 0 || oy <= 0) return;
    const int steps = CircleSteps(std::max(ox, oy));
    Begin();
    scratch_.clear();
    Arc(centre, ox, oy, 0, 2 * kPi, steps);
    Contour(scratch_.data(), scratch_.size());
    const double ix = rx - width / 2, iy = ry - width / 2;
    if (ix > 0 && iy > 0) {
        scratch_.clear();
        Arc(centre, ix, iy, 2 * kPi, 0, steps);
        Contour(scratch_.data(), scratch_.size());
    }
    Close();
}

Area Rasterizer::Cover(const Shape& shape, const Area& clip) {
    area_ = Intersect(shape.Bounds(), clip);
    cover_.assign(size_t(area_.Width()) * area_.Height(), 0.0);
    for (const Shape::Piece& piece : shape.pieces_) {
        const Area bounds{int32_t(std::floor(piece.left)), int32_t(std::floor(piece.top)),
                          int32_t(std::ceil(piece.right)), int32_t(std::ceil(piece.bottom))};
        const Area area = Intersect(bounds, area_);
        if (!area.Empty()) Accumulate(piece, shape, area);
    }
    return area_;
}

double Rasterizer::Coverage(int32_t x, int32_t y) const {
    if (x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom) return 0;
    return cover_[size_t(y - area_.top) * area_.Width() + (x - area_.left)];
}

// Each piece is summed on its own and joined by the larger coverage: pieces
// of one stroke overlap, and summing their edges would count those pixels twice.
void Rasterizer::Accumulate(const Shape::Piece& piece, const Shape& shape, const Area& area) {
    cellsWidth_ = area.Width() + 2;  // room for edges on the right border
    cellsHeight_ = area.Height();
    const size_t needed = size_t(cellsWidth_) * cellsHeight_;
    if (cells_.size() < needed) cells_.resize(needed, 0.0);
    const double ox = double(area.left), oy = double(area.top);
    for (size_t i = piece.first; i < piece.last; ++i) {
        const Shape::Edge& e = shape.edges_[i];
        Line(e.x0 - ox, e.y0 - oy, e.x1 - ox, e.y1 - oy);
    }
    const int32_t width = area.Width();
    for (int32_t y = 0; y < cellsHeight_; ++y) {
        double* cells = &cells_[size_t(y) * cellsWidth_];
        double* out =
            &cover_[size_t(y + area.top - area_.top) * area_.Width() + (area.left - area_.left)];
        double sum = 0;
        for (int32_t x = 0; x < width; ++x) {
            sum += cells[x];
            cells[x] = 0;
            out[x] = std::max(out[x], std::min(1.0, std::fabs(sum)));
        }
        cells[width] = cells[width + 1] = 0;
    }
}

// An edge in the cells' coordinates. What lies left of the cells still winds
// the rows they hold: it is moved onto their left border, where it adds the
// same to every cell to its right; what lies right of them adds nothing.
void Rasterizer::Line(double x0, double y0, double x1, double y1) {
    if (y0 == y1 || std::max(y0, y1) <= 0 || std::min(y0, y1) >= double(cellsHeight_)) return;
    const double right = double(cellsWidth_ - 2);
    for (const double border : {0.0, right}) {
        if ((x0 < border && x1 > border) || (x0 > border && x1 < border)) {
            const double y = y0 + (border - x0) * (y1 - y0) / (x1 - x0);
            Line(x0, y0, border, y);
            Line(border, y, x1, y1);
            return;
        }
    }
    Segment(std::clamp(x0, 0.0, right), y0, std::clamp(x1, 0.0, right), y1);
}

// Adds the signed area the edge leaves to its right in each cell it crosses
// (after R. Levien's font-rs): summed along a row, it is the coverage.
void Rasterizer::Segment(double x0, double y0, double x1, double y1) {
    double dir = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1;
    }
    const double right = double(cellsWidth_ - 2);
    const double dxdy = (x1 - x0) / (y1 - y0);
    const double top = std::max(y0, 0.0), bottom = std::min(y1, double(cellsHeight_));
    double x = x0 + (top - y0) * dxdy;
    const int32_t last = int32_t(std::ceil(bottom));
    for (int32_t y = int32_t(top); y < last; ++y) {
        const double dy = std::min(double(y + 1), bottom) - std::max(double(y), top);
        const double next = std::clamp(x + dxdy * dy, 0.0, right);
        const double d = dy * dir;
        double* cells = &cells_[size_t(y) * cellsWidth_];
        const double xa = std::min(x, next), xb = std::max(x, next);
        const double xaFloor = std::floor(xa), xbCeil = std::ceil(xb);
        const int32_t ia = int32_t(xaFloor), ib = int32_t(xbCeil);
        if (ib <= ia + 1) {
            const double mid = 0.5 * (x + next) - xaFloor;
            cells[ia] += d - d * mid;
            cells[ia + 1] += d * mid;
        } else {
            const double s = 1 / (xb - xa);
            const double fa = xa - xaFloor;
            const double a0 = 0.5 * s * (1 - fa) * (1 - fa);
            const double fb = xb - xbCeil + 1;
            const double am = 0.5 * s * fb * fb;
            cells[ia] += d * a0;
            if (ib == ia + 2) {
                cells[ia + 1] += d * (1 - a0 - am);
            } else {
                const double a1 = s * (1.5 - fa);
                cells[ia + 1] += d * (a1 - a0);
                for (int32_t i = ia + 2; i < ib - 1; ++i) cells[i] += d * s;
                const double a2 = a1 + double(ib - ia - 3) * s;
                cells[ib - 1] += d * (1 - a2 - am);
            }
            cells[ib] += d * am;
        }
        x = next;
    }
}

void Rasterizer::Paint(const Shape& shape, const Rows& rows, const Area& clip, uint32_t color,
                       Blend blend) {
    const Area area = Cover(shape, Intersect(clip, rows.area));
    const uint32_t r = color >> 16 & 0xFF, g = color >> 8 & 0xFF, b = color & 0xFF;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const double* cover = &cover_[size_t(y - area.top) * area.Width()];
        uint32_t* px = &rows.At(area.left, y);
        for (int32_t x = 0; x < area.Width(); ++x) {
            // A 256th of coverage or less leaves the pixel as it was.
            const uint32_t alpha = uint32_t(cover[x] * 256 + 0.5);
            if (!alpha) continue;
            const uint32_t p = px[x];
            if (blend == Blend::Over) {
                const uint32_t rest = 256 - alpha;
                const uint32_t rb =
                    (((color & 0xFF00FF) * alpha + (p & 0xFF00FF) * rest) >> 8) & 0xFF00FF;
                const uint32_t gg =
                    (((color & 0xFF00) * alpha + (p & 0xFF00) * rest) >> 8) & 0xFF00;
                px[x] = rb | gg;
            } else {
                // The ink's factor per channel, 255 * 256 where it lets all through.
                const auto ink = [alpha](uint32_t c, uint32_t v) {
                    return v * (65280 - alpha * (255 - c)) / 65280;
                };
                px[x] =
                    ink(r, p >> 16 & 0xFF) << 16 | ink(g, p >> 8 & 0xFF) << 8 | ink(b, p & 0xFF);
            }
        }
    }
}

}  // namespace output::raster
