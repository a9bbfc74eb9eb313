// Answering what the program asks: its own message boxes through the
// toolkit's handler, the end of the program, and the real file dialogs from
// another thread as a person would.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/runtime.h"

namespace testing_support {

struct Asked {
    std::wstring text, title;
    UINT style;
};

// Answers every message box from a script (IDCANCEL once it runs out) and
// records what was asked.
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(std::vector<int> answers);
    ~ScriptedBoxes();
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;
    std::vector<Asked> asked;

private:
    std::vector<int> answers_;
    toolkit::MsgBoxHandler previous_;
};

struct Ended {};

// Turns the end of the program into an Ended exception the test can catch.
class EndCatcher {
public:
    EndCatcher();
    ~EndCatcher();
    EndCatcher(const EndCatcher&) = delete;
    EndCatcher& operator=(const EndCatcher&) = delete;

private:
    toolkit::EndHandler previous_;
};

// Answers the next dialog with that title (any, when empty) from another
// thread: hands it to `look` while it is up, then presses `button`.
class DialogAnswer {
public:
    DialogAnswer(std::wstring title, std::function<void(HWND dialog)> look, int button = IDOK);
    ~DialogAnswer();
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;
    bool seen() const { return seen_; }

private:
    std::atomic<bool> stop_{false}, seen_{false};
    std::thread worker_;
};

// Answers the next file dialogs with that title (any, when empty), one name
// each: types the name and presses OK, or cancels when the name is empty.
// When a dialog asks before replacing a file, answers Yes, or No and then
// cancels the dialog.
class FileDialogAnswer {
public:
    enum class Replace { Yes, No };
    FileDialogAnswer(std::wstring title, std::wstring name, Replace replace = Replace::Yes)
        : FileDialogAnswer(std::move(title), std::vector<std::wstring>{std::move(name)}, replace) {}
    FileDialogAnswer(std::wstring title, std::vector<std::wstring> names,
                     Replace replace = Replace::Yes);
    ~FileDialogAnswer();
    FileDialogAnswer(const FileDialogAnswer&) = delete;
    FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

    bool seen() const { return seen_ > 0; }
    int dialogsSeen() const { return seen_; }
    bool replaceAsked() const { return replaceAsked_; }
    // After No to the replace question, the dialog was still open for another name.
    bool backInDialog() const { return backInDialog_; }

private:
    void Run();
    // Answers the next dialog; returns it, or null when stopped first.
    HWND Answer(const std::wstring& name);
    HWND OwnedBox(HWND dialog) const;
    std::wstring title_;
    std::vector<std::wstring> names_;
    Replace replace_;
    std::atomic<int> seen_{0};
    std::atomic<bool> stop_{false}, replaceAsked_{false}, backInDialog_{false};
    std::thread worker_;
};

}  // namespace testing_support
