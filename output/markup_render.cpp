#include "output/markup_render.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "output/markup_geometry.h"

namespace output::markup {

namespace {

using toolkit::SelectGuard;
using toolkit::UniqueBrush;
using toolkit::UniqueFont;

using UniquePen = toolkit::Unique<HPEN, toolkit::DeleteGdiObject>;

COLORREF Ref(Rgb c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

POINT At(const Canvas& canvas, Point p) {
    return POINT{p.x - canvas.Area().left, p.y - canvas.Area().top};
}

UniquePen StrokePen(Rgb color, int32_t width, bool round) {
    LOGBRUSH brush{BS_SOLID, Ref(color), 0};
    const DWORD ends =
        round ? (PS_ENDCAP_ROUND | PS_JOIN_ROUND) : (PS_ENDCAP_SQUARE | PS_JOIN_MITER);
    return UniquePen(
        ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends, DWORD(width), &brush, 0, nullptr));
}

UniqueFont TextFont(int32_t height, bool bold) {
    return UniqueFont(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

void Stroke(Canvas& canvas, const std::vector<Point>& path, Rgb color, int32_t width) {
    UniquePen pen = StrokePen(color, width, true);
    SelectGuard selected(canvas.dc(), pen.get());
    std::vector<POINT> points;
    for (const Point& p : path) points.push_back(At(canvas, p));
    if (points.size() == 1) points.push_back(points[0]);
    Polyline(canvas.dc(), points.data(), int(points.size()));
}

void Outline(Canvas& canvas, const Mark& m) {
    UniquePen pen = StrokePen(m.color, m.width, false);
    SelectGuard selectedPen(canvas.dc(), pen.get());
    SelectGuard selectedBrush(canvas.dc(), GetStockObject(NULL_BRUSH));
    const Box b = Spanned(m.points.front(), m.points.back());
    const POINT a = At(canvas, {b.left, b.top}), z = At(canvas, {b.right, b.bottom});
    if (m.kind == Kind::Ellipse)
        Ellipse(canvas.dc(), a.x, a.y, z.x, z.y);
    else
        Rectangle(canvas.dc(), a.x, a.y, z.x, z.y);
}

void Arrow(Canvas& canvas, const Mark& m) {
    const ArrowHead head = HeadOf(m.points.front(), m.points.back(), m.width);
    Stroke(canvas, {m.points.front(), head.base}, m.color, m.width);
    UniqueBrush brush(CreateSolidBrush(Ref(m.color)));
    SelectGuard selectedBrush(canvas.dc(), brush.get());
    SelectGuard selectedPen(canvas.dc(), GetStockObject(NULL_PEN));
    POINT tri[3] = {At(canvas, head.tip), At(canvas, head.left), At(canvas, head.right)};
    Polygon(canvas.dc(), tri, 3);
}

// The stroke multiplies the picture by its colour, as a marker pen's ink
// does: dark text stays dark and readable beneath it.
void Highlight(Canvas& canvas, const Mark& m) {
    const Box area = Intersect(Bounds(m), canvas.Area());
    if (area.Empty()) return;
    Canvas mask(canvas.dc(), area);
    if (!mask.Ready()) return;
    Stroke(mask, m.points, 0xFFFFFF, HighlighterWidth(m.width));
    const uint32_t r = (m.color >> 16) & 0xFF, g = (m.color >> 8) & 0xFF, b = m.color & 0xFF;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            if (!(mask.At(x, y) & 0xFF)) continue;
            uint32_t& px = canvas.At(x, y);
            px = (((px >> 16 & 0xFF) * r / 255) << 16) | (((px >> 8 & 0xFF) * g / 255) << 8) |
                 ((px & 0xFF) * b / 255);
        }
}

void Text(Canvas& canvas, const Mark& m) {
    UniqueFont font = TextFont(TextHeight(m.width), false);
    SelectGuard selected(canvas.dc(), font.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), Ref(m.color));
    const POINT at = At(canvas, m.points.front());
    TextOutW(canvas.dc(), at.x, at.y, m.text.c_str(), int(m.text.size()));
}

void StepMarker(Canvas& canvas, const Mark& m) {
    const int32_t r = StepRadius(m.width);
    const POINT c = At(canvas, m.points.front());
    {
        UniqueBrush brush(CreateSolidBrush(Ref(m.color)));
        SelectGuard selectedBrush(canvas.dc(), brush.get());
        SelectGuard selectedPen(canvas.dc(), GetStockObject(NULL_PEN));
        Ellipse(canvas.dc(), c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
    }
    // White on light colours would vanish.
    const uint32_t light =
        ((m.color >> 16) & 0xFF) * 3 + ((m.color >> 8) & 0xFF) * 6 + (m.color & 0xFF);
    UniqueFont font = TextFont(r * 5 / 4, true);
    SelectGuard selected(canvas.dc(), font.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), light > 1900 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    const std::wstring number = std::to_wstring(m.number);
    RECT box{c.x - r, c.y - r, c.x + r + 1, c.y + r + 1};
    DrawTextW(canvas.dc(), number.c_str(), int(number.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Fill(Canvas& canvas, const Box& b, Rgb color) {
    const Box area = Intersect(b, canvas.Area());
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) canvas.At(x, y) = color;
}

// Each block takes the mean of the picture's pixels in it; blocks are laid
// from the mark's corner, so scrolling never moves them.
void Pixelate(Canvas& canvas, const Mark& m, const toolkit::Picture& picture) {
    const Box box = Bounds(m);
    const Box visible = Intersect(box, canvas.Area());
    if (visible.Empty()) return;
    const int32_t block = PixelateBlock(box);
    auto down = [&](int32_t v, int32_t from) { return from + (v - from) / block * block; };
    const Box area = Intersect(
        Box{down(visible.left, box.left), down(visible.top, box.top),
            down(visible.right - 1, box.left) + block, down(visible.bottom - 1, box.top) + block},
        box);
    Canvas source(canvas.dc(), area);
    if (!source.Ready()) return;
    DrawPicture(source, picture);
    const SIZE size = picture.PixelSize();
    for (int32_t by = area.top; by < area.bottom; by += block)
        for (int32_t bx = area.left; bx < area.right; bx += block) {
            const Box cell = Intersect(Box{bx, by, bx + block, by + block},
                                       Intersect(area, Box{0, 0, size.cx, size.cy}));
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
        case Kind::Ellipse:
            Outline(canvas, m);
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
            GdiFlush();
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

void DrawMarks(Canvas& canvas, const std::vector<Mark>& marks, const toolkit::Picture& picture) {
    for (size_t i : RenderOrder(marks)) DrawMark(canvas, marks[i], picture);
    GdiFlush();
}

Point MeasureText(const Mark& m) {
    toolkit::UniqueDC dc(CreateCompatibleDC(nullptr));
    UniqueFont font = TextFont(TextHeight(m.width), false);
    SelectGuard selected(dc.get(), font.get());
    SIZE size{};
    // An empty text still shows where it will go.
    const std::wstring text = m.text.empty() ? std::wstring(L" ") : m.text;
    GetTextExtentPoint32W(dc.get(), text.c_str(), int(text.size()), &size);
    // Italic and anti-aliased edges reach a little past the advance.
    return Point{size.cx + 2 + TextHeight(m.width) / 6, size.cy};
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
