#include "output/history_record.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "output/markup_editor.h"
#include "output/picture_header.h"

namespace output::history {

namespace {

using markup::Box;
using markup::Kind;
using markup::Mark;
using markup::Point;

constexpr std::string_view kRecordHeader = "fotolark-history";
constexpr std::string_view kSessionHeader = "fotolark-session";
constexpr int kVersion = 1;
// Far past what a person draws; they bound what one damaged file can cost.
constexpr size_t kMaxMarks = 10000, kMaxPoints = 100000, kMaxTextUnits = 2000;
constexpr int64_t kMaxCoordinate = 2 * kMaxPictureSide;

constexpr const char* kKindWords[] = {"rectangle",   "ellipse", "line", "arrow",     "pen",
                                      "highlighter", "text",    "step", "redaction", "pixelate"};
constexpr const char* kSourceWords[] = {"capture", "screen", "region",  "delayed", "client",
                                        "window",  "all",    "monitor", "pick",    "opened"};

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        const size_t start = at;
        while (at < line.size() && line[at] != ' ') ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

std::vector<std::string_view> Lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

// A decimal number within [low, high], nothing else in the word.
std::optional<int64_t> Number(std::string_view word, int64_t low, int64_t high, int base = 10) {
    int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, error] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || error != std::errc() || ptr != end || value < low || value > high)
        return std::nullopt;
    if (base == 16 && (word[0] == '-' || word[0] == '+')) return std::nullopt;
    return value;
}

template <size_t N>
int WordIndex(const char* const (&words)[N], std::string_view word) {
    for (size_t i = 0; i < N; ++i)
        if (word == words[i]) return int(i);
    return -1;
}

std::optional<Point> PointOf(std::string_view word) {
    const size_t comma = word.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto x = Number(word.substr(0, comma), -kMaxCoordinate, kMaxCoordinate);
    const auto y = Number(word.substr(comma + 1), -kMaxCoordinate, kMaxCoordinate);
    if (!x || !y) return std::nullopt;
    return Point{int32_t(*x), int32_t(*y)};
}

std::string TextWord(const std::wstring& text) {
    if (text.empty()) return "-";
    std::string word;
    char unit[8];
    for (const wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04x", unsigned(c) & 0xFFFF);
        word += unit;
    }
    return word;
}

// Printable units and line feeds only: a text mark is typed, lines and all.
std::optional<std::wstring> TextOf(std::string_view word) {
    if (word == "-") return std::wstring();
    if (word.size() % 4 || word.size() / 4 > kMaxTextUnits) return std::nullopt;
    std::wstring text;
    for (size_t i = 0; i < word.size(); i += 4) {
        const auto unit = Number(word.substr(i, 4), 0x0A, 0xFFFF, 16);
        if (!unit || *unit == 0x7F || (*unit < 0x20 && *unit != 0x0A)) return std::nullopt;
        text.push_back(wchar_t(*unit));
    }
    return text;
}

// A mark line of a kind this version knows; nullopt when damaged.
std::optional<Mark> MarkOf(const std::vector<std::string_view>& w, Kind kind) {
    if (w.size() < 7 || w.size() - 6 > kMaxPoints) return std::nullopt;
    Mark m;
    m.kind = kind;
    const auto color = w[2].size() == 6 ? Number(w[2], 0, 0xFFFFFF, 16) : std::nullopt;
    const auto width = Number(w[3], markup::kMinWidth, markup::kMaxWidth);
    const auto number = Number(w[4], 0, 99999);
    const auto text = TextOf(w[5]);
    if (!color || !width || !number || !text) return std::nullopt;
    m.color = markup::Rgb(*color);
    m.width = int32_t(*width);
    m.number = int32_t(*number);
    m.text = *text;
    size_t first = 6;
    // A text's line width, where the user set one.
    if (w[6].substr(0, 5) == "wrap=") {
        const auto wrap = Number(w[6].substr(5), 1, kMaxCoordinate);
        if (!wrap || w.size() < 8) return std::nullopt;
        m.wrap = int32_t(*wrap);
        first = 7;
    }
    for (size_t i = first; i < w.size(); ++i) {
        const auto p = PointOf(w[i]);
        if (!p) return std::nullopt;
        m.points.push_back(*p);
    }
    return m;
}

bool HeaderOf(std::string_view line, std::string_view name) {
    const auto w = Words(line);
    return w.size() == 2 && w[0] == name && Number(w[1], kVersion, 999);
}

std::wstring Ascii(std::string_view word) { return std::wstring(word.begin(), word.end()); }

bool OnlyDigitsAndDashes(const std::wstring& s) {
    for (const wchar_t c : s)
        if (!((c >= L'0' && c <= L'9') || c == L'-')) return false;
    return true;
}

}  // namespace

std::string WriteRecord(const Record& r) {
    char line[128];
    std::string out = std::string(kRecordHeader) + " " + std::to_string(kVersion) + "\n";
    out += std::string("source ") + kSourceWords[int(r.source)] + "\n";
    std::snprintf(line, sizeof line, "time %04d-%02d-%02d %02d:%02d:%02d\n", r.time.year,
                  r.time.month, r.time.day, r.time.hour, r.time.minute, r.time.second);
    out += line;
    out += "picture " + std::to_string(r.width) + " " + std::to_string(r.height) + "\n";
    const Box& c = r.doc.crop;
    out += "crop " + std::to_string(c.left) + " " + std::to_string(c.top) + " " +
           std::to_string(c.right) + " " + std::to_string(c.bottom) + "\n";
    for (const Mark& m : r.doc.marks) {
        std::snprintf(line, sizeof line, "mark %s %06x %d %d ", kKindWords[int(m.kind)],
                      unsigned(m.color & 0xFFFFFF), int(m.width), int(m.number));
        out += line + TextWord(m.text);
        if (m.wrap > 0) out += " wrap=" + std::to_string(m.wrap);
        for (const Point& p : m.points)
            out += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        out += "\n";
    }
    return out;
}

std::optional<Record> ReadRecord(std::string_view bytes) {
    if (bytes.size() > kMaxRecordBytes) return std::nullopt;
    const auto lines = Lines(bytes);
    if (lines.empty() || !HeaderOf(lines[0], kRecordHeader)) return std::nullopt;
    Record r;
    std::optional<Box> crop;
    bool sized = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto w = Words(lines[i]);
        if (w.empty()) continue;
        if (w[0] == "source" && w.size() == 2) {
            const int source = WordIndex(kSourceWords, w[1]);
            r.source = source < 0 ? Source::Capture : Source(source);
        } else if (w[0] == "time") {
            if (w.size() != 3 || w[1].size() != 10 || w[2].size() != 8 || w[1][4] != '-' ||
                w[1][7] != '-' || w[2][2] != ':' || w[2][5] != ':')
                return std::nullopt;
            const auto year = Number(w[1].substr(0, 4), 1601, 9999);
            const auto month = Number(w[1].substr(5, 2), 1, 12);
            const auto day = Number(w[1].substr(8, 2), 1, 31);
            const auto hour = Number(w[2].substr(0, 2), 0, 23);
            const auto minute = Number(w[2].substr(3, 2), 0, 59);
            const auto second = Number(w[2].substr(6, 2), 0, 59);
            if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
            r.time = Stamp{int32_t(*year), int32_t(*month),  int32_t(*day),
                           int32_t(*hour), int32_t(*minute), int32_t(*second)};
        } else if (w[0] == "picture") {
            if (w.size() != 3) return std::nullopt;
            const auto width = Number(w[1], 1, kMaxPictureSide);
            const auto height = Number(w[2], 1, kMaxPictureSide);
            if (!width || !height || !SizeAllowed(*width, *height)) return std::nullopt;
            r.width = int32_t(*width);
            r.height = int32_t(*height);
            sized = true;
        } else if (w[0] == "crop") {
            if (w.size() != 5) return std::nullopt;
            int64_t v[4];
            for (int k = 0; k < 4; ++k) {
                const auto n = Number(w[k + 1], 0, kMaxPictureSide);
                if (!n) return std::nullopt;
                v[k] = *n;
            }
            crop = Box{int32_t(v[0]), int32_t(v[1]), int32_t(v[2]), int32_t(v[3])};
        } else if (w[0] == "mark" && w.size() >= 2) {
            const int kind = WordIndex(kKindWords, w[1]);
            if (kind < 0) continue;  // a kind of a later version
            auto mark = MarkOf(w, Kind(kind));
            if (!mark || r.doc.marks.size() >= kMaxMarks) return std::nullopt;
            r.doc.marks.push_back(std::move(*mark));
        }
    }
    if (!sized) return std::nullopt;
    const Box whole{0, 0, r.width, r.height};
    if (crop && (crop->Empty() || crop->right > r.width || crop->bottom > r.height))
        return std::nullopt;
    r.doc.crop = crop ? *crop : whole;
    return r;
}

std::wstring RecentItemText(const Record& r, const std::wstring& sourceName) {
    wchar_t time[16];
    std::swprintf(time, 16, L"%02d:%02d:%02d", r.time.hour, r.time.minute, r.time.second);
    return std::wstring(time) + L"  " + sourceName + L"  " + std::to_wstring(r.width) + L"x" +
           std::to_wstring(r.height);
}

std::string WriteSession(const Session& s) {
    std::string out = std::string(kSessionHeader) + " " + std::to_string(kVersion) + "\n";
    if (IsEntryName(s.current))
        out += "current " + std::string(s.current.begin(), s.current.end()) + "\n";
    out += s.unsaved ? "unsaved 1\n" : "unsaved 0\n";
    if (IsDumpName(s.dump)) out += "dump " + std::string(s.dump.begin(), s.dump.end()) + "\n";
    return out;
}

std::optional<Session> ReadSession(std::string_view bytes) {
    if (bytes.size() > 4096) return std::nullopt;
    const auto lines = Lines(bytes);
    if (lines.empty() || !HeaderOf(lines[0], kSessionHeader)) return std::nullopt;
    Session s;
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto w = Words(lines[i]);
        if (w.size() != 2) continue;
        if (w[0] == "current") {
            s.current = Ascii(w[1]);
            if (!IsEntryName(s.current)) return std::nullopt;
        } else if (w[0] == "unsaved") {
            const auto flag = Number(w[1], 0, 1);
            if (!flag) return std::nullopt;
            s.unsaved = *flag == 1;
        } else if (w[0] == "dump") {
            s.dump = Ascii(w[1]);
            if (!IsDumpName(s.dump)) return std::nullopt;
        }
    }
    return s;
}

bool IsEntryName(const std::wstring& name) {
    return !name.empty() && name.size() <= 40 && OnlyDigitsAndDashes(name);
}

bool IsDumpName(const std::wstring& name) {
    constexpr std::wstring_view start = L"crash-", end = L".dmp";
    if (name.size() <= start.size() + end.size() || name.size() > 60 ||
        name.compare(0, start.size(), start) != 0 ||
        name.compare(name.size() - end.size(), end.size(), end) != 0)
        return false;
    return OnlyDigitsAndDashes(name.substr(start.size(), name.size() - start.size() - end.size()));
}

}  // namespace output::history
