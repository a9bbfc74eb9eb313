#include "tests/support/answers.h"

#include "tests/support/wait.h"

namespace testing_support {

ScriptedBoxes::ScriptedBoxes(std::vector<int> answers) : answers_(std::move(answers)) {
    previous_ = toolkit::SetMsgBoxHandler(
        [this](HWND, const std::wstring& text, UINT style, const std::wstring& title) {
            const size_t next = asked.size();
            asked.push_back({text, title, style});
            return next < answers_.size() ? answers_[next] : IDCANCEL;
        });
}

ScriptedBoxes::~ScriptedBoxes() { toolkit::SetMsgBoxHandler(previous_); }

EndCatcher::EndCatcher() {
    previous_ = toolkit::SetEndHandler([] { throw Ended{}; });
}
EndCatcher::~EndCatcher() { toolkit::SetEndHandler(previous_); }

namespace {

// A visible dialog of this process with that title (any, when null): not, say,
// the crash report of another program.
HWND OwnDialog(const wchar_t* name) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", name); w;
         w = FindWindowExW(nullptr, w, L"#32770", name)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// The next visible dialog of that title, or null when stopped or after 20 s.
HWND NextDialog(const std::wstring& title, const std::atomic<bool>& stop) {
    HWND dialog = nullptr;
    const wchar_t* name = title.empty() ? nullptr : title.c_str();
    if (!PumpUntil([&] { return stop || (dialog = OwnDialog(name)) != nullptr; }, 20000) || stop)
        return nullptr;
    Sleep(200);  // as a person reads before answering
    return dialog;
}

}  // namespace

DialogAnswer::DialogAnswer(std::wstring title, std::function<void(HWND)> look, int button) {
    worker_ = std::thread([this, title = std::move(title), look = std::move(look), button] {
        const HWND dialog = NextDialog(title, stop_);
        if (!dialog) return;
        seen_ = true;
        look(dialog);
        PostMessageW(dialog, WM_COMMAND, button, 0);
    });
}

DialogAnswer::~DialogAnswer() {
    stop_ = true;
    worker_.join();
}

FileDialogAnswer::FileDialogAnswer(std::wstring title, std::vector<std::wstring> names,
                                   Replace replace)
    : title_(std::move(title)), names_(std::move(names)), replace_(replace) {
    worker_ = std::thread([this] { Run(); });
}

FileDialogAnswer::~FileDialogAnswer() {
    stop_ = true;
    worker_.join();
}

// The replace question is a message box the dialog owns.
HWND FileDialogAnswer::OwnedBox(HWND dialog) const {
    for (HWND w = FindWindowW(L"#32770", nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w != dialog && GetWindow(w, GW_OWNER) == dialog && IsWindowVisible(w)) return w;
    return nullptr;
}

void FileDialogAnswer::Run() {
    for (const auto& name : names_) {
        const HWND dialog = Answer(name);
        if (!dialog) return;
        // Gone before the next one is looked for: it may come back with the same handle.
        PumpUntil([&] { return stop_ || !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000);
    }
}

HWND FileDialogAnswer::Answer(const std::wstring& name) {
    const auto stopped = [this] { return stop_.load(); };
    const HWND dialog = NextDialog(title_, stop_);
    if (!dialog) return nullptr;
    ++seen_;
    if (name.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return dialog;
    }
    // cmb13 holds the name in the explorer-style dialog, edt1 in the old one.
    HWND edit = GetDlgItem(dialog, 0x47c);
    if (!edit) edit = GetDlgItem(dialog, 0x480);
    if (HWND inner = FindWindowExW(edit, nullptr, L"Edit", nullptr)) edit = inner;
    SendMessageW(edit, WM_SETTEXT, 0, LPARAM(name.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);

    HWND box = nullptr;
    if (!PumpUntil([&] { return stopped() || !IsWindow(dialog) || (box = OwnedBox(dialog)); },
                   3000) ||
        !box)
        return dialog;
    replaceAsked_ = true;
    PostMessageW(box, WM_COMMAND, replace_ == Replace::Yes ? IDYES : IDNO, 0);
    if (replace_ == Replace::Yes) return dialog;
    PumpUntil([&] { return !IsWindow(box); }, 3000);
    // A dialog that No closes would be gone within this.
    PumpUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 300);
    backInDialog_ = IsWindow(dialog) && IsWindowVisible(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return dialog;
}

}  // namespace testing_support
