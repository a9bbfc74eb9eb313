// The capture history's costs: the entire-screen command with the history on
// against the same command with it off, in the same run; the writer's time
// for one picture (off the window's thread); and a start that brings back a
// picture with 200 marks, to the moment it is painted.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/frm_main.h"
#include "bench/measure.h"
#include "capture/capture_core.h"
#include "output/history_store.h"
#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/settings.h"

namespace hs = output::history;

namespace {

void Wipe(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const toolkit::UniqueFind find(FindFirstFileW((folder + L"*").c_str(), &found));
    if (find) do {
            DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(find.get(), &found));
}

void SetHistory(bool on) {
    toolkit::SaveSetting(app::kAppTitle, L"Settings", L"History", on ? L"1" : L"0");
}

// Opening the Recent submenu waits for the writer: nothing is left to
// overlap the next run.
void WaitForWriter(app::FrmMain& form) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    GetMenuItemInfoW(GetMenu(form.hwnd()), app::ID_mnuRecent, FALSE, &info);
    SendMessageW(form.hwnd(), WM_INITMENUPOPUP, WPARAM(info.hSubMenu), 0);
}

hs::Record MarkedRecord(int width, int height, int count) {
    hs::Record r;
    r.source = hs::Source::Screen;
    r.width = width;
    r.height = height;
    r.doc.crop = {0, 0, width, height};
    for (int i = 0; i < count; ++i) {
        output::markup::Mark m;
        m.kind = output::markup::Kind(i % 8);  // every kind but the two that hide
        m.points = {{40 + i * 17 % (width - 200), 40 + i * 31 % (height - 200)}};
        m.points.push_back({m.points[0].x + 120, m.points[0].y + 80});
        if (m.kind == output::markup::Kind::Text) m.text = L"Mark " + std::to_wstring(i);
        m.number = i;
        r.doc.marks.push_back(m);
    }
    return r;
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    const std::string suffix = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    const std::wstring folder = testing_support::TempPath(L"fotolark-bench-history\\");
    CreateDirectoryW(folder.substr(0, folder.size() - 1).c_str(), nullptr);
    Wipe(folder);
    hs::SetFolderForTests(folder);
    // Two windows at once: the second would stop to say the first holds the keys.
    testing_support::StoreNoGlobalKeys();

    {
        // The setting is read as each window loads.
        app::FrmMain kept, plain;
        SetHistory(true);
        if (!kept.Load()) return 1;
        SetHistory(false);
        if (!plain.Load()) return 1;
        kept.Show();
        plain.Show();
        testing_support::Pump(300);
        const auto command = bench::Compare(
            21, [&](int) { kept.mnuScreen_Click(); }, [&](int) { plain.mnuScreen_Click(); },
            [&] {
                WaitForWriter(kept);
                testing_support::Pump(30);
            });
        std::printf("bench: capture_history_ratio_%s %.3f ratio\n", suffix.c_str(), command.ratio);
    }

    {
        hs::Store store(folder);
        store.Start();
        const toolkit::Picture screen = capture::GrabFullScreen();
        const SIZE size = screen.PixelSize();
        const double ms = bench::MedianMs(7, [&](int) {
            store.Keep(store.NewName(hs::LocalNow()), screen, MarkedRecord(size.cx, size.cy, 200),
                       false);
            store.Drain();
        });
        std::printf("bench: history_write_ms_%s %.1f ms\n", suffix.c_str(), ms);
        store.Finish();
    }

    // The picture a killed run left, shown again: a note no running program
    // holds names it.
    Wipe(folder);
    SetHistory(true);
    std::wstring name;
    {
        hs::Store store(folder);
        store.Start();
        const toolkit::Picture screen = capture::GrabFullScreen();
        const SIZE size = screen.PixelSize();
        name = store.NewName(hs::LocalNow());
        store.Keep(name, screen, MarkedRecord(size.cx, size.cy, 200), false);
        store.Finish();
    }
    const std::string note =
        "fotolark-session 1\ncurrent " + std::string(name.begin(), name.end()) + "\nunsaved 1\n";
    size_t shown = 0;
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        testing_support::WriteFileBytes(folder + L"session-left.txt", note);
        app::FrmMain form;
        times.push_back(bench::TimeMs([&] {
            form.Load();
            form.Show();
            RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }));
        shown = form.Markup.Doc().marks.size();
    }
    const double restore = bench::Median(times);
    std::printf("bench: restore_ms_%s %.1f ms\n", suffix.c_str(), restore);
    std::fprintf(stderr, "marks shown: %zu\n", shown);
    Wipe(folder);
    toolkit::SaveSetting(app::kAppTitle, L"Settings", L"History", L"1");
    OleUninitialize();
    return shown == 200 ? 0 : 1;
}
