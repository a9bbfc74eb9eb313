// A redacted picture as it leaves: what the clipboard keeps, and a merge that
// finds no room.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_main.h"
#include "output/picture_file.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"

using namespace testing_support;

namespace {

constexpr int kWidth = 400, kHeight = 300;

toolkit::Picture PatternPicture() {
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(kWidth, -kHeight, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) px[size_t(y) * kWidth + x] = Rgb(PatternAt(x, y));
    return toolkit::Picture::FromBitmap(std::move(bitmap), {});
}

struct ClipboardSeen {
    Pixels picture;
    std::vector<std::wstring> privacy;  // the formats present, each with a DWORD 0 where it has one
};

ClipboardSeen ReadClipboard() {
    ClipboardSeen seen;
    if (!OpenClipboard(nullptr)) return seen;
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) seen.picture = ReadBitmap(HBITMAP(bitmap));
    for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing",
                                L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
        const HANDLE data = GetClipboardData(RegisterClipboardFormatW(name));
        if (!data) continue;
        const auto* value = static_cast<const DWORD*>(GlobalLock(data));
        if (value && GlobalSize(data) >= sizeof(DWORD) && *value == 0) seen.privacy.push_back(name);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return seen;
}

class MarkupLeaving : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        form.PicBmp.SetPicture(PatternPicture());
        form.Form_Resize();
        Pump();
    }
    POINT OnScreen(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(form.PicBmp.hwnd(), &p);
        return p;
    }
    void Redact(int left, int top, int right, int bottom) {
        Keys({'X'});
        MouseTo(OnScreen(left, top));
        Press(OnScreen(left, top));
        MouseTo(OnScreen((left + right) / 2, (top + bottom) / 2));
        Release(OnScreen(right, bottom));
        Pump();
    }
    void Keys(std::initializer_list<WORD> keys) {
        PressKeys(keys);
        Pump(80, form.hwnd(), form.Accelerators());
    }
};

// Copied, then redacted: the secret leaves the clipboard, and the picture that
// takes its place stays out of clipboard history and the cloud.
TEST_F(MarkupLeaving, ARedactionReplacesOurUnredactedCopyOnTheClipboard) {
    Keys({VK_CONTROL, VK_SHIFT, 'C'});
    const ClipboardSeen plain = ReadClipboard();
    EXPECT_EQ(plain.picture.data, ReadPicture(form.PicBmp.GetPicture()).data);
    EXPECT_TRUE(plain.privacy.empty());

    Redact(20, 20, 120, 80);
    const ClipboardSeen after = ReadClipboard();
    EXPECT_EQ(after.picture.data, ReadPicture(form.MarkedPicture()).data);
    ASSERT_EQ(after.picture.width, kWidth);
    EXPECT_EQ(after.picture.at(60, 50), 0u);
    EXPECT_EQ(after.privacy.size(), 3u);

    // Copied again with the redaction: the same formats go with it.
    Keys({VK_CONTROL, VK_SHIFT, 'C'});
    EXPECT_EQ(ReadClipboard().privacy.size(), 3u);
}

// What someone copied since is theirs: a redaction leaves it alone.
TEST_F(MarkupLeaving, AClipboardFilledSinceIsLeftAlone) {
    Keys({VK_CONTROL, VK_SHIFT, 'C'});
    ASSERT_TRUE(OpenClipboard(form.hwnd()));
    EmptyClipboard();
    toolkit::UniqueGlobal text(GlobalAlloc(GMEM_MOVEABLE, sizeof L"theirs"));
    wcscpy(static_cast<wchar_t*>(GlobalLock(text.get())), L"theirs");
    GlobalUnlock(text.get());
    if (SetClipboardData(CF_UNICODETEXT, text.get())) text.release();
    CloseClipboard();

    Redact(20, 20, 120, 80);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const std::wstring kept = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data) GlobalUnlock(data);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    CloseClipboard();
    EXPECT_EQ(kept, L"theirs");
}

// A 32-bit process's address space, nearly full: merging the marks cannot
// find room, and every way out says so instead of handing on nothing.
TEST_F(MarkupLeaving, AMergeWithoutRoomIsToldForEveryWayOut) {
    Redact(20, 20, 120, 80);
    const auto previous = output::SetAddressSpaceProbe([] {
        return output::FreeAddressSpace{{16 << 20, 16 << 20}};
    });
    ScriptedBoxes boxes({IDOK, IDOK, IDOK});
    const std::wstring wallpaperBefore = DeskWallpaper();
    form.mnuWallpaper_Click();
    Keys({VK_CONTROL, VK_SHIFT, 'C'});
    form.mnuMspaint_Click();
    output::SetAddressSpaceProbe(previous);
    const std::wstring told = L"内存不足，无法把标记合并到图片中（400 x 300 像素）。";
    ASSERT_EQ(boxes.asked.size(), 3u);
    for (const auto& box : boxes.asked) EXPECT_EQ(box.text, told);
    EXPECT_EQ(DeskWallpaper(), wallpaperBefore);
}

}  // namespace
