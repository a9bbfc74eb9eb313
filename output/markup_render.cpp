#include "output/markup_render.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "output/markup_geometry.h"

namespace output::markup {

namespace {

using toolkit::SelectGuard;
using toolkit::UniqueFont;

COLORREF Ref(Rgb c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

POINT At(const Canvas& canvas, Point p) {
    return POINT{p.x - canvas.Area().left, p.y - canvas.Area().top};
}

UniqueFont TextFont(int32_t height, bool bold) {
    return UniqueFont(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

// The shape and the rasteriser are kept from mark to mark for their memory.
raster::Shape& NewShape() {
    thread_local raster::Shape shape;
    shape.Clear();
    return shape;
}

raster::Area AreaOf(const Box& b) { return raster::Area{b.left, b.top, b.right, b.bottom}; }

void Paint(Canvas& canvas, const raster::Shape& shape, Rgb color,
           raster::Blend blend = raster::Blend::Over) {
    thread_local raster::Rasterizer rasterizer;
    // The bits are ours only once GDI has finished what it queued.
    GdiFlush();
    rasterizer.Paint(shape, canvas.Pixels(), AreaOf(canvas.Area()), color, blend);
}

// A stroke of odd width runs through the pixels' centres and one of even
// width between them: either way a level or upright stroke fills whole pixels.
raster::Vec Centre(Point p, int32_t width) {
    const double at = width % 2 ? 0.5 : 0;
    return raster::Vec{p.x + at, p.y + at};
}

// The path with round ends and joins; segments far from the canvas are left out.
void AddStroke(raster::Shape& shape, const Canvas& canvas, const std::vector<Point>& path,
               int32_t width) {
    const double radius = width / 2.0;
    const int32_t reach = width / 2 + 2;
    const Box& area = canvas.Area();
    bool any = false;
    for (size_t i = 1; i < path.size(); ++i) {
        const Point a = path[i - 1], b = path[i];
        if (a == b) continue;
        any = true;
        if (std::max(a.x, b.x) + reach < area.left || std::min(a.x, b.x) - reach >= area.right ||
            std::max(a.y, b.y) + reach < area.top || std::min(a.y, b.y) - reach >= area.bottom)
            continue;
        shape.Capsule(Centre(a, width), Centre(b, width), radius);
    }
    if (!any) shape.Disc(Centre(path.front(), width), radius);
}

void Stroke(Canvas& canvas, const std::vector<Point>& path, Rgb color, int32_t width) {
    raster::Shape& shape = NewShape();
    AddStroke(shape, canvas, path, width);
    Paint(canvas, shape, color);
}

// An ellipse's outline runs through the pixels of its box's sides (or beside
// them, for an even width), as a rectangle's does.
void EllipseOutline(Canvas& canvas, const Mark& m) {
    const Box b = Between(m.points.front(), m.points.back());
    const int32_t w = m.width;
    const double rx = (b.Width() - w % 2) / 2.0, ry = (b.Height() - w % 2) / 2.0;
    raster::Shape& shape = NewShape();
    shape.EllipseRing({(b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0}, std::max(0.0, rx),
                      std::max(0.0, ry), w);
    Paint(canvas, shape, m.color);
}

void Fill(Canvas& canvas, const Box& b, Rgb color) {
    const Box area = Intersect(b, canvas.Area());
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) canvas.At(x, y) = color;
}

// Square corners and sides of whole pixels: nothing to smooth, four strips.
void RectangleOutline(Canvas& canvas, const Mark& m) {
    const Box b = Between(m.points.front(), m.points.back());
    const int32_t w = m.width;
    const Box o{b.left - w / 2, b.top - w / 2, b.right + w / 2, b.bottom + w / 2};
    GdiFlush();
    if (o.Width() <= 2 * w || o.Height() <= 2 * w) return Fill(canvas, o, m.color);
    Fill(canvas, {o.left, o.top, o.right, o.top + w}, m.color);
    Fill(canvas, {o.left, o.bottom - w, o.right, o.bottom}, m.color);
    Fill(canvas, {o.left, o.top + w, o.left + w, o.bottom - w}, m.color);
    Fill(canvas, {o.right - w, o.top + w, o.right, o.bottom - w}, m.color);
}

void Arrow(Canvas& canvas, const Mark& m) {
    const ArrowHead head = HeadOf(m.points.front(), m.points.back(), m.width);
    raster::Shape& shape = NewShape();
    AddStroke(shape, canvas, {m.points.front(), head.base}, m.width);
    const raster::Vec tri[3] = {Centre(head.tip, m.width), Centre(head.left, m.width),
                                Centre(head.right, m.width)};
    shape.Polygon(tri, 3);
    Paint(canvas, shape, m.color);
}

// The stroke multiplies the picture by its colour, as a marker pen's ink
// does: dark text stays dark and readable beneath it.
void Highlight(Canvas& canvas, const Mark& m) {
    raster::Shape& shape = NewShape();
    AddStroke(shape, canvas, m.points, HighlighterWidth(m.width));
    Paint(canvas, shape, m.color, raster::Blend::Multiply);
}

// One memory DC with the text fonts made so far: a text is measured many
// times while its lines are broken.
class FontCache {
public:
    HDC For(int32_t height) {
        if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
        auto found = fonts_.find(height);
        if (found == fonts_.end()) found = fonts_.emplace(height, TextFont(height, false)).first;
        if (current_ != height) {
            if (!selected_)
                selected_ = SelectObject(dc_.get(), found->second.get());
            else
                SelectObject(dc_.get(), found->second.get());
            current_ = height;
        }
        return dc_.get();
    }
    ~FontCache() {
        if (selected_) SelectObject(dc_.get(), selected_);
    }

private:
    toolkit::UniqueDC dc_;
    std::map<int32_t, UniqueFont> fonts_;
    HGDIOBJ selected_ = nullptr;
    int32_t current_ = 0;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

void Text(Canvas& canvas, const Mark& m) {
    UniqueFont font = TextFont(TextHeight(m.width), false);
    SelectGuard selected(canvas.dc(), font.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), Ref(m.color));
    const TextMeasure measure = FontMeasure();
    const int32_t height = measure.lineHeight(m);
    const POINT at = At(canvas, m.points.front());
    int32_t y = at.y;
    for (const TextLine& line : LayOut(m, measure)) {
        TextOutW(canvas.dc(), at.x, y, m.text.c_str() + line.begin, int(line.end - line.begin));
        y += height;
    }
}

void StepMarker(Canvas& canvas, const Mark& m) {
    const int32_t r = StepRadius(m.width, m.number);
    const POINT c = At(canvas, m.points.front());
    raster::Shape& disc = NewShape();
    disc.Disc({m.points.front().x + 0.5, m.points.front().y + 0.5}, r + 0.5);
    Paint(canvas, disc, m.color);
    // White on light colours would vanish.
    const uint32_t light =
        ((m.color >> 16) & 0xFF) * 3 + ((m.color >> 8) & 0xFF) * 6 + (m.color & 0xFF);
    UniqueFont font = TextFont(StepFontHeight(m.width), true);
    SelectGuard selected(canvas.dc(), font.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), light > 1900 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    const std::wstring number = std::to_wstring(m.number);
    RECT box{c.x - r, c.y - r, c.x + r + 1, c.y + r + 1};
    DrawTextW(canvas.dc(), number.c_str(), int(number.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Each block takes the mean of the picture's pixels in it; blocks are laid
// from the mark's corner, so scrolling never moves them, and a thin last row
// or column joins the block before it.
void Pixelate(Canvas& canvas, const Mark& m, const toolkit::Picture& picture) {
    const SIZE size = picture.PixelSize();
    const Box box = Intersect(Bounds(m), Box{0, 0, size.cx, size.cy});
    const Box visible = Intersect(box, canvas.Area());
    if (visible.Empty()) return;
    const int32_t block = PixelateBlock(Bounds(m));
    const auto first = [&](int32_t v, int32_t from, int32_t length) {
        return from + PixelateSpan(length, block, v - from).first;
    };
    const auto last = [&](int32_t v, int32_t from, int32_t length) {
        return from + PixelateSpan(length, block, v - from).second;
    };
    const Box area{first(visible.left, box.left, box.Width()),
                   first(visible.top, box.top, box.Height()),
                   last(visible.right - 1, box.left, box.Width()),
                   last(visible.bottom - 1, box.top, box.Height())};
    Canvas source(canvas.dc(), area);
    if (!source.Ready()) return;
    DrawPicture(source, picture);
    for (int32_t by = area.top; by < area.bottom;) {
        const int32_t bottom = last(by, box.top, box.Height());
        for (int32_t bx = area.left; bx < area.right;) {
            const int32_t right = last(bx, box.left, box.Width());
            const Box cell{bx, by, right, bottom};
            uint64_t r = 0, g = 0, b = 0, n = 0;
            for (int32_t y = cell.top; y < cell.bottom; ++y)
                for (int32_t x = cell.left; x < cell.right; ++x) {
                    const uint32_t px = source.At(x, y);
                    r += px >> 16 & 0xFF;
                    g += px >> 8 & 0xFF;
                    b += px & 0xFF;
                    ++n;
                }
            if (n) Fill(canvas, cell, Rgb((r / n) << 16 | (g / n) << 8 | (b / n)));
            bx = right;
        }
        by = bottom;
    }
}

}  // namespace

Canvas::Canvas(HDC compatible, Box area) : area_(area) {
    if (area.Empty()) return;
    dc_.reset(CreateCompatibleDC(compatible));
    void* bits = nullptr;
    bitmap_ = toolkit::NewBitmap32(area.Width(), area.Height(), &bits);
    if (!dc_ || !bitmap_) return;
    previous_ = SelectObject(dc_.get(), bitmap_.get());
    bits_ = static_cast<uint32_t*>(bits);
}

Canvas::~Canvas() {
    if (previous_) SelectObject(dc_.get(), previous_);
}

raster::Rows Canvas::Pixels() const {
    // Bottom-up: the top row is the last in memory.
    const ptrdiff_t width = area_.Width();
    return raster::Rows{bits_ + (area_.Height() - 1) * width, -width,
                        raster::Area{area_.left, area_.top, area_.right, area_.bottom}};
}

toolkit::UniqueBitmap Canvas::Release() {
    if (previous_) SelectObject(dc_.get(), std::exchange(previous_, nullptr));
    GdiFlush();
    bits_ = nullptr;
    return std::move(bitmap_);
}

void DrawPicture(Canvas& canvas, const toolkit::Picture& picture) {
    if (!canvas.Ready() || picture.Empty()) return;
    toolkit::UniqueDC memory(CreateCompatibleDC(canvas.dc()));
    if (!memory) return;
    SelectGuard selected(memory.get(), picture.Bitmap());
    std::optional<toolkit::PaletteGuard> palette;
    if (picture.Palette()) palette.emplace(memory.get(), picture.Palette());
    const Box& a = canvas.Area();
    BitBlt(canvas.dc(), 0, 0, a.Width(), a.Height(), memory.get(), a.left, a.top, SRCCOPY);
    GdiFlush();
}

void DrawMark(Canvas& canvas, const Mark& m, const toolkit::Picture& picture) {
    if (!canvas.Ready() || m.points.empty() || Intersect(Bounds(m), canvas.Area()).Empty()) return;
    switch (m.kind) {
        case Kind::Rectangle:
            RectangleOutline(canvas, m);
            break;
        case Kind::Ellipse:
            EllipseOutline(canvas, m);
            break;
        case Kind::Line:
            Stroke(canvas, {m.points.front(), m.points.back()}, m.color, m.width);
            break;
        case Kind::Arrow:
            Arrow(canvas, m);
            break;
        case Kind::Pen:
            Stroke(canvas, m.points, m.color, m.width);
            break;
        case Kind::Highlighter:
            Highlight(canvas, m);
            break;
        case Kind::Text:
            Text(canvas, m);
            break;
        case Kind::Step:
            StepMarker(canvas, m);
            break;
        case Kind::Redaction:
            // Whole pixels of the one colour, nothing blended at the edges.
            GdiFlush();
            Fill(canvas, Bounds(m), m.color);
            break;
        case Kind::Pixelate:
            GdiFlush();
            Pixelate(canvas, m, picture);
            break;
    }
}

void DrawMarks(Canvas& canvas, const std::vector<Mark>& marks, const toolkit::Picture& picture,
               int hidden) {
    for (size_t i : RenderOrder(marks))
        if (int(i) != hidden) DrawMark(canvas, marks[i], picture);
    GdiFlush();
}

TextMeasure FontMeasure() {
    TextMeasure measure;
    measure.width = [](const Mark& m, std::wstring_view run) {
        SIZE size{};
        GetTextExtentPoint32W(Fonts().For(TextHeight(m.width)), run.data(), int(run.size()), &size);
        return int32_t(size.cx);
    };
    measure.lineHeight = [](const Mark& m) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(Fonts().For(TextHeight(m.width)), &metrics);
        return int32_t(metrics.tmHeight);
    };
    return measure;
}

toolkit::Picture Flatten(const toolkit::Picture& picture, const Document& doc) {
    const SIZE size = picture.PixelSize();
    const Box area = Intersect(doc.crop, Box{0, 0, size.cx, size.cy});
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    Canvas canvas(screen.get(), area);
    if (!canvas.Ready()) return toolkit::Picture();
    DrawPicture(canvas, picture);
    DrawMarks(canvas, doc.marks, picture);
    toolkit::Picture flat = toolkit::Picture::FromBitmap(canvas.Release(), {});
    if (const auto origin = picture.ScreenOrigin())
        flat.SetScreenOrigin(POINT{origin->x + area.left, origin->y + area.top});
    return flat;
}

}  // namespace output::markup
