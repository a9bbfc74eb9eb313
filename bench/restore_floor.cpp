// What a start that shows a 4K PNG costs on this system with nothing of ours:
// a window shown and a screen's PNG decoded by the imaging component and
// blitted, within a process and from a process's start. The floor under the
// history's restore_ms.
#include <windows.h>

#include <wincodec.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/measure.h"

namespace {

template <typename T>
struct Com {
    T* p = nullptr;
    ~Com() {
        if (p) p->Release();
    }
    T** put() { return &p; }
    T* operator->() const { return p; }
};

HBITMAP picture = nullptr;
int pictureWidth = 0, pictureHeight = 0;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(dc, 0, 0, pictureWidth, pictureHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(hwnd, &paint);
    return 0;
}

// The least work: the file's bytes decoded from memory, the decoder's own
// 24-bit rows widened in place to the screen's 32 bits (a 24-bit bitmap is
// converted at every blit).
bool Decode(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<BYTE> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format{};
    UINT w = 0, h = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(bytes.data(), read)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&w, &h)) ||
        FAILED(frame->GetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, LONG(w), -LONG(h), 1, 32, BI_RGB};
    void* bits = nullptr;
    picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pictureWidth = int(w);
    pictureHeight = int(h);
    if (!picture || FAILED(frame->CopyPixels(nullptr, w * 4, w * 4 * h, static_cast<BYTE*>(bits))))
        return false;
    for (UINT y = 0; y < h; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + size_t(w) * 4 * y;
        for (UINT x = w; x-- > 0;) {
            const BYTE b = row[x * 3], g = row[x * 3 + 1], r = row[x * 3 + 2];
            row[x * 4] = b;
            row[x * 4 + 1] = g;
            row[x * 4 + 2] = r;
            row[x * 4 + 3] = 0;
        }
    }
    return true;
}

// A window shown with the picture painted in it, decoded while the window is
// made; the window is returned to be destroyed once timed.
HWND ShowPicture(const std::wstring& path) {
    bool decoded = false;
    std::thread decoding([&] { decoded = Decode(path); });
    static const ATOM atom = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"floor";
        return RegisterClassExW(&wc);
    }();
    // The main window's first size.
    HWND hwnd = CreateWindowExW(0, MAKEINTATOM(atom), L"floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 433, 433, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    decoding.join();
    if (!hwnd || !decoded) return nullptr;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    GdiFlush();
    return hwnd;
}

// The child: from its first line to the picture painted.
int Child(const std::wstring& path, const std::wstring& done) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!ShowPicture(path)) return 1;
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, done.c_str());
    SetEvent(event);
    CloseHandle(event);
    return 0;
}

// The screen as a 24-bit PNG, as the history keeps a capture.
bool WriteScreenPng(const std::wstring& path) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const UINT stride = (UINT(w) * 3 + 3) & ~3u;
    std::vector<BYTE> rows(size_t(stride) * h);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 24, BI_RGB};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    memcpy(rows.data(), bits, rows.size());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    PROPBAG2 filter{};
    filter.pstrName = const_cast<LPOLESTR>(L"FilterOption");
    VARIANT up{};
    up.vt = VT_UI1;
    up.bVal = WICPngFilterUp;  // as the history writes
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory.put()))) &&
           SUCCEEDED(factory->CreateStream(stream.put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
           SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())) &&
           SUCCEEDED(options->Write(1, &filter, &up)) && SUCCEEDED(frame->Initialize(options.p)) &&
           SUCCEEDED(frame->SetSize(UINT(w), UINT(h))) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WritePixels(UINT(h), stride, UINT(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3) return Child(argv[1], argv[2]);

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string suffix = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    wchar_t temp[MAX_PATH], exe[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring png =
        temp + std::wstring(L"fotolark-floor-") + std::to_wstring(GetCurrentProcessId()) + L".png";
    if (!WriteScreenPng(png)) return 1;
    const std::wstring done = L"fotolark-floor-" + std::to_wstring(GetCurrentProcessId());
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, done.c_str());

    std::vector<double> within, started;
    for (int i = 0; i < 7; ++i) {
        std::wstring line = L"\"" + std::wstring(exe) + L"\" \"" + png + L"\" " + done;
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION child{};
        const auto start = std::chrono::steady_clock::now();
        if (!CreateProcessW(exe, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &child))
            return 1;
        // The child is timed to its picture painted, not to its end.
        HANDLE waits[] = {event, child.hProcess};
        if (WaitForMultipleObjects(2, waits, FALSE, 60000) != WAIT_OBJECT_0) return 1;
        started.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        WaitForSingleObject(child.hProcess, 60000);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    // As restore_ms is timed: in a process that has shown windows before.
    for (int i = 0; i < 8; ++i) {
        HWND shown = nullptr;
        const double ms = bench::TimeMs([&] { shown = ShowPicture(png); });
        if (!shown) return 1;
        DestroyWindow(shown);
        DeleteObject(picture);
        if (i) within.push_back(ms);
    }
    DeleteFileW(png.c_str());
    std::printf("bench: restore_floor_ms_%s %.1f ms\n", suffix.c_str(), bench::Median(within));
    std::printf("bench: restore_floor_process_ms_%s %.1f ms\n", suffix.c_str(),
                bench::Median(started));
    return 0;
}
