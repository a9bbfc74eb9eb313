// Marking up a picture on the real window with real mouse and keys: where
// each tool's mark lands, undo and redo, crop, what leaves the program.
#include <windows.h>
#include <imm.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "app/frm_main.h"
#include "output/markup_geometry.h"
#include "output/markup_render.h"
#include "output/picture_file.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/win/known_picture.h"
#include "toolkit/runtime.h"

using namespace testing_support;

namespace {

constexpr uint32_t kRed = 0xFF0000;

struct Spot {
    int x, y;
};

class Markup : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        form.PicBmp.SetPicture(KnownPicture());
        form.CaptureUnsaved = true;
        form.Form_Resize();
        Pump();
        original = ReadPicture(form.PicBmp.GetPicture());
    }
    // Scrolls the viewer so picture pixel (x, y) is at the viewport's corner.
    void ScrollTo(int x, int y) {
        form.HScroll1.SetValue(x * 15);
        form.HScroll1_Change();
        form.VScroll1.SetValue(y * 15);
        form.VScroll1_Change();
        Pump();
    }
    POINT OnScreen(Spot s) const {
        const auto& crop = form.Markup.Doc().crop;
        POINT p{s.x - crop.left, s.y - crop.top};
        ClientToScreen(form.PicBmp.hwnd(), &p);
        return p;
    }
    void Drag(Spot from, Spot to) {
        MouseTo(OnScreen(from));
        Press(OnScreen(from));
        for (int i = 1; i <= 4; ++i)
            MouseTo(OnScreen({from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4}));
        Release(OnScreen(to));
        Pump();
    }
    void ClickAt(Spot s) {
        Click(OnScreen(s));
        Pump();
    }
    void Keys(std::initializer_list<WORD> keys) {
        PressKeys(keys);
        Pump(80, form.hwnd(), form.Accelerators());
    }
    Pixels Marked() { return ReadPicture(form.MarkedPicture()); }

    Pixels original;
};

// Whether any pixel within `reach` of the spot has the colour.
bool Near(const Pixels& p, Spot s, uint32_t color, int reach = 2) {
    for (int y = s.y - reach; y <= s.y + reach; ++y)
        for (int x = s.x - reach; x <= s.x + reach; ++x)
            if (p.at(x, y) == color) return true;
    return false;
}

bool AllOf(const Pixels& p, int l, int t, int r, int b, const std::function<bool(uint32_t)>& is) {
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (!is(p.at(x, y))) return false;
    return true;
}

TEST_F(Markup, EachToolLandsOnItsPixelsAtTwoScrollOffsetsAndUndoRedoRestoreThem) {
    struct Case {
        WORD key;
        Spot from, to;  // relative to the viewport's corner
        std::function<bool(const Pixels&, Spot, Spot)> landed;
    };
    const Case cases[] = {
        {'R',
         {60, 60},
         {160, 120},
         [](const Pixels& p, Spot a, Spot b) {
             return Near(p, {a.x, (a.y + b.y) / 2}, kRed, 1) &&
                    p.at((a.x + b.x) / 2, (a.y + b.y) / 2) == kGrey;
         }},
        {'E',
         {60, 60},
         {160, 120},
         [](const Pixels& p, Spot a, Spot b) {
             return Near(p, {(a.x + b.x) / 2, a.y}, kRed, 1) && p.at(a.x + 2, a.y + 2) == kGrey;
         }},
        {'L',
         {60, 60},
         {160, 120},
         [](const Pixels& p, Spot a, Spot b) {
             return Near(p, {(a.x + b.x) / 2, (a.y + b.y) / 2}, kRed, 1) && p.at(a.x, b.y) == kGrey;
         }},
        {'A',
         {60, 60},
         {160, 60},
         [](const Pixels& p, Spot a, Spot b) {
             return p.at(b.x - 3, b.y) == kRed && p.at(b.x - 12, b.y - 4) == kRed &&
                    p.at(a.x + 40, a.y) == kRed && p.at(a.x + 40, a.y - 6) == kGrey;
         }},
        {'P',
         {60, 60},
         {160, 120},
         [](const Pixels& p, Spot a, Spot b) {
             return Near(p, {(a.x + b.x) / 2, (a.y + b.y) / 2}, kRed, 1);
         }},
        {'H',
         {60, 60},
         {160, 60},  // yellow over grey, multiplied
         [](const Pixels& p, Spot a, Spot) {
             return p.at(a.x + 50, a.y) == 0x808000 && p.at(a.x + 50, a.y - 5) == 0x808000;
         }},
        {'N',
         {100, 100},
         {100, 100},
         [](const Pixels& p, Spot a, Spot) { return p.at(a.x - 11, a.y) == kRed; }},
        {'X',
         {310, 20},
         {370, 80},  // over the pattern
         [](const Pixels& p, Spot a, Spot b) {
             return AllOf(p, a.x, a.y, b.x, b.y, [](uint32_t c) { return c == 0; }) &&
                    p.at(b.x, b.y - 1) == KnownAt(b.x, b.y - 1);
         }},
        {'M',
         {312, 20},
         {372, 80},
         [](const Pixels& p, Spot a, Spot) {
             // The first block is one colour, no longer the pattern.
             const uint32_t c = p.at(a.x, a.y);
             return AllOf(p, a.x, a.y, a.x + 12, a.y + 12, [c](uint32_t v) { return v == c; }) &&
                    (c != KnownAt(a.x, a.y) || c != KnownAt(a.x + 4, a.y + 4));
         }},
    };
    for (const Spot offset : {Spot{0, 0}, Spot{400, 150}}) {
        ScrollTo(offset.x, offset.y);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(1, char(c.key)) + " at " + std::to_string(offset.x));
            const Spot a{offset.x + c.from.x, offset.y + c.from.y};
            const Spot b{offset.x + c.to.x, offset.y + c.to.y};
            Keys({c.key});
            if (c.key == 'N')
                ClickAt(a);
            else
                Drag(a, b);
            const Pixels marked = Marked();
            EXPECT_TRUE(c.landed(marked, a, b));
            EXPECT_TRUE(form.CaptureUnsaved);
            Keys({VK_CONTROL, 'Z'});
            EXPECT_TRUE(Marked().data == original.data);
            Keys({VK_CONTROL, 'Y'});
            EXPECT_TRUE(Marked().data == marked.data);
            Keys({VK_CONTROL, 'Z'});
        }
        // Typed in place: Enter ends it.
        Keys({'T'});
        ClickAt({offset.x + 60, offset.y + 60});
        Keys({VK_SHIFT, 'W'});
        Keys({VK_SHIFT, 'M'});
        Keys({VK_RETURN});
        ASSERT_EQ(form.Markup.Doc().marks.size(), 1u);
        EXPECT_EQ(form.Markup.Doc().marks[0].text, L"WM");
        const Pixels typed = Marked();
        bool red = false;
        for (int y = 60; y < 90; ++y)
            for (int x = 60; x < 100; ++x)
                red = red || typed.at(offset.x + x, offset.y + y) == kRed;
        EXPECT_TRUE(red);
        Keys({VK_CONTROL, 'Z'});
        EXPECT_TRUE(Marked().data == original.data);
    }
}

TEST_F(Markup, AMarkIsSelectedMovedAndDeletedWithTheSelectTool) {
    Keys({'R'});
    Drag({50, 50}, {150, 100});
    Keys({VK_ESCAPE});
    Drag({150, 75}, {180, 95});  // the right edge, 30 across and 20 down
    Pixels p = Marked();
    EXPECT_TRUE(Near(p, {80, 95}, kRed, 1));
    EXPECT_EQ(p.at(50, 75), kGrey);
    Keys({VK_DELETE});
    EXPECT_TRUE(Marked().data == original.data);
    Keys({VK_CONTROL, 'Z'});  // the delete
    Keys({VK_CONTROL, 'Z'});  // the whole drag
    EXPECT_TRUE(Near(Marked(), {50, 75}, kRed, 1));
}

TEST_F(Markup, TheToolInUseShowsInPanelOneAndTheShortcutsKeepTheirMeaning) {
    const std::wstring panel = form.PanelText(1);
    Keys({'A'});
    EXPECT_NE(form.PanelText(1), panel);
    EXPECT_NE(form.PanelText(1).find(L"箭头"), std::wstring::npos);
    {
        FileDialogAnswer cancel(L"保存", L"");
        Keys({VK_CONTROL, 'S'});
        EXPECT_TRUE(cancel.seen());
    }
    Keys({VK_ESCAPE});
    EXPECT_EQ(form.PanelText(1), panel);
}

TEST_F(Markup, CopyPutsTheMarkedPictureOnTheClipboard) {
    Keys({'X'});
    Drag({20, 20}, {120, 60});
    Keys({VK_CONTROL, VK_SHIFT, 'C'});
    Pixels copied;
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) copied = ReadBitmap(HBITMAP(bitmap));
    CloseClipboard();
    EXPECT_TRUE(copied.data == Marked().data);
    EXPECT_EQ(copied.at(50, 50), 0u);
}

TEST_F(Markup, EditInPaintGetsTheMarkedPicture) {
    Keys({'X'});
    Drag({20, 20}, {120, 60});
    ScriptedBoxes boxes({IDOK});  // whatever the shell says of Paint
    form.mnuMspaint_Click();
    const Pixels handed =
        ReadPicture(output::LoadPicture(toolkit::AppPath() + L"\\Temp\\temp.bmp").picture);
    EXPECT_TRUE(handed.data == Marked().data);
    EXPECT_EQ(handed.at(50, 50), 0u);
}

// The redacted area of what is saved holds the fill and nothing of the
// pattern beneath, in every format.
TEST_F(Markup, SavedRedactionLeavesNothingOfThePixels) {
    Keys({'X'});
    Drag({310, 20}, {390, 100});
    for (const wchar_t* extension : {L".png", L".bmp", L".jpg"}) {
        SCOPED_TRACE(extension);
        const std::wstring path = TempPath(std::wstring(L"fotolark_redacted") + extension);
        DeleteFileW(path.c_str());
        {
            FileDialogAnswer answer(L"保存", path);
            form.mnusave_Click();
        }
        output::LoadedPicture loaded = output::LoadPicture(path);
        ASSERT_EQ(loaded.failure, output::LoadFailure::None);
        const Pixels p = ReadPicture(loaded.picture);
        ASSERT_EQ(p.width, kWidth);
        if (std::wstring(extension) != L".jpg") {
            EXPECT_TRUE(AllOf(p, 310, 20, 390, 100, [](uint32_t c) { return c == 0; }));
        } else {
            // Coding noise only, in the 16-pixel coding units wholly inside.
            EXPECT_TRUE(AllOf(p, 320, 32, 384, 96, [](uint32_t c) {
                return (c >> 16 & 0xFF) < 24 && (c >> 8 & 0xFF) < 24 && (c & 0xFF) < 24;
            }));
        }
        DeleteFileW(path.c_str());
    }
    EXPECT_FALSE(form.CaptureUnsaved);
}

// What is saved has smooth strokes and text: pixels on a slanted line's edge
// between the line's colour and the picture's. Redaction and pixelate stay exact:
// each pixel inside is the fill or its block's mean, none outside changed.
TEST_F(Markup, SavedStrokesAreSmoothAndHidingStaysExact) {
    Keys({'L'});
    Drag({60, 60}, {160, 120});
    Keys({'X'});
    Drag({310, 20}, {370, 80});
    Keys({'M'});
    Drag({312, 120}, {372, 180});
    Keys({'T'});
    ClickAt({60, 200});
    Keys({VK_SHIFT, 'W'});
    Keys({VK_RETURN});
    const auto between = [](uint32_t c, uint32_t a, uint32_t b) {
        for (int shift : {0, 8, 16}) {
            const uint32_t v = c >> shift & 0xFF, x = a >> shift & 0xFF, y = b >> shift & 0xFF;
            if (v < std::min(x, y) || v > std::max(x, y)) return false;
        }
        return c != a && c != b;
    };
    const auto untouchedAround = [](const Pixels& p, int l, int t, int r, int b) {
        for (int x = l - 1; x <= r; ++x)
            if (p.at(x, t - 1) != KnownAt(x, t - 1) || p.at(x, b) != KnownAt(x, b)) return false;
        for (int y = t; y < b; ++y)
            if (p.at(l - 1, y) != KnownAt(l - 1, y) || p.at(r, y) != KnownAt(r, y)) return false;
        return true;
    };
    for (const wchar_t* extension : {L".png", L".bmp"}) {
        SCOPED_TRACE(extension);
        const std::wstring path = TempPath(std::wstring(L"fotolark_smooth") + extension);
        {
            FileDialogAnswer answer(L"保存", path);
            form.mnusave_Click();
        }
        const Pixels p = ReadPicture(output::LoadPicture(path).picture);
        DeleteFileW(path.c_str());
        ASSERT_EQ(p.width, kWidth);
        int soft = 0;
        for (int y = 55; y < 125; ++y)
            for (int x = 55; x < 165; ++x) soft += between(p.at(x, y), kGrey, kRed);
        EXPECT_GT(soft, 100);
        // Text too, in grey levels: red over grey keeps green and blue alike.
        int softText = 0;
        for (int y = 195; y < 260; ++y)
            for (int x = 55; x < 140; ++x) {
                const uint32_t c = p.at(x, y);
                softText += between(c, kGrey, kRed) && (c >> 8 & 0xFF) == (c & 0xFF);
            }
        EXPECT_GT(softText, 20);

        EXPECT_TRUE(AllOf(p, 310, 20, 370, 80, [](uint32_t c) { return c == 0; }));
        EXPECT_TRUE(untouchedAround(p, 310, 20, 370, 80));

        const int block = output::markup::PixelateBlock({312, 120, 372, 180});
        for (int by = 0; by < 60; by = output::markup::PixelateSpan(60, block, by).second)
            for (int bx = 0; bx < 60; bx = output::markup::PixelateSpan(60, block, bx).second) {
                const int right = 312 + output::markup::PixelateSpan(60, block, bx).second,
                          bottom = 120 + output::markup::PixelateSpan(60, block, by).second;
                uint64_t sum[3] = {}, n = 0;
                for (int y = 120 + by; y < bottom; ++y)
                    for (int x = 312 + bx; x < right; ++x, ++n)
                        for (int c = 0; c < 3; ++c) sum[c] += KnownAt(x, y) >> (16 - 8 * c) & 0xFF;
                const uint32_t mean = uint32_t(sum[0] / n << 16 | sum[1] / n << 8 | sum[2] / n);
                EXPECT_TRUE(AllOf(p, 312 + bx, 120 + by, right, bottom,
                                  [mean](uint32_t c) { return c == mean; }))
                    << bx << "," << by;
            }
        EXPECT_TRUE(untouchedAround(p, 312, 120, 372, 180));
    }
}

TEST_F(Markup, CropSetsTheSizeAndCaptionAndAMarkedFileAsksBeforeClosing) {
    const std::wstring path = TempPath(L"fotolark_markup.bmp");
    ASSERT_TRUE(output::SavePicture(form.PicBmp.GetPicture(), path));
    form.CaptureUnsaved = false;
    form.OpenFile(path);
    Pump();
    ASSERT_FALSE(form.CaptureUnsaved);

    Keys({'C'});
    Drag({30, 40}, {230, 190});  // b - a pixels, as the free region keeps
    Keys({VK_RETURN});
    EXPECT_EQ(form.PicBmp.AsControl().Width(), 200 * 15);
    EXPECT_EQ(form.PicBmp.AsControl().Height(), 150 * 15);
    wchar_t caption[256];
    GetWindowTextW(form.hwnd(), caption, 256);
    EXPECT_NE(std::wstring(caption).find(L"fotolark_markup.bmp(3000x2250)"), std::wstring::npos)
        << caption;
    const Pixels cropped = Marked();
    ASSERT_EQ(cropped.width, 200);
    EXPECT_EQ(cropped.at(0, 0), KnownAt(30, 40));
    EXPECT_TRUE(form.CaptureUnsaved);
    {
        ScriptedBoxes boxes({IDCANCEL});
        SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
        EXPECT_EQ(boxes.asked.size(), 1u);
        EXPECT_TRUE(IsWindow(form.hwnd()));
    }
    Keys({VK_CONTROL, 'Z'});
    EXPECT_EQ(form.PicBmp.AsControl().Width(), kWidth * 15);
    EXPECT_FALSE(form.CaptureUnsaved);  // as it was opened
    Keys({'C'});
    ClickAt({100, 100});  // a click spans nothing, and crops nothing
    Keys({VK_RETURN});
    EXPECT_EQ(form.PicBmp.AsControl().Width(), kWidth * 15);
    EXPECT_FALSE(form.CaptureUnsaved);
    DeleteFileW(path.c_str());
}

// A redaction shows the rectangle rule and exact handles, nudges and restyle:
// every pixel inside is the fill, none outside is touched.
TEST_F(Markup, HandlesNudgesAndRestyleMoveARedactionToExactPixels) {
    const auto exactly = [&](const Pixels& p, int l, int t, int r, int b, uint32_t fill) {
        return AllOf(p, l, t, r, b, [fill](uint32_t c) { return c == fill; }) &&
               p.at(l - 1, t) == KnownAt(l - 1, t) && p.at(r, b - 1) == KnownAt(r, b - 1) &&
               p.at(l, b) == KnownAt(l, b) && p.at(r - 1, t - 1) == KnownAt(r - 1, t - 1);
    };
    Keys({'X'});
    Drag({100, 100}, {300, 250});
    EXPECT_TRUE(exactly(Marked(), 100, 100, 300, 250, 0)) << "200 x 150";
    Keys({'V'});
    ClickAt({200, 175});           // inside: a redaction is hit anywhere
    Drag({300, 250}, {320, 260});  // the bottom-right corner
    EXPECT_TRUE(exactly(Marked(), 100, 100, 320, 260, 0));
    Drag({100, 180}, {130, 180});  // the left side
    EXPECT_TRUE(exactly(Marked(), 130, 100, 320, 260, 0));
    Keys({VK_RIGHT});
    Keys({VK_RIGHT});
    Keys({VK_SHIFT, VK_DOWN});
    EXPECT_TRUE(exactly(Marked(), 132, 110, 322, 270, 0));
    Keys({'5'});  // blue, for the mark as well as the tool
    EXPECT_TRUE(exactly(Marked(), 132, 110, 322, 270, 0x0000FF));
    Keys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(exactly(Marked(), 132, 110, 322, 270, 0));
    Keys({VK_CONTROL, 'Z'});  // the run of nudges
    EXPECT_TRUE(exactly(Marked(), 130, 100, 320, 260, 0));
    Keys({VK_CONTROL, 'Z'});  // the side's drag, at once
    EXPECT_TRUE(exactly(Marked(), 100, 100, 320, 260, 0));
}

// What the viewer shows, read from the screen at a scroll offset with a crop
// in effect and a mark selected, is the picture that leaves, pixel for pixel,
// but for the selection's frame and handles.
TEST_F(Markup, TheViewerShowsTheMergedPictureAtAScrollOffsetWithACropAndASelection) {
    SetWindowPos(form.hwnd(), nullptr, 0, 0, 1400, 1000, SWP_NOZORDER);
    Pump();
    const struct {
        WORD key;
        Spot from, to;
    } marks[] = {{'X', {310, 240}, {390, 300}}, {'M', {700, 240}, {760, 300}},
                 {'E', {420, 250}, {560, 340}}, {'A', {220, 520}, {700, 420}},
                 {'L', {210, 235}, {850, 555}}, {'R', {300, 320}, {800, 540}}};
    for (const auto& m : marks) {
        Keys({m.key});
        Drag(m.from, m.to);
    }
    Keys({'C'});
    Drag({100, 80}, {1100, 850});
    Keys({VK_RETURN});
    SetWindowPos(form.hwnd(), nullptr, 0, 0, 900, 700, SWP_NOZORDER);
    ScrollTo(100, 150);
    Keys({'V'});
    ClickAt({300, 430});  // the rectangle's left side
    ASSERT_EQ(form.Markup.Editor().Selected(), 5);

    RECT view, shown;
    GetWindowRect(form.picScroll.hwnd(), &view);
    GetWindowRect(form.PicBmp.hwnd(), &shown);
    ASSERT_LT(shown.left, view.left);  // scrolled
    const auto& crop = form.Markup.Doc().crop;
    const int r = std::max(2, form.Markup.Editor().HandleReach() - 1);
    // Pixels shown unlike the merged picture's, but for the selection's frame
    // just outside the mark and its handles.
    const auto wrongPixels = [&](const Pixels& screen) {
        const Pixels flat = Marked();
        EXPECT_EQ(flat.width, 1000);
        const output::markup::Mark& selected = form.Markup.Doc().marks[5];
        const auto b = output::markup::Bounds(selected);
        const RECT mark{b.left - crop.left, b.top - crop.top, b.right - crop.left,
                        b.bottom - crop.top};
        RECT frame = mark;
        InflateRect(&frame, 3, 3);
        const auto isFrameOrHandle = [&](POINT at) {
            if (PtInRect(&frame, at) && !PtInRect(&mark, at)) return true;
            for (const auto& h : output::markup::HandlesOf(selected))
                if (std::abs(at.x - (h.at.x - crop.left)) <= r &&
                    std::abs(at.y - (h.at.y - crop.top)) <= r)
                    return true;
            return false;
        };
        int wrong = 0;
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x) {
                const POINT at{x + view.left - shown.left, y + view.top - shown.top};
                if (at.x >= flat.width || at.y >= flat.height || isFrameOrHandle(at)) continue;
                if (screen.at(x, y) != flat.at(at.x, at.y) && wrong++ < 3)
                    ADD_FAILURE() << "at " << at.x << "," << at.y << ": " << std::hex
                                  << screen.at(x, y) << " shown, " << flat.at(at.x, at.y)
                                  << " merged";
            }
        return wrong;
    };
    const Pixels screen = ReadScreen(view);
    EXPECT_EQ(wrongPixels(screen), 0);
    // The left side's handle: white, in a dark rim.
    const POINT handle{300 - crop.left + shown.left - view.left,
                       430 - crop.top + shown.top - view.top};
    EXPECT_EQ(screen.at(handle.x, handle.y), 0xFFFFFFu);
    EXPECT_EQ(screen.at(handle.x - r, handle.y), 0u);
    // Resized by its corner over much of the view: nothing of the old frame
    // and handles stays.
    Drag({800, 540}, {1050, 780});
    EXPECT_EQ(wrongPixels(ReadScreen(view)), 0);
}

// A text edited again, as a writer of any language does: the system caret and
// the input method's window at the insertion point, selection, whole
// characters, the typing's own undo, and the edit as one step.
TEST_F(Markup, ATextIsEditedAgainInPlaceWithTheCaretAndInputMethodAtTheInsertionPoint) {
    Keys({'T'});
    ClickAt({60, 60});
    for (WORD key : {'A', 'B'}) Keys({key});
    Keys({VK_RETURN});
    ASSERT_EQ(form.Markup.Doc().marks.size(), 1u);
    const std::wstring typed = form.Markup.Doc().marks[0].text;
    Keys({'V'});
    ClickAt({64, 70});
    ClickAt({64, 70});  // a double click edits it
    ASSERT_TRUE(form.Markup.Editor().Typing());

    Keys({VK_HOME});
    Keys({VK_SHIFT, VK_RIGHT});
    EXPECT_EQ(form.Markup.Editor().SelectedText(), typed.substr(0, 1));
    Keys({VK_CONTROL, 'C'});  // the text's copy, not the window's shortcut
    std::wstring copied;
    if (OpenClipboard(nullptr)) {
        if (HANDLE text = GetClipboardData(CF_UNICODETEXT))
            copied = static_cast<const wchar_t*>(GlobalLock(text)), GlobalUnlock(text);
        CloseClipboard();
    }
    EXPECT_EQ(copied, typed.substr(0, 1));
    Keys({'X'});
    // A character beyond the basic plane comes as two; Backspace takes both.
    SendMessageW(form.PicBmp.hwnd(), WM_CHAR, 0xD83D, 1);
    SendMessageW(form.PicBmp.hwnd(), WM_CHAR, 0xDE00, 1);
    Pump();
    EXPECT_EQ(form.Markup.Editor().Pending()->text, L"x\xD83D\xDE00" + typed.substr(1));

    GUITHREADINFO gui{sizeof gui};
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &gui));
    EXPECT_EQ(gui.hwndCaret, form.PicBmp.hwnd());
    const auto caret = form.Markup.Editor().CaretBox();
    EXPECT_EQ(gui.rcCaret.left, caret.left);
    EXPECT_EQ(gui.rcCaret.top, caret.top);
    EXPECT_GT(caret.left, 60 + 10);  // past the x and the emoji
    if (HIMC context = ImmGetContext(form.PicBmp.hwnd())) {
        COMPOSITIONFORM composition{};
        EXPECT_TRUE(ImmGetCompositionWindow(context, &composition));
        EXPECT_EQ(composition.ptCurrentPos.x, caret.left);
        EXPECT_EQ(composition.ptCurrentPos.y, caret.top);
        ImmReleaseContext(form.PicBmp.hwnd(), context);
    }
    Keys({VK_BACK});
    EXPECT_EQ(form.Markup.Editor().Pending()->text, L"x" + typed.substr(1));
    Keys({VK_CONTROL, 'Z'});  // the typing's undo, not the text's
    EXPECT_EQ(form.Markup.Editor().Pending()->text, L"x\xD83D\xDE00" + typed.substr(1));
    Keys({VK_RETURN});
    EXPECT_EQ(form.Markup.Doc().marks[0].text, L"x\xD83D\xDE00" + typed.substr(1));
    EXPECT_EQ(form.Markup.Doc().marks.size(), 1u);
    Keys({VK_CONTROL, 'Z'});  // the whole edit
    EXPECT_EQ(form.Markup.Doc().marks[0].text, typed);
}

// The menu key while a text is typed opens the mark-up menu at the caret.
TEST_F(Markup, TheMenuKeyOpensTheMenuAtTheCaret) {
    Keys({'T'});
    ClickAt({200, 300});
    Keys({'A'});
    static RECT menu;
    menu = RECT{};
    struct Timer {  // a timer procedure is stdcall on 32-bit Windows, which a lambda is not
        static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            if (HWND popup = FindWindowW(L"#32768", nullptr)) GetWindowRect(popup, &menu);
            EndMenu();
        }
    };
    SetTimer(nullptr, 0, 300, &Timer::Look);
    Keys({VK_SHIFT, VK_F10});
    Pump(400);
    POINT caret{form.Markup.Editor().CaretBox().left, form.Markup.Editor().CaretBox().bottom};
    ClientToScreen(form.PicBmp.hwnd(), &caret);
    EXPECT_LE(std::abs(menu.left - caret.x), 2);
    EXPECT_LE(std::abs(menu.top - caret.y), 2);
    EXPECT_TRUE(form.Markup.Editor().Typing());
}

// A badge of three digits holds them: nothing of the number outside its disc
// (whose smooth rim reaches a pixel's corner past its radius).
// Pixelate's blocks are all at least 12 pixels, its last ones too.
TEST_F(Markup, ABadgeHoldsItsNumberAndPixelateBlocksStayCoarse) {
    output::markup::Document doc;
    doc.crop = {0, 0, kWidth, kHeight};
    output::markup::Mark step;
    step.kind = output::markup::Kind::Step;
    step.points = {{100, 100}};
    step.number = 120;
    doc.marks.push_back(step);
    output::markup::Mark pixelate;
    pixelate.kind = output::markup::Kind::Pixelate;
    pixelate.points = {{300, 20}, {345, 55}};  // 45 x 35: blocks of 12 and a last of 21 and 23
    doc.marks.push_back(pixelate);
    const Pixels p = ReadPicture(output::markup::Flatten(form.PicBmp.GetPicture(), doc));
    const int r = output::markup::StepRadius(step.width, step.number);
    int outside = 0;
    for (int y = 100 - r - 6; y <= 100 + r + 6; ++y)
        for (int x = 100 - r - 6; x <= 100 + r + 6; ++x)
            if (std::hypot(x - 100, y - 100) > r + 1.5 && p.at(x, y) != kGrey) ++outside;
    EXPECT_EQ(outside, 0);
    bool digits = false;
    for (int x = 100 - r; x <= 100 + r; ++x) digits = digits || p.at(x, 100) == 0xFFFFFF;
    EXPECT_TRUE(digits);
    for (int y = 20; y < 55; ++y) {
        int run = 1;
        for (int x = 301; x <= 345; ++x) {
            if (x < 345 && p.at(x, y) == p.at(x - 1, y)) {
                ++run;
                continue;
            }
            EXPECT_GE(run, 12) << x << "," << y;
            run = 1;
        }
    }
}

}  // namespace
