// Options read back from what the registry may hold after any edit.
#include <gtest/gtest.h>

#include <map>

#include "app/options.h"
#include "output/file_name_pattern.h"

namespace {

using Stored = std::map<std::wstring, std::wstring>;

app::Options Read(const Stored& values) {
    return app::ReadOptions([&](const wchar_t* name) -> std::optional<std::wstring> {
        const auto found = values.find(name);
        if (found == values.end()) return std::nullopt;
        return found->second;
    });
}

bool Same(const app::Options& a, const app::Options& b) {
    return a.autoSave == b.autoSave && a.autoSaveFolder == b.autoSaveFolder &&
           a.fileNamePattern == b.fileNamePattern && a.afterCaptureCopy == b.afterCaptureCopy &&
           a.afterCaptureOpenFolder == b.afterCaptureOpenFolder && a.history == b.history &&
           a.pinsRestore == b.pinsRestore && a.runAtStart == b.runAtStart &&
           a.trayIcon == b.trayIcon;
}

}  // namespace

TEST(Options, NothingStoredIsTheProgramWithoutOptions) {
    const app::Options o = Read({});
    EXPECT_FALSE(o.autoSave || o.afterCaptureCopy || o.afterCaptureOpenFolder || o.runAtStart ||
                 o.trayIcon);
    EXPECT_TRUE(o.history && o.pinsRestore);
    EXPECT_EQ(o.fileNamePattern, output::kDefaultFileNamePattern);
}

TEST(Options, WhatIsWrittenReadsBack) {
    app::Options o;
    o.autoSave = o.afterCaptureCopy = o.runAtStart = o.trayIcon = true;
    o.history = false;
    o.autoSaveFolder = L"D:\\截图";
    o.fileNamePattern = L"%title %3n.jpg";
    Stored stored;
    app::WriteOptions(o,
                      [&](const wchar_t* name, const std::wstring& text) { stored[name] = text; });
    EXPECT_TRUE(Same(Read(stored), o));
}

// Garbage in one value leaves the others as stored.
TEST(Options, GarbageGivesThatValuesDefaultOnly) {
    app::Options o;
    o.autoSave = o.afterCaptureCopy = o.afterCaptureOpenFolder = o.runAtStart = o.trayIcon = true;
    o.history = o.pinsRestore = false;
    o.autoSaveFolder = L"C:\\shots";
    o.fileNamePattern = L"%n.bmp";
    Stored good;
    app::WriteOptions(o, [&](const wchar_t* name, const std::wstring& text) { good[name] = text; });
    const app::Options defaults = Read({});
    for (const auto& [name, text] : good) {
        for (const std::wstring garbage :
             {std::wstring(L"yes"), std::wstring(L"2"), std::wstring(L" 1"), std::wstring(L"a\nb"),
              std::wstring(5000, L'x')}) {
            if (name == L"AutoSaveFolder" && garbage.size() < 5 &&
                garbage.find(L'\n') == std::wstring::npos)
                continue;  // any short text is a folder name
            if (name == L"FileNamePattern" && garbage.size() < 5 &&
                garbage.find(L'\n') == std::wstring::npos)
                continue;
            Stored bad = good;
            bad[name] = garbage;
            app::Options expected = o;
            app::Options d = defaults;
            // Only the spoilt value falls back.
            if (name == L"AutoSave") expected.autoSave = d.autoSave;
            if (name == L"AfterCaptureCopy") expected.afterCaptureCopy = d.afterCaptureCopy;
            if (name == L"AfterCaptureOpenFolder")
                expected.afterCaptureOpenFolder = d.afterCaptureOpenFolder;
            if (name == L"History") expected.history = d.history;
            if (name == L"PinsRestore") expected.pinsRestore = d.pinsRestore;
            if (name == L"RunAtStart") expected.runAtStart = d.runAtStart;
            if (name == L"TrayIcon") expected.trayIcon = d.trayIcon;
            if (name == L"AutoSaveFolder") expected.autoSaveFolder = d.autoSaveFolder;
            if (name == L"FileNamePattern") expected.fileNamePattern = d.fileNamePattern;
            EXPECT_TRUE(Same(Read(bad), expected)) << std::string(name.begin(), name.end());
        }
    }
    EXPECT_EQ(Read({{L"FileNamePattern", L""}}).fileNamePattern, output::kDefaultFileNamePattern);
}
