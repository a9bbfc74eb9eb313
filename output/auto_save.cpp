#include "output/auto_save.h"

#include <shlobj.h>

#include "output/picture_file.h"
#include "toolkit/handles.h"

namespace output {

namespace {

std::wstring WindowTitle(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// "notepad" for C:\Windows\notepad.exe.
std::wstring ProgramName(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const toolkit::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
    std::wstring name(path, length);
    name.erase(0, name.find_last_of(L"\\/") + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

NameFields NameFieldsFor(HWND source, SIZE size, uint32_t counter) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    NameFields f;
    f.year = now.wYear, f.month = now.wMonth, f.day = now.wDay;
    f.hour = now.wHour, f.minute = now.wMinute, f.second = now.wSecond;
    f.counter = counter;
    f.width = size.cx, f.height = size.cy;
    if (source && IsWindow(source)) {
        f.title = WindowTitle(source);
        f.program = ProgramName(source);
    }
    return f;
}

std::optional<std::wstring> AutoSavePicture(const toolkit::Picture& picture,
                                            const std::wstring& folder, const std::wstring& name) {
    // A folder typed into the options that is not there yet is made.
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    // The empty file holds the name against another capture or program
    // until the picture replaces it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::wstring free =
            FreeName(name, [&](const std::wstring& n) { return Exists(base + n); });
        if (free.empty()) return std::nullopt;
        const std::wstring path = base + free;
        toolkit::UniqueFile reserved(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!reserved) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;  // taken meanwhile
            return std::nullopt;
        }
        reserved.reset();
        if (SavePicture(picture, path)) return path;
        DeleteFileW(path.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

std::wstring PicturesFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

}  // namespace output
