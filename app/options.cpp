#include "app/options.h"

#include "output/file_name_pattern.h"

namespace app {

namespace {

// Longer than any folder or pattern a person types; past it, a value is
// not one we wrote.
constexpr size_t kMaxText = 1024;

struct FlagValue {
    const wchar_t* name;
    bool Options::*field;
};

constexpr FlagValue kFlags[] = {
    {L"AutoSave", &Options::autoSave},
    {L"AfterCaptureCopy", &Options::afterCaptureCopy},
    {L"AfterCaptureOpenFolder", &Options::afterCaptureOpenFolder},
    {L"AfterCapturePin", &Options::afterCapturePin},
    {L"History", &Options::history},
    {L"PinsRestore", &Options::pinsRestore},
    {L"RunAtStart", &Options::runAtStart},
    {L"TrayIcon", &Options::trayIcon},
};

bool PlainText(const std::wstring& text) {
    if (text.size() > kMaxText) return false;
    for (wchar_t c : text)
        if (c < 32) return false;
    return true;
}

}  // namespace

std::optional<bool> ParseFlag(const std::optional<std::wstring>& text) {
    if (text == L"1") return true;
    if (text == L"0") return false;
    return std::nullopt;
}

uint32_t ParseCounter(const std::optional<std::wstring>& text) {
    if (!text || text->empty() || text->size() > 9) return 1;
    uint32_t value = 0;
    for (wchar_t c : *text) {
        if (c < L'0' || c > L'9') return 1;
        value = value * 10 + uint32_t(c - L'0');
    }
    return value == 0 ? 1 : value;
}

Options ReadOptions(const StoredValue& stored) {
    Options options;
    options.fileNamePattern = output::kDefaultFileNamePattern;
    for (const FlagValue& flag : kFlags)
        if (const auto value = ParseFlag(stored(flag.name))) options.*flag.field = *value;
    const auto folder = stored(L"AutoSaveFolder");
    if (folder && PlainText(*folder)) options.autoSaveFolder = *folder;
    const auto pattern = stored(L"FileNamePattern");
    if (pattern && !pattern->empty() && PlainText(*pattern)) options.fileNamePattern = *pattern;
    return options;
}

void WriteOptions(const Options& options,
                  const std::function<void(const wchar_t* name, const std::wstring& text)>& store) {
    for (const FlagValue& flag : kFlags) store(flag.name, options.*flag.field ? L"1" : L"0");
    store(L"AutoSaveFolder", options.autoSaveFolder);
    store(L"FileNamePattern", options.fileNamePattern);
}

}  // namespace app
