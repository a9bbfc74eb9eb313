// What the capture history keeps beside each picture: when and how it was
// taken, its size and its marks, as a small versioned text file. Read back
// with every value checked; a file that fails a check is ignored whole,
// lines of kinds it does not know are skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "output/markup_history.h"

namespace output::history {

// How the picture came to be; stored as a word, so the order may change.
enum class Source {
    Capture,
    Screen,
    Region,
    Delayed,
    Client,
    Window,
    AllMonitors,
    Monitor,
    Pick,
    Opened,
};

// Local wall-clock time, as the user read it.
struct Stamp {
    int32_t year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

struct Record {
    Source source = Source::Capture;
    Stamp time;
    int32_t width = 0, height = 0;  // the picture's pixels
    markup::Document doc;           // its marks and crop
};

// Larger files are not ours: nothing we write comes near.
constexpr size_t kMaxRecordBytes = 16 << 20;

std::string WriteRecord(const Record& record);
std::optional<Record> ReadRecord(std::string_view bytes);

// "14:03:15  全屏  1920x1080": the entry's line in the Recent menu.
std::wstring RecentItemText(const Record& record, const std::wstring& sourceName);

// The running program's note of what it holds, read at the next start to
// tell a kill or a crash from an orderly exit.
struct Session {
    std::wstring current;  // the entry the viewer shows, or empty
    bool unsaved = false;
    std::wstring dump;  // a crash report's file name in the history folder, or empty
};

std::string WriteSession(const Session& session);
std::optional<Session> ReadSession(std::string_view bytes);

// Entry names are made of digits and dashes only, so no name read back can
// reach outside the folder.
bool IsEntryName(const std::wstring& name);
bool IsDumpName(const std::wstring& name);

}  // namespace output::history
