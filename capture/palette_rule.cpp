#include "capture/palette_rule.h"

namespace capture {

namespace {
constexpr int kRcPalette = 0x0100;  // RC_PALETTE, without the Windows headers
}

bool TakesPalette(int rasterCaps, int paletteSize) {
    return (rasterCaps & kRcPalette) != 0 && paletteSize == 256;
}

}  // namespace capture
