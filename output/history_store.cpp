#include "output/history_store.h"

#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "output/imaging.h"
#include "output/markup_render.h"
#include "output/pixel_rows.h"

namespace output::history {

namespace {

using toolkit::ComPtr;
using toolkit::UniqueFile;

constexpr wchar_t kRecordExtension[] = L".txt";
constexpr long kMaxWaitingPictures = 4;

std::wstring& FolderForTests() {
    static std::wstring folder;
    return folder;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* at = static_cast<const char*>(data);
    for (size_t left = size; left;) {
        const DWORD piece = DWORD(std::min<size_t>(left, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, at, piece, &written, nullptr) || written != piece) return false;
        at += piece;
        left -= piece;
    }
    return true;
}

// Whole or not at all: a kill mid-write leaves the old file, never half a new one.
bool WriteWhole(const std::wstring& path, const void* data, size_t size) {
    const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    bool whole = false;
    {
        UniqueFile out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return false;
        whole = WriteAll(out.get(), data, size);
    }
    if (whole && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temp.c_str());
    return false;
}

std::optional<std::string> ReadSmallFile(HANDLE file, size_t limit) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || uint64_t(size.QuadPart) > limit) return std::nullopt;
    std::string bytes(size_t(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

std::optional<std::string> ReadSmallFile(const std::wstring& path, size_t limit) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    return ReadSmallFile(file.get(), limit);
}

uint32_t BigEndian(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The PNG's signature and header say the size its record gives: a file cut
// short or replaced is not offered.
bool PngFits(const std::wstring& path, const Record& record) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char head[24];
    DWORD read = 0;
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 57 ||
        !ReadFile(file.get(), head, sizeof head, &read, nullptr) || read != sizeof head)
        return false;
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return std::memcmp(head, kSignature, 8) == 0 && std::memcmp(head + 12, "IHDR", 4) == 0 &&
           BigEndian(head + 16) == uint32_t(record.width) &&
           BigEndian(head + 20) == uint32_t(record.height);
}

// Entry names in the folder, oldest first, with the bytes of each.
std::vector<std::pair<std::wstring, uint64_t>> Listed(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, uint64_t>> entries;
    WIN32_FIND_DATAW found{};
    const toolkit::UniqueFind find(FindFirstFileW((folder + L"*.png").c_str(), &found));
    if (!find) return entries;
    do {
        std::wstring name = found.cFileName;
        name.resize(name.size() - 4);
        if (!IsEntryName(name)) continue;
        const uint64_t bytes = uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
        entries.emplace_back(std::move(name), bytes);
    } while (FindNextFileW(find.get(), &found));
    std::sort(entries.begin(), entries.end());
    return entries;
}

Stamp Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return Stamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

std::wstring DefaultFolder() {
    if (!FolderForTests().empty()) return FolderForTests();
    PWSTR local = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local);
    const toolkit::UniqueTaskString owned(local);
    return SUCCEEDED(found) && local ? std::wstring(local) + L"\\Fotolark\\History\\"
                                     : std::wstring();
}

void SetFolderForTests(std::wstring folder) { FolderForTests() = std::move(folder); }

std::vector<markup::Box> Redactions(const markup::Document& doc) {
    std::vector<markup::Box> boxes;
    for (const markup::Mark& m : doc.marks)
        if (m.kind == markup::Kind::Redaction) boxes.push_back(markup::Bounds(m));
    return boxes;
}

Record WithoutRedactions(Record record) {
    auto& marks = record.doc.marks;
    marks.erase(
        std::remove_if(marks.begin(), marks.end(),
                       [](const markup::Mark& m) { return m.kind == markup::Kind::Redaction; }),
        marks.end());
    return record;
}

Store::Store(std::wstring folder, size_t maxEntries, uint64_t maxBytes)
    : folder_(std::move(folder)), maxEntries_(maxEntries), maxBytes_(maxBytes) {}

Store::~Store() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable()) writer_.join();
}

Leftover Store::Start() {
    Leftover left;
    if (folder_.empty()) return left;
    SHCreateDirectoryExW(nullptr, folder_.substr(0, folder_.size() - 1).c_str(), nullptr);
    // A running program holds its note open without leave to delete it; any
    // note that can be opened for deletion belongs to a run that is over.
    std::optional<Session> latest;
    WIN32_FIND_DATAW found{};
    const toolkit::UniqueFind find(FindFirstFileW((folder_ + L"session-*.txt").c_str(), &found));
    if (find) {
        do {
            UniqueFile note(CreateFileW((folder_ + found.cFileName).c_str(), GENERIC_READ | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                                        nullptr));
            if (!note) continue;
            const auto bytes = ReadSmallFile(note.get(), 4096);
            const auto session = bytes ? ReadSession(*bytes) : std::nullopt;
            if (!session) continue;
            if (!session->dump.empty()) left.dump = folder_ + session->dump;
            if (session->unsaved && !session->current.empty() &&
                (!latest || session->current > latest->current))
                latest = session;
        } while (FindNextFileW(find.get(), &found));
    }
    if (latest) left.unsaved = Read(latest->current);

    noteName_ = folder_ + L"session-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L".txt";
    note_.reset(CreateFileW(noteName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    WriteNote(WriteSession(Session{}));
    writer_ = std::thread([this] { Run(); });
    return left;
}

void Store::Finish() {
    Drain();
    if (note_) {
        note_.reset();
        DeleteFileW(noteName_.c_str());
    }
}

std::wstring Store::NewName(const Stamp& t) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t base[40];
    swprintf(base, 40, L"%04d%02d%02d-%02d%02d%02d-%03d", t.year, t.month, t.day, t.hour, t.minute,
             t.second, int(now.wMilliseconds));
    std::wstring name = base;
    for (int n = 1;
         n < 1000 && (GetFileAttributesW(PicturePath(name).c_str()) != INVALID_FILE_ATTRIBUTES ||
                      name <= lastNamed_);
         ++n)
        name = std::wstring(base) + L"-" + std::to_wstring(n);
    lastNamed_ = name;
    return name;
}

void Store::Keep(const std::wstring& name, const toolkit::Picture& picture, Record record,
                 bool pictureOnDisk) {
    Enqueue(Job{name, WithReadablePixels(picture, false), pictureOnDisk, std::move(record),
                std::nullopt});
}

void Store::Note(const Session& session) { Enqueue(Job{{}, {}, true, std::nullopt, session}); }

void Store::Enqueue(Job job) {
    if (!writer_.joinable()) return;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        // New pictures wait here past a few unwritten ones: a run of captures
        // faster than the disk takes them must not hold them all in memory.
        if (job.record && !job.pictureOnDisk)
            idle_.wait(lock, [this] {
                return std::count_if(jobs_.begin(), jobs_.end(), [](const Job& j) {
                           return j.record && !j.pictureOnDisk;
                       }) < kMaxWaitingPictures;
            });
        // Only the newest state of an entry is worth writing: one still
        // waiting is replaced, so a queue never grows behind a slow disk.
        if (!jobs_.empty() && jobs_.back().name == job.name &&
            bool(jobs_.back().record) == bool(job.record)) {
            Job& waiting = jobs_.back();
            job.pictureOnDisk = job.pictureOnDisk && waiting.pictureOnDisk;
            if (!job.session) job.session = std::move(waiting.session);
            waiting = std::move(job);
        } else {
            jobs_.push_back(std::move(job));
        }
    }
    wake_.notify_one();
}

void Store::Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void Store::Run() {
    // Below the window's thread: the capture is shown before it is kept.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
            if (jobs_.empty()) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
        }
        try {
            Write(job);
        } catch (...) {
            // Out of memory: this entry is not kept; the program goes on.
        }
        job = Job{};  // the picture goes before the queue says it is idle
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
        }
        idle_.notify_all();
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

void Store::Write(Job& job) {
    if (job.session) WriteNote(WriteSession(*job.session));
    if (!job.record) return;
    const std::vector<markup::Box> burnt = Redactions(job.record->doc);
    if (job.name != lastName_) {
        lastName_ = job.name;
        lastBurnt_.clear();  // a picture on disk is the PNG's own pixels
    }
    bool pictureWritten = job.pictureOnDisk && burnt == lastBurnt_;
    if (!pictureWritten && job.pictureOnDisk) {
        // Until the new PNG is whole, the redactions cover the old one as marks.
        const std::string covering = WriteRecord(*job.record);
        WriteWhole(folder_ + job.name + kRecordExtension, covering.data(), covering.size());
    }
    if (!pictureWritten && WritePicture(job.name, job.picture, job.record->doc)) {
        lastBurnt_ = burnt;
        pictureWritten = true;
    }
    if (!pictureWritten) return;
    const std::string record = WriteRecord(WithoutRedactions(*job.record));
    WriteWhole(folder_ + job.name + kRecordExtension, record.data(), record.size());
    if (!job.pictureOnDisk) Prune(job.name);
}

bool Store::WritePicture(const std::wstring& name, const ReadablePixels& picture,
                         const markup::Document& doc) {
    Rows24 rows;
    if (!ReadRows24(picture, rows)) return false;
    const UINT width = rows.width, height = rows.height, stride = rows.stride;
    // The redacted pixels never reach the disk: each redaction's fill, as drawn.
    for (const markup::Mark& m : doc.marks) {
        if (m.kind != markup::Kind::Redaction) continue;
        const markup::Box b = markup::Intersect(markup::Bounds(m),
                                                markup::Box{0, 0, int32_t(width), int32_t(height)});
        for (int32_t y = b.top; y < b.bottom; ++y)
            for (int32_t x = b.left; x < b.right; ++x) {
                BYTE* px = rows.bytes.data() + size_t(stride) * y + size_t(x) * 3;
                px[0] = BYTE(m.color);
                px[1] = BYTE(m.color >> 8);
                px[2] = BYTE(m.color >> 16);
            }
    }
    std::vector<char> png;
    return EncodeRows(GUID_ContainerFormatPng, rows.bytes.data(), width, height, stride, png) &&
           WriteWhole(PicturePath(name), png.data(), png.size());
}

void Store::Prune(const std::wstring& keep) {
    auto entries = Listed(folder_);
    uint64_t total = 0;
    for (auto& [name, bytes] : entries) {
        WIN32_FILE_ATTRIBUTE_DATA record{};
        if (GetFileAttributesExW((folder_ + name + kRecordExtension).c_str(), GetFileExInfoStandard,
                                 &record))
            bytes += uint64_t(record.nFileSizeHigh) << 32 | record.nFileSizeLow;
        total += bytes;
    }
    for (size_t i = 0, count = entries.size(); i < entries.size(); ++i) {
        if (count <= maxEntries_ && total <= maxBytes_) break;
        if (entries[i].first == keep) continue;
        DeleteFileW(PicturePath(entries[i].first).c_str());
        DeleteFileW((folder_ + entries[i].first + kRecordExtension).c_str());
        --count;
        total -= entries[i].second;
    }
}

std::optional<Entry> Store::Read(const std::wstring& name) const {
    if (!IsEntryName(name)) return std::nullopt;
    const auto bytes = ReadSmallFile(folder_ + name + kRecordExtension, kMaxRecordBytes);
    auto record = bytes ? ReadRecord(*bytes) : std::nullopt;
    if (!record || !PngFits(PicturePath(name), *record)) return std::nullopt;
    return Entry{name, std::move(*record)};
}

std::vector<Entry> Store::Recent(size_t count) const {
    std::vector<Entry> recent;
    const auto entries = Listed(folder_);
    for (auto it = entries.rbegin(); it != entries.rend() && recent.size() < count; ++it)
        if (auto entry = Read(it->first)) recent.push_back(std::move(*entry));
    return recent;
}

size_t Store::Clear() {
    Drain();
    size_t removed = 0;
    for (const auto& [name, bytes] : Listed(folder_)) {
        removed += DeleteFileW(PicturePath(name).c_str()) ? 1 : 0;
        DeleteFileW((folder_ + name + kRecordExtension).c_str());
    }
    return removed;
}

void Store::WriteNow(const std::wstring& name, const Record& record, const Session& session) {
    if (IsEntryName(name)) {
        const std::string bytes = WriteRecord(record);
        WriteWhole(folder_ + name + kRecordExtension, bytes.data(), bytes.size());
    }
    WriteNote(WriteSession(session));
}

void Store::WriteNote(const std::string& bytes) {
    if (!note_) return;
    SetFilePointer(note_.get(), 0, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(note_.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
    SetEndOfFile(note_.get());
    FlushFileBuffers(note_.get());
}

Stamp LocalNow() { return Now(); }

}  // namespace output::history
