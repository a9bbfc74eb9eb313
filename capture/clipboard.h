// Copying a rectangle of the screen to the clipboard, for the free-region
// capture, which shows the same pixels in the viewer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace capture {

struct ScreenCopy {
    toolkit::Picture picture;  // the captured pixels, whatever became of the clipboard
    bool onClipboard = false;
};

// Copies the pixels from (Left, Top) up to (Right, Bottom) into a bitmap in
// the display's format (24 bits for a 32-bit one) and puts it on the clipboard in place of
// everything it held, owned by `owner`. An empty area gives a 1 x 1 monochrome bitmap.
ScreenCopy CopyScreenToClipboard(HWND owner, int32_t Left, int32_t Top, int32_t Right,
                                 int32_t Bottom);

// Empties the clipboard and hands it the bitmap, a 32-bit one as a 24-bit
// copy (opaque to every reader). The bitmap stays with its owner unless the
// clipboard took it; false when the clipboard is held by
// another program or refuses it. `keepPrivate` (a picture with a redaction)
// also asks clipboard history and the cloud clipboard to pass it over.
bool SetClipboardBitmap(HWND owner, toolkit::UniqueBitmap& bitmap, bool keepPrivate = false);

enum class ClipboardCopy { Done, NoMemory, Refused };

// Puts a copy of the picture on the clipboard, in the display's format.
ClipboardCopy CopyPictureToClipboard(HWND owner, const toolkit::Picture& picture, bool keepPrivate);

// A copy of the clipboard's picture as a 32-bit picture of its own; empty
// when the clipboard holds none or another program keeps it open.
toolkit::Picture ClipboardPicture(HWND owner);

}  // namespace capture
