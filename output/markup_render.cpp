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
    const Box b = Between(m.points.front(), m.points.back());
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
    {
        UniqueBrush brush(CreateSolidBrush(Ref(m.color)));
        SelectGuard selectedBrush(canvas.dc(), brush.get());
        SelectGuard selectedPen(canvas.dc(), GetStockObject(NULL_PEN));
        Ellipse(canvas.dc(), c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
    }
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

void Fill(Canvas& canvas, const Box& b, Rgb color) {
    const Box area = Intersect(b, canvas.Area());
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) canvas.At(x, y) = color;
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
