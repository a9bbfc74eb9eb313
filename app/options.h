// The user's options as stored (text values beside the placement): each one
// read on its own, and a value that is missing, of the wrong kind or out of
// range gives that option's default, which is the program's behaviour
// without options.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace app {

struct Options {
    bool autoSave = false;
    std::wstring autoSaveFolder;  // empty: the user's Pictures folder
    std::wstring fileNamePattern;
    bool afterCaptureCopy = false;
    bool afterCaptureOpenFolder = false;
    bool afterCapturePin = false;
    bool history = true;
    bool pinsRestore = true;
    bool runAtStart = false;
    bool trayIcon = false;
};

// The stored text of a value, or nothing when it is missing or not text.
using StoredValue = std::function<std::optional<std::wstring>(const wchar_t* name)>;

Options ReadOptions(const StoredValue& stored);
// Each value under its name, as ReadOptions reads them back.
void WriteOptions(const Options& options,
                  const std::function<void(const wchar_t* name, const std::wstring& text)>& store);

// The stored counter of saved captures: 1 to 999999999, 1 for anything else.
uint32_t ParseCounter(const std::optional<std::wstring>& text);

// "1" or "0"; anything else is no answer.
std::optional<bool> ParseFlag(const std::optional<std::wstring>& text);

}  // namespace app
