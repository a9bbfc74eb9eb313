// The picture the mark-up and history tests draw on: grey, with a stripe of
// the test pattern where x % 400 is 300 or more, so the hiding tools work on
// the pattern and the others on the grey.
#pragma once

#include <windows.h>

#include <cstdint>

#include "tests/support/test_window.h"
#include "toolkit/picture.h"

namespace testing_support {

constexpr int kWidth = 1200, kHeight = 900;
constexpr uint32_t kGrey = 0x808080;

inline uint32_t KnownAt(int x, int y) { return x % 400 >= 300 ? Rgb(PatternAt(x, y)) : kGrey; }

inline toolkit::Picture KnownPicture() {
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(kWidth, -kHeight, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) px[size_t(y) * kWidth + x] = KnownAt(x, y);
    return toolkit::Picture::FromBitmap(std::move(bitmap), {});
}

}  // namespace testing_support
