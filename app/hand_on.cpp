// The picture as it leaves the program for a file, the clipboard, the desktop or Paint.
#include <string>

#include "app/frm_main.h"
#include "output/picture_file.h"

namespace app {

// Merging the marks makes a second full copy: in a 32-bit process a large picture may
// not find the room, and the user must hear that rather than get nothing.
toolkit::Picture FrmMain::PictureToHandOn() {
    if (PicBmp.GetPicture().Empty()) return {};
    const SIZE size = PicBmp.GetPicture().PixelSize();
    const bool merging = Markup.Editor().Marked() || Markup.Editor().Typing();
    toolkit::Picture picture;
    if (!merging || output::RoomForPicture(size.cx, size.cy)) picture = MarkedPicture();
    if (picture.Empty())
        ShowMessage(Formatted(UiTexts[TextId::MergeNoMemory],
                              {std::to_wstring(size.cx), std::to_wstring(size.cy)}));
    return picture;
}

}  // namespace app
