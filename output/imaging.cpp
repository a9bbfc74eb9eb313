#include "output/imaging.h"

namespace output {

toolkit::ComPtr<IWICImagingFactory> Imaging() {
    toolkit::ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.put()));
    return factory;
}

namespace {

bool SetOption(IPropertyBag2* options, const wchar_t* name, VARIANT& value) {
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(name);
    return SUCCEEDED(options->Write(1, &option, &value));
}

}  // namespace

bool EncodeRows(const GUID& container, const BYTE* rows, UINT width, UINT height, UINT stride,
                std::vector<char>& out) {
    using toolkit::ComPtr;
    const auto factory = Imaging();
    ComPtr<IStream> memory;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (!factory || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.put())) ||
        FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(memory.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())))
        return false;
    VARIANT value;
    VariantInit(&value);
    if (container == GUID_ContainerFormatJpeg) {
        value.vt = VT_R4;
        value.fltVal = 0.92f;
        if (!SetOption(options.get(), L"ImageQuality", value)) return false;
    } else if (container == GUID_ContainerFormatPng) {
        // Each row against the one above: as small as the adaptive choice on
        // screen content (rows of the same window repeat), in half the time.
        // Only a hint: an encoder without the option saves all the same.
        value.vt = VT_UI1;
        value.bVal = WICPngFilterUp;
        SetOption(options.get(), L"FilterOption", value);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height)) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->WritePixels(height, stride, stride * height, const_cast<BYTE*>(rows))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;
    STATSTG stat{};
    if (FAILED(memory->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF)
        return false;
    out.resize(size_t(stat.cbSize.QuadPart));
    ULONG read = 0;
    const LARGE_INTEGER start{};
    return SUCCEEDED(memory->Seek(start, STREAM_SEEK_SET, nullptr)) &&
           SUCCEEDED(memory->Read(out.data(), ULONG(out.size()), &read)) && read == out.size();
}

}  // namespace output
