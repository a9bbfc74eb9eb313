#include "output/file_name_pattern.h"

#include <cwctype>

namespace output {

namespace {

// Room for a folder and " (9999)" within MAX_PATH.
constexpr size_t kMaxStem = 120;
constexpr int kMaxCopies = 9999;

std::wstring Padded(uint64_t value, int digits) {
    std::wstring text = std::to_wstring(value);
    if (int(text.size()) < digits) text.insert(0, size_t(digits) - text.size(), L'0');
    return text;
}

bool Forbidden(wchar_t c) {
    return c < 32 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'/' || c == L'\\' ||
           c == L'|' || c == L'?' || c == L'*';
}

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = wchar_t(std::towlower(c));
    return s;
}

// ".png" etc. when the name ends in a picture extension; empty otherwise.
std::wstring PictureExtension(const std::wstring& name) {
    const size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos) return {};
    const std::wstring ext = Lower(name.substr(dot));
    return ext == L".png" || ext == L".bmp" || ext == L".jpg" || ext == L".jpeg" ? name.substr(dot)
                                                                                 : std::wstring();
}

bool DeviceName(const std::wstring& stem) {
    const std::wstring base = Lower(stem.substr(0, stem.find(L'.')));
    for (const wchar_t* d : {L"con", L"prn", L"aux", L"nul"})
        if (base == d) return true;
    return base.size() == 4 &&
           (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

bool StartsWith(const std::wstring& s, size_t at, const wchar_t* word) {
    for (size_t i = 0; word[i]; ++i)
        if (at + i >= s.size() || s[at + i] != word[i]) return false;
    return true;
}

std::wstring ExpandTokens(const std::wstring& pattern, const NameFields& f) {
    std::wstring out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const size_t at = i + 1;
        const wchar_t c = pattern[at];
        size_t used = 1;
        if (c == L'Y')
            out += Padded(uint64_t(f.year < 0 ? 0 : f.year), 4);
        else if (c == L'm')
            out += Padded(uint64_t(f.month < 0 ? 0 : f.month), 2);
        else if (c == L'd')
            out += Padded(uint64_t(f.day < 0 ? 0 : f.day), 2);
        else if (c == L'H')
            out += Padded(uint64_t(f.hour < 0 ? 0 : f.hour), 2);
        else if (c == L'M')
            out += Padded(uint64_t(f.minute < 0 ? 0 : f.minute), 2);
        else if (c == L'S')
            out += Padded(uint64_t(f.second < 0 ? 0 : f.second), 2);
        else if (c == L'n')
            out += std::to_wstring(f.counter);
        else if (c >= L'1' && c <= L'9' && at + 1 < pattern.size() && pattern[at + 1] == L'n') {
            out += Padded(f.counter, c - L'0');
            used = 2;
        } else if (c == L'w')
            out += std::to_wstring(f.width < 0 ? 0 : f.width);
        else if (c == L'h')
            out += std::to_wstring(f.height < 0 ? 0 : f.height);
        else if (StartsWith(pattern, at, L"title")) {
            out += f.title;
            used = 5;
        } else if (StartsWith(pattern, at, L"program")) {
            out += f.program;
            used = 7;
        } else if (c == L'%')
            out += L'%';
        else {
            out += L'%';
            used = 0;
        }  // not a token: kept as typed
        i += used;
    }
    return out;
}

}  // namespace

std::wstring ExpandFileNamePattern(const std::wstring& pattern, const NameFields& fields) {
    std::wstring ext = PictureExtension(pattern);
    const std::wstring stemPattern = pattern.substr(0, pattern.size() - ext.size());
    if (ext.empty()) ext = L".png";
    std::wstring stem = ExpandTokens(stemPattern, fields);
    for (wchar_t& c : stem)
        if (Forbidden(c)) c = L'_';
    if (stem.size() > kMaxStem) {
        size_t cut = kMaxStem;
        if (stem[cut - 1] >= 0xD800 && stem[cut - 1] < 0xDC00) --cut;  // not half a character
        stem.resize(cut);
    }
    // Windows drops trailing dots and spaces, and leading spaces confuse.
    while (!stem.empty() && (stem.back() == L'.' || stem.back() == L' ')) stem.pop_back();
    while (!stem.empty() && stem.front() == L' ') stem.erase(0, 1);
    if (stem.empty()) stem = L"Fotolark";
    if (DeviceName(stem)) stem.insert(0, 1, L'_');
    return stem + ext;
}

std::wstring FreeName(const std::wstring& name,
                      const std::function<bool(const std::wstring&)>& taken) {
    if (!taken(name)) return name;
    const size_t dot = name.find_last_of(L'.');
    const std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
    const std::wstring ext = dot == std::wstring::npos ? L"" : name.substr(dot);
    for (int n = 2; n <= kMaxCopies; ++n) {
        const std::wstring candidate = stem + L" (" + std::to_wstring(n) + L")" + ext;
        if (!taken(candidate)) return candidate;
    }
    return {};
}

}  // namespace output
