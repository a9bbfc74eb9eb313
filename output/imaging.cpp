#include "output/imaging.h"

namespace output {

toolkit::ComPtr<IWICImagingFactory> Imaging() {
    toolkit::ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.put()));
    return factory;
}

}  // namespace output
