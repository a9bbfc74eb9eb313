#include "pin/pin_store.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "output/imaging.h"
#include "output/picture_file.h"
#include "output/pixel_rows.h"
#include "toolkit/handles.h"

namespace pin {

namespace {

constexpr wchar_t kPrefix[] = L"pin-";

bool WriteWhole(const std::wstring& path, const void* bytes, size_t size) {
    const std::wstring temporary = path + L".new";
    {
        toolkit::UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), bytes, DWORD(size), &written, nullptr) ||
            written != size) {
            file.reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    // The old record stays whole until the new one is.
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool WritePng(const std::wstring& path, const output::ReadablePixels& picture) {
    output::Rows24 rows;
    std::vector<char> png;
    return output::ReadRows24(picture, rows) &&
           output::EncodeRows(GUID_ContainerFormatPng, rows.bytes.data(), rows.width, rows.height,
                              rows.stride, png) &&
           WriteWhole(path, png.data(), png.size());
}

std::string ReadSmall(const std::wstring& path) {
    toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes(4096, '\0');
    DWORD read = 0;
    if (!file || !ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr))
        return std::string();
    bytes.resize(read);
    return bytes;
}

}  // namespace

std::wstring DefaultFolder() {
    wchar_t* raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &raw);
    const toolkit::UniqueTaskString local(raw);
    if (FAILED(hr) || !raw) return std::wstring();
    std::wstring folder = std::wstring(raw) + L"\\Fotolark";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\Pins";
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::wstring();
    return folder;
}

std::wstring Store::Path(const std::wstring& name, const wchar_t* extension) const {
    return folder_ + L"\\" + name + extension;
}

std::wstring Store::Keep(const toolkit::Picture& picture, const Record& record) {
    if (folder_.empty() || picture.Empty()) return std::wstring();
    // The first free number: the text file claims it.
    for (unsigned number = 1; number < 100000; ++number) {
        const std::wstring name = kPrefix + std::to_wstring(number);
        toolkit::UniqueFile claim(CreateFileW(Path(name, L".txt").c_str(), GENERIC_WRITE, 0,
                                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!claim) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return std::wstring();
        }
        claim.reset();
        output::ReadablePixels readable = output::WithReadablePixels(picture, true);
        Queue(name, [&](Waiting& w) {
            w.picture = std::move(readable);
            w.record = true;
            w.place = record;
        });
        return name;
    }
    return std::wstring();
}

void Store::Update(const std::wstring& name, const Record& record) {
    if (name.empty()) return;
    Queue(name, [&](Waiting& w) {
        w.record = true;
        w.place = record;
    });
}

void Store::Forget(const std::wstring& name) {
    if (name.empty()) return;
    // A write still waiting would bring the pin back after its close.
    Queue(name, [](Waiting& w) { w = Waiting{{}, false, {}, true}; });
}

template <typename Change>
void Store::Queue(const std::wstring& name, Change&& change) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        change(waiting_[name]);
    }
    writer_.Post([this, name] { Write(name); });
}

void Store::Write(const std::wstring& name) {
    Waiting w;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto at = waiting_.find(name);
        if (at == waiting_.end()) return;  // an earlier task wrote it
        w = std::move(at->second);
        waiting_.erase(at);
    }
    const std::wstring png = Path(name, L".png"), txt = Path(name, L".txt");
    if (w.forget || lost_.count(name)) {
        DeleteFileW(png.c_str());
        DeleteFileW(txt.c_str());
        return;
    }
    if (!w.picture.picture.Empty() && !WritePng(png, w.picture)) {
        lost_.insert(name);
        DeleteFileW(txt.c_str());
        return;
    }
    w.picture = output::ReadablePixels();
    if (w.record) {
        const std::string bytes = FormatRecord(w.place);
        WriteWhole(txt, bytes.data(), bytes.size());
    }
}

std::vector<Store::Loaded> Store::LoadAll() const {
    std::vector<std::pair<unsigned long, std::wstring>> names;
    if (folder_.empty()) return {};
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW(Path(kPrefix, L"*.png").c_str(), &found));
    if (find) {
        do {
            std::wstring name = found.cFileName;
            name.resize(name.size() - 4);  // ".png"
            const std::wstring digits = name.substr(wcslen(kPrefix));
            if (digits.empty() || digits.size() > 6 ||
                digits.find_first_not_of(L"0123456789") != std::wstring::npos)
                continue;
            names.emplace_back(std::stoul(digits), name);
        } while (FindNextFileW(find.get(), &found));
    }
    std::sort(names.begin(), names.end());
    std::vector<Loaded> pins;
    for (const auto& [number, name] : names) {
        output::LoadedPicture loaded = output::LoadPicture(Path(name, L".png"));
        if (loaded.failure != output::LoadFailure::None) continue;
        Loaded pin;
        pin.stored.name = name;
        pin.stored.picture = std::move(loaded.picture);
        if (const auto record = ParseRecord(ReadSmall(Path(name, L".txt")))) {
            pin.stored.record = *record;
            pin.placed = true;
        }
        pins.push_back(std::move(pin));
    }
    return pins;
}

}  // namespace pin
