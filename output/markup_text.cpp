#include "output/markup_text.h"

#include <algorithm>
#include <cstdlib>

#include "output/markup_geometry.h"

namespace output::markup {

namespace {

bool High(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool Low(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int32_t Width(const Mark& m, const TextMeasure& measure, size_t begin, size_t end) {
    return end > begin ? measure.width(m, std::wstring_view(m.text).substr(begin, end - begin)) : 0;
}

// Breaks one paragraph [begin, end) into lines no wider than the wrap.
void Paragraph(const Mark& m, const TextMeasure& measure, size_t begin, size_t end,
               std::vector<TextLine>& lines) {
    const std::wstring& t = m.text;
    size_t start = begin;
    while (true) {
        const int32_t whole = Width(m, measure, start, end);
        if (m.wrap <= 0 || whole <= m.wrap) {
            lines.push_back(TextLine{start, end, whole});
            return;
        }
        // The longest run from start that fits, ended after a space where one is.
        size_t fit = start, space = start;
        for (size_t i = NextChar(t, start); i <= end; i = NextChar(t, i)) {
            if (Width(m, measure, start, i) > m.wrap) break;
            fit = i;
            if (t[i - 1] == L' ') space = i;
            if (i == end) break;
        }
        if (fit == start) fit = NextChar(t, start);  // one character wider than the wrap
        const size_t cut = space > start && fit < end ? space : fit;
        size_t shown = cut;
        while (shown > start && t[shown - 1] == L' ') --shown;  // spaces at a break hang
        lines.push_back(TextLine{start, shown, Width(m, measure, start, shown)});
        start = cut;
        if (start >= end) return;
    }
}

}  // namespace

TextMeasure PlainMeasure() {
    TextMeasure m;
    m.width = [](const Mark& mark, std::wstring_view run) {
        return int32_t(run.size()) * (TextHeight(mark.width) * 3 / 5);
    };
    m.lineHeight = [](const Mark& mark) { return TextHeight(mark.width) * 6 / 5; };
    return m;
}

std::vector<TextLine> LayOut(const Mark& m, const TextMeasure& measure) {
    std::vector<TextLine> lines;
    size_t begin = 0;
    while (true) {
        const size_t feed = m.text.find(L'\n', begin);
        const size_t end = feed == std::wstring::npos ? m.text.size() : feed;
        Paragraph(m, measure, begin, end, lines);
        if (feed == std::wstring::npos) return lines;
        begin = feed + 1;
    }
}

Point TextSize(const Mark& m, const TextMeasure& measure) {
    const std::vector<TextLine> lines = LayOut(m, measure);
    int32_t widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    return Point{widest, int32_t(lines.size()) * measure.lineHeight(m)};
}

size_t LineOf(const std::vector<TextLine>& lines, size_t index) {
    // A caret at a wrap belongs to the line it starts.
    for (size_t i = lines.size(); i-- > 1;)
        if (index >= lines[i].begin) return i;
    return 0;
}

Point CaretAt(const Mark& m, const TextMeasure& measure, size_t index) {
    const std::vector<TextLine> lines = LayOut(m, measure);
    const size_t n = LineOf(lines, index);
    const size_t end = std::min(index, lines[n].end);
    return Point{Width(m, measure, lines[n].begin, std::max(end, lines[n].begin)),
                 int32_t(n) * measure.lineHeight(m)};
}

size_t IndexAt(const Mark& m, const TextMeasure& measure, Point p) {
    const std::vector<TextLine> lines = LayOut(m, measure);
    const int32_t height = std::max(1, measure.lineHeight(m));
    const size_t n = size_t(std::clamp<int32_t>(p.y / height, 0, int32_t(lines.size()) - 1));
    const TextLine& line = lines[n];
    size_t best = line.begin;
    int32_t bestDistance = std::abs(p.x);
    for (size_t i = NextChar(m.text, line.begin); i <= line.end && i > line.begin;
         i = NextChar(m.text, i)) {
        const int32_t d = std::abs(Width(m, measure, line.begin, i) - p.x);
        if (d < bestDistance) bestDistance = d, best = i;
        if (i == line.end) break;
    }
    return best;
}

size_t PreviousChar(const std::wstring& t, size_t index) {
    if (index == 0) return 0;
    index = std::min(index, t.size()) - 1;
    if (index > 0 && Low(t[index]) && High(t[index - 1])) --index;
    return index;
}

size_t NextChar(const std::wstring& t, size_t index) {
    if (index >= t.size()) return t.size();
    if (High(t[index]) && index + 1 < t.size() && Low(t[index + 1])) return index + 2;
    return index + 1;
}

}  // namespace output::markup
