// Picture headers as an opened file gives them: the checks must neither read
// past the bytes nor call a picture sound that the limits refuse.
#include <cstdint>
#include <cstdlib>

#include "output/picture_header.h"

using namespace output;

namespace {

void Check(PictureFormat format, const uint8_t* data, size_t size) {
    const HeaderCheck header = CheckPicture(format, data, size);
    if (header.verdict == HeaderCheck::Sound && !SizeAllowed(header.width, header.height)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every check sees every file: the name may say one format and the bytes another.
    for (auto format : {PictureFormat::Bmp, PictureFormat::Jpeg, PictureFormat::Png,
                        PictureFormat::Gif, PictureFormat::Ico, PictureFormat::Unknown})
        Check(format, data, size);
    FormatOfContent(data, size);
    const auto widened = WithKnownBmpHeader(data, size);
    if (!widened.empty()) Check(PictureFormat::Bmp, widened.data(), widened.size());
    return 0;
}
