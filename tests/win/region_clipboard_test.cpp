// The free-region capture's copy on the clipboard, when another program holds
// it and when the viewer is cleared.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "capture/clipboard.h"
#include "tests/win/region_selection.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"
#include "toolkit/runtime.h"

using namespace testing_support;

namespace {

TEST_F(RegionCapture, ClipboardHeldByAnotherProgramStillShowsTheCapture) {
    SetClipboardText(L"kept");
    const std::wstring suffix = std::to_wstring(GetCurrentProcessId());
    const std::wstring heldName = L"fotolark-held-" + suffix,
                       letGoName = L"fotolark-letgo-" + suffix;
    toolkit::UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, heldName.c_str()));
    toolkit::UniqueHandle letGo(CreateEventW(nullptr, TRUE, FALSE, letGoName.c_str()));
    std::wstring command =
        L"\"" + toolkit::AppPath() + L"\\clipboard_holder.exe\" " + heldName + L" " + letGoName;
    const toolkit::Process holder = toolkit::Shell(command, SW_SHOWNORMAL);
    ASSERT_NE(holder.Id(), 0u);
    ASSERT_EQ(WaitForSingleObject(held.get(), 10000), WAIT_OBJECT_0);

    // The clipboard keeps a bitmap it refused with its owner.
    toolkit::UniqueBitmap refused(CreateBitmap(4, 4, 1, 1, nullptr));
    EXPECT_FALSE(capture::SetClipboardBitmap(form.hwnd(), refused));
    EXPECT_EQ(GetObjectType(refused.get()), DWORD(OBJ_BITMAP));

    const POINT a = Over(30, 40), b = Over(130, 90);
    const Pixels expected = ReadScreen(RECT{a.x, a.y, b.x, b.y});
    form.mnuDistrict_Click();
    Select([&] {
        Press(a);
        MouseTo(b);
        ReleaseDrag(b);
    });
    EXPECT_EQ(Picture().data, expected.data);
    ASSERT_EQ(boxes->asked.size(), 1u);
    EXPECT_EQ(boxes->asked[0].text, L"无法将图片复制到剪贴板。");

    SetEvent(letGo.get());
    ASSERT_EQ(WaitForSingleObject(holder.Handle(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ClipboardText(), L"kept");
    // Once free, the clipboard takes the bitmap and its owner lets go of it.
    EXPECT_TRUE(capture::SetClipboardBitmap(form.hwnd(), refused));
    EXPECT_EQ(refused.get(), nullptr);
}

// A screen read leaves what it likes in a 32-bit pixel's fourth byte (window
// icons leave some); pasted where that byte is alpha, the picture must not be see-through.
TEST_F(RegionCapture, TheClipboardsBitmapPastesOpaque) {
    void* bits = nullptr;
    toolkit::UniqueBitmap shot = toolkit::NewBitmap32(64, 32, &bits);
    ASSERT_TRUE(shot);
    auto* pixel = static_cast<uint8_t*>(bits);
    for (int i = 0; i < 64 * 32; ++i, pixel += 4) {
        pixel[0] = uint8_t(i);
        pixel[3] = uint8_t(i % 3 ? 0 : 40);
    }
    ASSERT_TRUE(capture::SetClipboardBitmap(form.hwnd(), shot));
    EXPECT_TRUE(ClipboardDibOpaque());
    EXPECT_EQ(ClipboardPixels().width, 64);
    EXPECT_EQ(ClipboardPixels().at(5, 31), 5u);  // bottom-up: the first row is the last
}

TEST_F(RegionCapture, ClearEmptiesTheViewerAndNothingElse) {
    form.mnuClient_Click();
    ASSERT_FALSE(form.PicBmp.GetPicture().Empty());
    SetClipboardText(L"untouched");
    for (const bool unsaved : {true, false}) {
        form.CaptureUnsaved = unsaved;
        form.mnuClear_Click();
        EXPECT_TRUE(form.PicBmp.GetPicture().Empty());
        EXPECT_EQ(form.CaptureUnsaved, unsaved);
        EXPECT_FALSE(form.RegionArmed);
    }
    EXPECT_EQ(ClipboardText(), L"untouched");
}

}  // namespace
