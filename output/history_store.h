// The capture history on disk: per entry a PNG of the picture, redactions
// burnt in, and its record (history_record.h). Pictures are written by a
// thread of their own, oldest entries removed past the bounds; a note of the
// running program's state tells the next start whether it ended unannounced.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "output/history_record.h"
#include "output/pixel_rows.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace output::history {

constexpr size_t kMaxEntries = 50;
constexpr uint64_t kMaxBytes = 500ull << 20;

// %LOCALAPPDATA%\Fotolark\History\, or the folder tests gave.
std::wstring DefaultFolder();
// For tests: another folder (with its final backslash); empty restores the default.
void SetFolderForTests(std::wstring folder);

struct Entry {
    std::wstring name;
    Record record;
};

// What an unannounced end of the last run left.
struct Leftover {
    std::optional<Entry> unsaved;  // the picture it held unsaved, when still readable
    std::wstring dump;             // the crash report's path, or empty
};

class Store {
public:
    explicit Store(std::wstring folder, size_t maxEntries = kMaxEntries,
                   uint64_t maxBytes = kMaxBytes);
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    // Waits for what is queued.
    ~Store();

    const std::wstring& Folder() const { return folder_; }

    // Claims this run's note; the notes of runs that ended without removing
    // theirs are read and removed. Call once, before anything is written.
    Leftover Start();
    // An orderly end: everything queued is written, then the note removed.
    void Finish();

    // A new entry's name, from the time and unused in the folder.
    std::wstring NewName(const Stamp& time);
    // Queues the entry's record, and its picture when not yet on disk or when
    // its redactions changed since it was written. The picture is read on the
    // writer's thread, so it must not change afterwards (the viewer's never
    // does); one already on disk is the PNG's pixels as they were read.
    void Keep(const std::wstring& name, const toolkit::Picture& picture, Record record,
              bool pictureOnDisk);
    void Note(const Session& session);
    // Blocks until the queue is empty.
    void Drain();

    // Readable entries, newest first, at most `count`; damaged ones are passed over.
    std::vector<Entry> Recent(size_t count) const;
    std::optional<Entry> Read(const std::wstring& name) const;
    std::wstring PicturePath(const std::wstring& name) const { return folder_ + name + L".png"; }
    // Removes every entry (not this run's note); returns how many went.
    size_t Clear();

    // For a crash: the record and note written at once on the calling thread,
    // bypassing the queue, whose thread may be the one that failed. The
    // redactions stay marks in this record: the PNG may not have them yet.
    void WriteNow(const std::wstring& name, const Record& record, const Session& session);

private:
    struct Job {
        std::wstring name;
        ReadablePixels picture;
        bool pictureOnDisk = false;
        std::optional<Record> record;
        std::optional<Session> session;
    };
    void Enqueue(Job job);
    void Run();
    void Write(Job& job);
    bool WritePicture(const std::wstring& name, const ReadablePixels& picture,
                      const markup::Document& doc);
    void Prune(const std::wstring& keep);
    void WriteNote(const std::string& bytes);

    std::wstring folder_;
    size_t maxEntries_;
    uint64_t maxBytes_;
    std::wstring lastNamed_;
    toolkit::UniqueFile note_;
    std::wstring noteName_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<Job> jobs_;
    bool busy_ = false, stop_ = false;
    // The entry written last and the redactions burnt into its PNG; the
    // writer's thread's own.
    std::wstring lastName_;
    std::vector<markup::Box> lastBurnt_;
    std::thread writer_;
};

// The local time now.
Stamp LocalNow();
// The redactions of a document, as the boxes burnt into the history's PNG.
std::vector<markup::Box> Redactions(const markup::Document& doc);
// The record kept beside the PNG: the redactions are in its pixels instead.
Record WithoutRedactions(Record record);

}  // namespace output::history
