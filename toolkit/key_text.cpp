#include "toolkit/key_text.h"

#include <cwctype>

namespace toolkit {

namespace {

struct NamedKey {
    unsigned vk;
    const wchar_t* name;
};

// Named as the keys are labelled; letters, digits and F-keys are built below.
constexpr NamedKey kNamedKeys[] = {
    {kVkSnapshot, L"Print Screen"},
    {0x13, L"Pause"},
    {0x91, L"Scroll Lock"},
    {0x2D, L"Insert"},
    {0x2E, L"Delete"},
    {0x24, L"Home"},
    {0x23, L"End"},
    {0x21, L"Page Up"},
    {0x22, L"Page Down"},
    {0x25, L"Left"},
    {0x26, L"Up"},
    {0x27, L"Right"},
    {0x28, L"Down"},
    {0x20, L"Space"},
    {0x1B, L"Esc"},
    {0x09, L"Tab"},
    {0x0D, L"Enter"},
    {0x08, L"Backspace"},
};

constexpr NamedKey kModifiers[] = {
    {kModControl, L"Ctrl"}, {kModShift, L"Shift"}, {kModAlt, L"Alt"}, {kModWin, L"Win"}};

constexpr unsigned kVkF1 = 0x70, kVkNumpad0 = 0x60;

std::wstring KeyName(unsigned vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::wstring(1, wchar_t(vk));
    if (vk >= kVkF1 && vk < kVkF1 + 24) return L"F" + std::to_wstring(vk - kVkF1 + 1);
    if (vk >= kVkNumpad0 && vk < kVkNumpad0 + 10) return L"Num " + std::to_wstring(vk - kVkNumpad0);
    for (const NamedKey& k : kNamedKeys)
        if (k.vk == vk) return k.name;
    return {};
}

bool SameWord(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return i == a.size() && !b[i];
}

std::optional<unsigned> KeyOfName(const std::wstring& name) {
    for (unsigned vk = 1; vk < 256; ++vk) {
        const std::wstring known = KeyName(vk);
        if (!known.empty() && SameWord(name, known.c_str())) return vk;
    }
    return std::nullopt;
}

std::wstring Trimmed(const std::wstring& s) {
    const size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}

}  // namespace

std::wstring KeyText(KeyChord key) {
    const std::wstring name = KeyName(key.vk);
    if (name.empty()) return {};
    std::wstring text;
    for (const NamedKey& m : kModifiers)
        if (key.modifiers & m.vk) text += std::wstring(m.name) + L"+";
    return text + name;
}

std::optional<KeyChord> ParseKeyText(const std::wstring& text) {
    if (Trimmed(text).empty()) return KeyChord{};
    KeyChord key;
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find(L'+', start);
        const std::wstring part = Trimmed(text.substr(start, plus - start));
        if (plus == std::wstring::npos) {
            const auto vk = KeyOfName(part);
            if (!vk) return std::nullopt;
            key.vk = *vk;
            return key;
        }
        unsigned bit = 0;
        for (const NamedKey& m : kModifiers)
            if (SameWord(part, m.name)) bit = m.vk;
        if (!bit || (key.modifiers & bit)) return std::nullopt;
        key.modifiers |= bit;
        start = plus + 1;
    }
}

}  // namespace toolkit
