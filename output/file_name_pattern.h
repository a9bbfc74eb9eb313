// The names captures are saved under by themselves: a pattern with tokens
// for the time, a counter, the size and, for window captures, the window's
// title and program. Every name it gives is one Windows accepts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace output {

struct NameFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    uint32_t counter = 1;
    int width = 0, height = 0;
    std::wstring title, program;  // empty for captures of no window
};

constexpr wchar_t kDefaultFileNamePattern[] = L"Fotolark %Y-%m-%d %H%M%S.png";

// The file name for these fields: tokens %Y %m %d %H %M %S, %n (%2n... %9n
// zero-padded), %w %h, %title %program, %% for a percent sign. Characters
// Windows forbids become "_". The pattern's extension (.png .bmp .jpg .jpeg)
// gives the format the file is written in; without one, ".png". Never
// empty, never a device name, never a folder.
std::wstring ExpandFileNamePattern(const std::wstring& pattern, const NameFields& fields);

// The name itself when `taken` says it is free, else "stem (2).ext",
// "stem (3).ext"...; empty when every one up to a limit is taken.
std::wstring FreeName(const std::wstring& name,
                      const std::function<bool(const std::wstring&)>& taken);

}  // namespace output
