#include "app/frm_main.h"

#include <shellapi.h>
#include <windowsx.h>

#include "app/command_map.h"
#include "app/frm_main_definition.h"
#include "capture/region_track.h"
#include "capture/window_pick.h"
#include "resources/resource.h"
#include "toolkit/mouse_pointer.h"
#include "toolkit/run_at_start.h"
#include "toolkit/runtime.h"
#include "toolkit/settings.h"

namespace app {

toolkit::Process HelpTask;

namespace {

constexpr const wchar_t* kClassName = kMainWindowClass;

int16_t ShiftState(WPARAM keys) {
    return int16_t(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

}  // namespace

FrmMain::~FrmMain() {
    if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
}

bool FrmMain::Load() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &FrmMain::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_FOTOLARK));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc);
    }();
    if (!atom) return false;
    HistoryOpen();
    HWND hwnd = CreateWindowExW(0, kClassName, L"Fotolark", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd || !CreateControls()) return false;
    Markup.Attach();
    Markup.MarksChanged = [this] {
        KeepSecretsOffClipboard();
        HistoryMarksChanged();
    };
    Markup.PictureArriving = [this](const std::wstring& openedName) { KeepInHistory(openedName); };
    RegisterGlobalKeys();
    DragAcceptFiles(hwnd, TRUE);
    Form_Load();
    HistoryStart();
    UpdateTrayIcon();
    // A choice stored by an administrator is followed; the Run value is what Windows reads.
    const auto run = ParseFlag(toolkit::GetSetting(kAppTitle, L"Settings", L"RunAtStart"));
    if (run && *run != toolkit::RunsAtStart(kAppTitle)) toolkit::SetRunAtStart(kAppTitle, *run);
    return true;
}

void FrmMain::Show() {
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    // Over the window, once it is up: Wine stacks a window shown later above them.
    RestorePins();
}

int FrmMain::Run(HWND accelTarget, HACCEL accelerators) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (accelerators && TranslateAcceleratorW(accelTarget, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void FrmMain::OnCommand(UINT id) {
    NoteCommand(id);
    if (id >= ID_mnuRecentFirst && id <= ID_mnuRecentLast)
        mnuRecent_Click(int(id - ID_mnuRecentFirst));
    else if (id > ID_Toolbar1)  // the button's index decides, in one place
        Toolbar1_ButtonClick(static_cast<int16_t>(id - ID_Toolbar1));
    else if (const Handler handler = HandlerFor(id))
        (this->*handler)();
}

// Form_Unload ends where an error stops it; a close that would then lose an
// unsaved capture without the user's word is cancelled instead.
bool FrmMain::UnloadCancelled() {
    bool cancel = false;
    try {
        Form_Unload(cancel);
    } catch (...) {
        if (CaptureUnsaved) cancel = true;
    }
    return cancel;
}

void FrmMain::ShowMessage(const std::wstring& text) {
    toolkit::MsgBox(hwnd(), text, MB_OK | MB_ICONEXCLAMATION, toolkit::ExeName());
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (!StatusBar1.hwnd()) break;  // still being created
            AlignBars();
            Form_Resize();
            return 0;
        case WM_COMMAND:
            // An accelerator (1) whose key a text being typed takes for itself.
            if (HIWORD(wParam) == 1 && Markup.TakesShortcut(LOWORD(wParam))) return 0;
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_CONTEXTMENU:
            if (Markup.OnContextMenu(lParam)) return 0;
            break;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_KEYDOWN:
            if (Markup.OnKey(wParam) || OnScrollKey(wParam)) return 0;
            break;
        case WM_CHAR:
            if (Markup.OnChar(wchar_t(wParam))) return 0;
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScrollBar(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            OnMouseButton(message, wParam, lParam);
            return 0;
        case capture::kRegionPressMessage:
            OnRegionPress(lParam);
            return 0;
        case capture::kPickDoneMessage:
            if (scrollPick_)
                OnScrollPickDone();
            else
                OnPickDone();
            return 0;
        case WM_SETCURSOR:
            if (toolkit::ShowScreenMousePointer()) return TRUE;
            break;
        case WM_CLOSE:
            if (!HidesOnClose() && !UnloadCancelled()) DestroyWindow(hwnd());
            return 0;
        case WM_QUERYENDSESSION:
            return UnloadCancelled() ? FALSE : TRUE;
        case WM_MOUSEWHEEL:
            // Shift turns the wheel sideways, as elsewhere in Windows.
            OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam),
                         (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEHWHEEL:
            OnMouseWheel(-GET_WHEEL_DELTA_WPARAM(wParam),
                         true);  // tilted right: the picture moves left
            return 0;
        case WM_HOTKEY:
            OnGlobalKey(int(wParam));
            return 0;
        case kKeysTakenMessage:
            OnKeysTaken();
            return 0;
        case kTrayMessage:
            OnTrayMessage(UINT(lParam));
            return 0;
        case WM_ENTERMENULOOP:
            ++menuLoops_;
            break;
        case WM_EXITMENULOOP:
            if (menuLoops_ > 0) --menuLoops_;
            break;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_TIMER:
            if (OnHistoryTimer(wParam)) return 0;
            break;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_ENDSESSION:
            if (wParam) HistoryFinish();  // the system may end the process without WM_DESTROY
            return 0;
        case WM_DESTROY:
            HistoryFinish();
            UnregisterGlobalKeys();
            RemoveTrayIcon();
            PostQuitMessage(0);
            return 0;
    }
    if (message == TaskbarCreatedMessage()) {
        trayShown_ = false;  // gone with the old Explorer
        UpdateTrayIcon();
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

void FrmMain::OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto scale = UnitsPerPixel();
    const float x = float(GET_X_LPARAM(lParam) * scale.x),
                y = float(GET_Y_LPARAM(lParam) * scale.y);
    const bool down =
        message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    if (down)
        Form_MouseDown(MouseButtonOf(message), ShiftState(wParam), x, y);
    else
        Form_MouseUp(MouseButtonOf(message), ShiftState(wParam), x, y);
}

int16_t FrmMain::MouseButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return 2;
        default:
            return 4;
    }
}

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FrmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->AttachWindow(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self) self->AttachWindow(nullptr);
        self = nullptr;
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // No exception may unwind through the system's window code. The
        // handler ended where it failed, and nothing else happens: the
        // default processing could do what the handler had decided against
        // (for WM_CLOSE, destroy the window).
        return 0;
    }
}

}  // namespace app
