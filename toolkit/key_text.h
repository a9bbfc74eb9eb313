// A global key as its shortcut text ("Ctrl+Shift+F9", "Print Screen"), both
// ways: how the keys are shown and stored.
#pragma once

#include <optional>
#include <string>

namespace toolkit {

// RegisterHotKey's modifier bits and virtual-key codes, so that this builds
// without <windows.h>.
constexpr unsigned kModAlt = 1, kModControl = 2, kModShift = 4, kModWin = 8;
constexpr unsigned kVkSnapshot = 0x2C;

struct KeyChord {
    unsigned modifiers = 0;
    unsigned vk = 0;  // 0: no key
    bool None() const { return vk == 0; }
    bool operator==(const KeyChord& o) const { return modifiers == o.modifiers && vk == o.vk; }
    bool operator!=(const KeyChord& o) const { return !(*this == o); }
};

// Empty for no key, and for a key that has no name here.
std::wstring KeyText(KeyChord key);
// Empty text is no key; text that names no key (or a modifier twice, or
// modifiers alone) is nothing.
std::optional<KeyChord> ParseKeyText(const std::wstring& text);

}  // namespace toolkit
