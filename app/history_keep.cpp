// The capture history kept as the user works: each picture as it arrives,
// its marks as they change, the state the next start reads, and a crash
// report; and what the last run left behind, shown at start.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <system_error>
#include <utility>

#include "app/command_ids.h"
#include "app/frm_main.h"
#include "app/history_keeping.h"
#include "output/crash_dump.h"
#include "output/picture_file.h"
#include "toolkit/settings.h"

namespace app {

namespace hs = output::history;

namespace {

constexpr UINT_PTR kHistoryTimer = 0x4854;
// Marks are saved at most about three times a second while they change.
constexpr UINT kCoalesceMs = 300;

FrmMain* crashForm = nullptr;
LONG crashed = 0;

hs::Source SourceOfCommand(UINT id) {
    switch (id) {
        case ID_mnuScreen:
            return hs::Source::Screen;
        case ID_mnuDistrict:
            return hs::Source::Region;
        case ID_mnuAtiveWindow:
            return hs::Source::Delayed;
        case ID_mnuClient:
            return hs::Source::Client;
        case ID_mnuTitleBar:
            return hs::Source::Window;
        case ID_mnuAllMonitors:
            return hs::Source::AllMonitors;
        case ID_mnuPointerMonitor:
            return hs::Source::Monitor;
        case ID_mnuPickWindow:
            return hs::Source::Pick;
        default:
            return hs::Source::Capture;
    }
}

bool SameSession(const hs::Session& a, const hs::Session& b) {
    return a.current == b.current && a.unsaved == b.unsaved && a.dump == b.dump;
}

}  // namespace

std::wstring SourceName(const Texts& texts, hs::Source source) {
    return texts[TextId(int(TextId::SourceCapture) + int(source))];
}

bool HistoryWanted() {
    const auto value = toolkit::GetSetting(kAppTitle, L"Settings", L"History");
    return !(value && *value == L"0");
}

void SetHistoryWanted(bool on) {
    toolkit::SaveSetting(kAppTitle, L"Settings", L"History", on ? L"1" : L"0");
}

hs::Leftover FrmMain::OpenHistory() {
    const std::wstring folder = hs::DefaultFolder();
    if (folder.empty()) return {};
    history_->store = std::make_unique<hs::Store>(folder);
    const hs::Leftover left = history_->store->Start();
    crashForm = this;
    SetUnhandledExceptionFilter(&FrmMain::OnUnhandledException);
    std::set_terminate(&FrmMain::OnTerminate);
    return left;
}

void HistoryKeepingEnd::operator()(HistoryKeeping* keeping) const { delete keeping; }

void FrmMain::HistoryOpen() {
    history_.reset(new HistoryKeeping());
    if (!HistoryWanted()) return;
    HistoryKeeping& h = *history_;
    h.left = OpenHistory();
    if (!h.left.unsaved || !h.store) return;
    try {
        h.leftPicture = std::async(std::launch::async, &output::DecodePicture,
                                   h.store->PicturePath(h.left.unsaved->name));
    } catch (const std::system_error&) {
        // No thread: it is decoded when shown.
    }
}

void FrmMain::HistoryStart() {
    HistoryKeeping& h = *history_;
    hs::Leftover left = std::exchange(h.left, {});
    std::wstring said;
    if (left.unsaved) {
        output::DecodedPicture decoded =
            h.leftPicture.valid() ? h.leftPicture.get()
                                  : output::DecodePicture(h.store->PicturePath(left.unsaved->name));
        if (!ShowEntry(*left.unsaved, output::PictureOf(std::move(decoded)))) left.unsaved.reset();
    }
    if (left.unsaved) {
        CaptureUnsaved = true;
        NoteSession();
        said = Formatted(UiTexts[TextId::HistoryRestored],
                         {hs::RecentItemText(left.unsaved->record,
                                             SourceName(UiTexts, left.unsaved->record.source))});
    }
    if (!left.dump.empty())
        said += (said.empty() ? L"" : L"  ") +
                Formatted(UiTexts[TextId::HistoryCrashReport], {left.dump});
    if (!said.empty()) SetPanelText(1, said);
}

void FrmMain::HistoryFinish() {
    if (!history_ || !history_->store) return;
    KillTimer(hwnd(), kHistoryTimer);
    FlushHistory();
    history_->store->Finish();
    history_->store.reset();
    if (crashForm == this) crashForm = nullptr;
}

void FrmMain::NoteCommand(UINT id) {
    if (!history_ || !history_->store) return;
    const hs::Source source = SourceOfCommand(id);
    if (source != hs::Source::Capture) history_->nextSource = source;
    // A command may have saved the picture, or made it unsaved.
    if (!history_->timerSet)
        history_->timerSet = SetTimer(hwnd(), kHistoryTimer, kCoalesceMs, nullptr);
}

// Called as a new picture replaces the viewer's, before the marks are reset:
// they still belong to the picture that leaves.
void FrmMain::KeepInHistory(const std::wstring& openedName) {
    if (!history_) return;
    HistoryKeeping& h = *history_;
    // Sizing the viewer to a new picture resets the marks before its command
    // does: the second reset of the same picture only says what it is.
    if (!h.picture.Empty() && h.picture.Bitmap() == PicBmp.GetPicture().Bitmap()) {
        if (!openedName.empty()) h.source = hs::Source::Opened;
        return;
    }
    const hs::Source next = std::exchange(h.nextSource, hs::Source::Capture);
    const bool reopening = !std::exchange(h.reopening, std::wstring()).empty();
    if (!h.store) {
        // Followed while off, so that turning the history on keeps this picture.
        h.picture = PicBmp.GetPicture();
        h.current.clear();
        h.time = hs::LocalNow();
        h.source = openedName.empty() ? next : hs::Source::Opened;
        return;
    }

    std::wstring replaced;
    if (!h.picture.Empty()) {
        Markup.EndTyping();  // the text is kept as typed
        const bool worked = Markup.Editor().Marked() || CaptureUnsaved;
        FlushHistory();
        if (worked && !h.current.empty()) {
            hs::Record r;
            r.time = h.time;
            r.width = h.picture.PixelSize().cx;
            r.height = h.picture.PixelSize().cy;
            replaced = Formatted(UiTexts[TextId::HistoryReplaced],
                                 {hs::RecentItemText(r, SourceName(UiTexts, h.source))});
        }
    }
    h.picture = PicBmp.GetPicture();
    h.current.clear();
    h.onDisk = false;
    h.written.clear();
    h.redactionsWritten.clear();
    if (!h.picture.Empty() && !reopening) {
        h.time = hs::LocalNow();
        h.source = openedName.empty() ? next : hs::Source::Opened;
        // A capture is kept as soon as its command is done (an opened file
        // once it is marked): the timer runs after the handler.
        KillTimer(hwnd(), kHistoryTimer);
        h.timerSet = SetTimer(hwnd(), kHistoryTimer, USER_TIMER_MINIMUM, nullptr);
    }
    NoteSession();
    if (!replaced.empty()) {
        Markup.ShowStatus(replaced);
    }
}

void FrmMain::FlushHistory() {
    HistoryKeeping& h = *history_;
    if (!h.store || h.picture.Empty()) return;
    const output::markup::Document* doc = &Markup.Doc();
    hs::Record r;
    r.source = h.source;
    r.time = h.time;
    r.width = h.picture.PixelSize().cx;
    r.height = h.picture.PixelSize().cy;
    const bool marked =
        !doc->marks.empty() || !(doc->crop == output::markup::Box{0, 0, r.width, r.height});
    if (h.current.empty() && h.source == hs::Source::Opened && !marked) return;
    r.doc = *doc;
    std::string text = hs::WriteRecord(r);
    if (!h.current.empty() && text == h.written) return;
    if (h.current.empty()) h.current = h.store->NewName(h.time);
    h.redactionsWritten = hs::Redactions(r.doc);
    h.store->Keep(h.current, h.picture, std::move(r), h.onDisk);
    h.onDisk = true;
    h.written = std::move(text);
}

void FrmMain::HistoryMarksChanged() {
    if (!history_ || !history_->store) return;
    HistoryKeeping& h = *history_;
    // A new or moved redaction is burnt into the kept picture at once, not
    // moments later: a kill meanwhile would leave the pixels beneath on disk.
    if (!Markup.Editor().Dragging() && hs::Redactions(Markup.Doc()) != h.redactionsWritten) {
        FlushHistory();
        NoteSession();
        return;
    }
    if (!h.timerSet) h.timerSet = SetTimer(hwnd(), kHistoryTimer, kCoalesceMs, nullptr);
}

bool FrmMain::OnHistoryTimer(WPARAM timer) {
    if (timer != kHistoryTimer) return false;
    KillTimer(hwnd(), kHistoryTimer);
    if (!history_) return true;
    history_->timerSet = false;
    if (Markup.Editor().Dragging()) {
        history_->timerSet = SetTimer(hwnd(), kHistoryTimer, kCoalesceMs, nullptr);
        return true;
    }
    FlushHistory();
    NoteSession();
    return true;
}

void FrmMain::NoteSession() {
    HistoryKeeping& h = *history_;
    if (!h.store) return;
    const hs::Session now{h.current, CaptureUnsaved && !h.current.empty(), {}};
    if (SameSession(now, h.noted)) return;
    h.store->Note(now);
    h.noted = now;
}

bool FrmMain::ShowEntry(const hs::Entry& entry, output::LoadedPicture loaded) {
    HistoryKeeping& h = *history_;
    if (loaded.failure != output::LoadFailure::None) return false;
    const SIZE size = loaded.picture.PixelSize();
    if (size.cx != entry.record.width || size.cy != entry.record.height) return false;
    h.reopening = entry.name;
    PicBmp.SetPicture(std::move(loaded.picture));
    Markup.Reset();
    const output::markup::Box whole{0, 0, size.cx, size.cy};
    Markup.Restore(whole, entry.record.doc);
    h.current = entry.name;
    h.onDisk = true;
    h.source = entry.record.source;
    h.time = entry.record.time;
    hs::Record r = entry.record;
    h.written = hs::WriteRecord(r);
    h.redactionsWritten = hs::Redactions(r.doc);
    Form_Resize();
    return true;
}

LONG WINAPI FrmMain::OnUnhandledException(EXCEPTION_POINTERS* exception) {
    if (crashForm && !InterlockedExchange(&crashed, 1)) crashForm->HistoryCrashed(exception);
    // Ended quietly: the next start says where the report is.
    return EXCEPTION_EXECUTE_HANDLER;
}

void FrmMain::OnTerminate() {
    if (crashForm && !InterlockedExchange(&crashed, 1)) {
        crashForm->HistoryCrashed(nullptr);
        TerminateProcess(GetCurrentProcess(), 3);  // as abort ends, without a second report
    }
    std::abort();
}

// The marks first, then the report: the marks are the user's, the report ours.
void FrmMain::HistoryCrashed(EXCEPTION_POINTERS* exception) {
    HistoryKeeping& h = *history_;
    if (!h.store) return;
    try {
        hs::Record r;
        r.source = h.source;
        r.time = h.time;
        r.width = h.picture.PixelSize().cx;
        r.height = h.picture.PixelSize().cy;
        r.doc = Markup.Doc();
        hs::Session session{h.current, CaptureUnsaved && !h.current.empty(), {}};
        h.store->WriteNow(h.current, r, session);
        SYSTEMTIME t{};
        GetLocalTime(&t);
        wchar_t name[64];
        swprintf(name, 64, L"crash-%04d%02d%02d-%02d%02d%02d.dmp", t.wYear, t.wMonth, t.wDay,
                 t.wHour, t.wMinute, t.wSecond);
        if (output::WriteMiniDump(h.store->Folder() + name, exception)) {
            session.dump = name;
            h.store->WriteNow(L"", r, session);
        }
    } catch (...) {
        // Nothing more can be saved.
    }
}

}  // namespace app
