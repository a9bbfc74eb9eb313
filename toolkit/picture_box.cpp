#include "toolkit/picture_box.h"

#include <optional>

#include "toolkit/handles.h"

namespace toolkit {

namespace {

constexpr wchar_t kClassName[] = L"FotolarkPictureBox";

void RegisterClassOnce(WNDPROC proc) {
    static const ATOM atom = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc);
    }();
    (void)atom;
}

}  // namespace

bool PictureBox::Create(HWND parent, const Container* parentScale, int id, RECT r, int sysColor,
                        bool autoSize) {
    RegisterClassOnce(&PictureBox::WindowProc);
    sysColor_ = sysColor;
    autoSize_ = autoSize;
    HWND hwnd = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left,
                                r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), this);
    control_ = Control(hwnd, parentScale);
    return hwnd != nullptr;
}

void PictureBox::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    ++generation_;
    if (autoSize_ && !picture_.Empty()) {
        const SIZE size = picture_.PixelSize();
        SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::Paint(HDC dc, const RECT& dirty) {
    const HBITMAP bitmap = picture_.Bitmap();
    const SIZE size = bitmap ? picture_.PixelSize() : SIZE{};
    {
        // The background only around the picture: filled under it too, it
        // would show for a moment before the picture covers it.
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, 0, 0, size.cx, size.cy);
        FillRect(dc, &dirty, GetSysColorBrush(sysColor_));
        RestoreDC(dc, saved);
    }
    if (!bitmap) return;
    UniqueDC memory(CreateCompatibleDC(dc));
    if (!memory) return;
    SelectGuard selected(memory.get(), bitmap);
    std::optional<PaletteGuard> realized;
    if (const HPALETTE palette = picture_.Palette()) {
        realized.emplace(dc, palette);
        RealizePalette(dc);
    }
    BitBlt(dc, 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PictureBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the background with the picture, without flicker
        case WM_PAINT:
            if (self) {
                PaintDC dc(hwnd);
                self->Paint(dc.get(), dc.area());
                return 0;
            }
            break;
        case WM_MOUSEHWHEEL:
            // Up to the window that scrolls, as Windows' default does; Wine 8's
            // passes only the vertical wheel on.
            if (const HWND parent = GetParent(hwnd))
                return SendMessageW(parent, message, wParam, lParam);
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace toolkit
