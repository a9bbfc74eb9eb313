// Which displays a capture takes the palette of.
#pragma once

namespace capture {

// Only a palette device (RC_PALETTE among its raster capabilities) with
// exactly 256 entries: the picture's palette record holds 256 colours.
bool TakesPalette(int rasterCaps, int paletteSize);

}  // namespace capture
