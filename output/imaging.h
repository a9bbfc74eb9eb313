// The system's imaging component, shared by saving and loading picture files.
#pragma once

#include <windows.h>

#include <wincodec.h>

#include <vector>

#include "toolkit/unique.h"

namespace output {

// COM for this call, when the thread has not started it.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

private:
    HRESULT result_;
};

toolkit::ComPtr<IWICImagingFactory> Imaging();

// 24-bit BGR rows, `stride` bytes apart, as the bytes of a PNG or JPEG file
// (the container's GUID); false where the component refuses any step.
bool EncodeRows(const GUID& container, const BYTE* rows, UINT width, UINT height, UINT stride,
                std::vector<char>& out);

}  // namespace output
