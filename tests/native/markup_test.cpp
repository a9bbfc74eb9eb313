#include <gtest/gtest.h>

#include <cmath>

#include "output/markup_editor.h"
#include "output/markup_geometry.h"
#include "output/markup_history.h"
#include "output/markup_repaint.h"
#include "output/markup_text.h"

namespace output::markup {
namespace {

Mark Shape(Kind kind, Point a, Point b) {
    Mark m;
    m.kind = kind;
    m.points = {a, b};
    return m;
}

TEST(MarkupHistory, EveryStepUndoesAndRedoesAndADragIsOneStep) {
    History h(Box{0, 0, 800, 600});
    h.Do(AddMark{0, Shape(Kind::Rectangle, {10, 10}, {50, 40})});
    h.Do(AddMark{1, Shape(Kind::Arrow, {100, 100}, {200, 150})});
    for (int i = 0; i < 20; ++i) h.Do(MoveMark{0, 2, 1, 7});  // one drag
    h.Do(RemoveMark{1, {}});
    h.Do(CropTo{Box{5, 5, 300, 200}, {}});
    ASSERT_EQ(h.StepCount(), 5u);
    EXPECT_EQ(h.Doc().marks.size(), 1u);
    EXPECT_EQ(h.Doc().marks[0].points[0], (Point{50, 30}));
    EXPECT_EQ(h.Doc().crop, (Box{5, 5, 300, 200}));

    const Box changed = h.Undo();  // the crop
    EXPECT_EQ(h.Doc().crop, (Box{0, 0, 800, 600}));
    EXPECT_EQ(changed, (Box{0, 0, 800, 600}));
    h.Undo();  // the delete
    ASSERT_EQ(h.Doc().marks.size(), 2u);
    EXPECT_EQ(h.Doc().marks[1].kind, Kind::Arrow);
    h.Undo();  // the whole drag
    EXPECT_EQ(h.Doc().marks[0].points[0], (Point{10, 10}));
    h.Undo();
    h.Undo();
    EXPECT_TRUE(h.Doc().marks.empty());
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(h.Undo(), Box{});

    for (int i = 0; i < 5; ++i) h.Redo();
    EXPECT_EQ(h.Doc().marks.size(), 1u);
    EXPECT_EQ(h.Doc().marks[0].points[1], (Point{90, 60}));
    EXPECT_EQ(h.Doc().crop, (Box{5, 5, 300, 200}));
}

TEST(MarkupHistory, UnsavedIsADifferenceFromTheSavedStep) {
    History h(Box{0, 0, 100, 100});
    EXPECT_TRUE(h.IsClean());
    h.Do(AddMark{0, Shape(Kind::Line, {1, 1}, {50, 50})});
    EXPECT_FALSE(h.IsClean());
    h.Undo();
    EXPECT_TRUE(h.IsClean());
    h.Redo();
    h.MarkClean();
    // A drag after a save is a step of its own, not part of the saved one.
    h.Do(MoveMark{0, 3, 0, 1});
    EXPECT_FALSE(h.IsClean());
    h.Undo();
    EXPECT_TRUE(h.IsClean());
    // Undo past the save, then a new step: the saved state is gone for good.
    h.Undo();
    h.Do(AddMark{0, Shape(Kind::Line, {2, 2}, {9, 9})});
    h.Undo();
    EXPECT_FALSE(h.IsClean());
    EXPECT_EQ(h.StepCount(), 1u);
}

TEST(MarkupHistory, StepsOnMarksThatAreNotThereChangeNothing) {
    History h(Box{0, 0, 100, 100});
    EXPECT_EQ(h.Do(RemoveMark{0, {}}), Box{});
    EXPECT_EQ(h.Do(MoveMark{3, 1, 1, 1}), Box{});
    EXPECT_EQ(h.Do(AddMark{2, Shape(Kind::Line, {1, 1}, {5, 5})}), Box{});
    EXPECT_EQ(h.StepCount(), 0u);
}

TEST(MarkupHit, TopmostWinsOutlinesLeaveTheInsideFreeAndRedactionsAreOnTop) {
    std::vector<Mark> marks;
    marks.push_back(Shape(Kind::Redaction, {0, 0}, {20, 20}));
    marks.push_back(Shape(Kind::Line, {40, 50}, {60, 50}));
    marks.push_back(Shape(Kind::Rectangle, {10, 10}, {100, 100}));
    EXPECT_EQ(TopmostAt(marks, {50, 51}, 2), 1);   // inside the box, on the line
    EXPECT_EQ(TopmostAt(marks, {100, 60}, 2), 2);  // the box's right edge
    EXPECT_EQ(TopmostAt(marks, {15, 10}, 2), 0);   // drawn last, so hit first
    EXPECT_EQ(TopmostAt(marks, {80, 80}, 2), -1);

    Mark ellipse = Shape(Kind::Ellipse, {0, 0}, {100, 50});
    EXPECT_TRUE(HitTest(ellipse, {50, 0}, 2));
    EXPECT_TRUE(HitTest(ellipse, {0, 25}, 2));
    EXPECT_FALSE(HitTest(ellipse, {50, 25}, 2));
    EXPECT_FALSE(HitTest(ellipse, {2, 2}, 2));  // the box's corner is off the ellipse
}

TEST(MarkupGeometry, ShiftMakesSquaresAndLinesAt45Degrees) {
    EXPECT_EQ(SquareCorner({10, 10}, {40, 20}), (Point{40, 40}));
    EXPECT_EQ(SquareCorner({10, 10}, {5, -30}), (Point{-30, -30}));
    EXPECT_EQ(At45Degrees({0, 0}, {100, 30}), (Point{100, 0}));
    EXPECT_EQ(At45Degrees({0, 0}, {-20, -90}), (Point{0, -90}));
    EXPECT_EQ(At45Degrees({0, 0}, {-60, 50}), (Point{-55, 55}));
}

TEST(MarkupGeometry, ArrowHeadsPointAtTheEndAndFitShortArrows) {
    const ArrowHead h = HeadOf({0, 0}, {100, 0}, 3);
    EXPECT_EQ(h.tip, (Point{100, 0}));
    EXPECT_EQ(h.left.x, h.right.x);
    EXPECT_LT(h.left.x, 100);
    EXPECT_EQ(h.left.y, -h.right.y);
    EXPECT_GT(h.base.x, h.left.x);  // the shaft stops inside the head
    const ArrowHead tiny = HeadOf({0, 0}, {0, 5}, 20);
    EXPECT_GE(tiny.left.y, 0);  // never behind the arrow's start
    const Box b = Bounds(Shape(Kind::Arrow, {0, 0}, {0, 100}));
    EXPECT_LE(b.left, h.left.y - 100 + 100 - 20);
}

TEST(MarkupGeometry, StepsCountOnFromTheHighestAndPixelateBlocksStayCoarse) {
    std::vector<Mark> marks;
    EXPECT_EQ(NextStepNumber(marks), 1);
    Mark step;
    step.kind = Kind::Step;
    step.points = {{5, 5}};
    step.number = 1;
    marks.push_back(step);
    step.number = 3;
    marks.push_back(step);
    EXPECT_EQ(NextStepNumber(marks), 4);

    EXPECT_EQ(PixelateBlock(Box{0, 0, 13, 13}), 12);
    EXPECT_GE(PixelateBlock(Box{0, 0, 3840, 40}), 12);
    EXPECT_GE(PixelateBlock(Box{0, 0, 1, 1}), kMinPixelateBlock);
}

TEST(MarkupGeometry, RedactionsRenderLast) {
    std::vector<Mark> marks{
        Shape(Kind::Redaction, {0, 0}, {9, 9}), Shape(Kind::Rectangle, {0, 0}, {9, 9}),
        Shape(Kind::Redaction, {5, 5}, {9, 9}), Shape(Kind::Pen, {0, 0}, {9, 9})};
    EXPECT_EQ(RenderOrder(marks), (std::vector<size_t>{1, 3, 0, 2}));
}

TEST(MarkupGeometry, AClickWithoutADragMakesOnlyAStep) {
    EXPECT_FALSE(IsWorthKeeping(Shape(Kind::Rectangle, {5, 5}, {5, 5})));
    EXPECT_FALSE(IsWorthKeeping(Shape(Kind::Redaction, {5, 5}, {40, 5})));
    EXPECT_TRUE(IsWorthKeeping(Shape(Kind::Line, {5, 5}, {40, 5})));
    Mark step;
    step.kind = Kind::Step;
    step.points = {{5, 5}};
    EXPECT_TRUE(IsWorthKeeping(step));
}

TEST(MarkupEditor, DrawSelectDragAndUndoAsTheUserDoes) {
    Editor e(Box{0, 0, 400, 300});
    e.SetTool(Tool::Rectangle);
    e.Press({10, 10}, false);
    e.Drag({30, 60}, true);  // Shift: a square
    e.Release({35, 60}, true);
    ASSERT_EQ(e.Doc().marks.size(), 1u);
    EXPECT_EQ(e.Doc().marks[0].points[1], (Point{60, 60}));
    EXPECT_EQ(e.Doc().marks[0].color, 0xFF0000u);

    e.SetTool(Tool::Select);
    e.Press({60, 30}, false);  // on the right edge
    ASSERT_EQ(e.Selected(), 0);
    for (int x = 61; x <= 80; ++x) e.Drag({x, 30}, false);
    e.Release({80, 40}, false);
    EXPECT_EQ(e.Doc().marks[0].points[0], (Point{30, 20}));
    e.Undo();  // the whole drag at once
    EXPECT_EQ(e.Doc().marks[0].points[0], (Point{10, 10}));
    e.Press({10, 30}, false);
    e.Release({10, 30}, false);
    e.DeleteSelected();
    EXPECT_TRUE(e.Doc().marks.empty());
    e.Undo();
    EXPECT_EQ(e.Doc().marks.size(), 1u);

    e.SetTool(Tool::Step);
    e.Press({100, 100}, false);
    e.Press({150, 100}, false);
    EXPECT_EQ(e.Doc().marks.back().number, 2);
}

TEST(MarkupEditor, TextEndsOnEnterOrAClickAndEscapeDropsIt) {
    Editor e(Box{0, 0, 400, 300});
    e.SetTool(Tool::Text);
    e.Press({5, 5}, false);
    e.Type(L'h');
    e.Type(L'i');
    e.Type(L'x');
    e.Backspace();
    e.Enter();
    ASSERT_EQ(e.Doc().marks.size(), 1u);
    EXPECT_EQ(e.Doc().marks[0].text, L"hi");
    e.Press({50, 50}, false);
    e.Type(L'a');
    e.Press({90, 90}, false);  // a click elsewhere ends it and starts nothing
    EXPECT_EQ(e.Doc().marks.size(), 2u);
    EXPECT_FALSE(e.Typing());
    e.Press({90, 90}, false);
    e.Type(L'b');
    e.Escape();
    EXPECT_EQ(e.Doc().marks.size(), 2u);
    EXPECT_EQ(e.CurrentTool(), Tool::Select);
}

TEST(MarkupEditor, CropAppliesOnEnterWithinThePictureAndEscapeCancels) {
    Editor e(Box{0, 0, 400, 300});
    e.SetTool(Tool::Crop);
    e.Press({-50, 100}, false);
    e.Release({200, 500}, false);
    EXPECT_EQ(e.Doc().crop, (Box{0, 0, 400, 300}));  // not before Enter
    e.Enter();
    EXPECT_EQ(e.Doc().crop, (Box{0, 100, 200, 300}));
    EXPECT_TRUE(e.Marked());
    e.SetTool(Tool::Crop);
    e.Press({0, 100}, false);
    e.Release({50, 150}, false);
    e.Escape();
    EXPECT_EQ(e.Doc().crop, (Box{0, 100, 200, 300}));
    e.Undo();
    EXPECT_FALSE(e.Marked());
}

TEST(MarkupEditor, ABoxCoversWhatWasDraggedAndAClickCropsNothing) {
    Editor e(Box{0, 0, 400, 300});
    e.SetTool(Tool::Redaction);
    e.Press({10, 20}, false);
    e.Release({210, 170}, false);
    EXPECT_EQ(Bounds(e.Doc().marks[0]), (Box{10, 20, 210, 170}));  // 200 x 150
    e.SetTool(Tool::Crop);
    e.Press({50, 50}, false);
    e.Release({50, 50}, false);
    e.Enter();
    EXPECT_EQ(e.Doc().crop, (Box{0, 0, 400, 300}));
    EXPECT_EQ(e.Steps().StepCount(), 1u);
}

// Each kind of handle, dragged, gives exact pixels, and one undo step.
TEST(MarkupEditor, HandlesResizeToExactPixelsInOneStep) {
    Editor e(Box{0, 0, 800, 600});
    e.SetTool(Tool::Rectangle);
    e.Press({100, 100}, false);
    e.Release({200, 150}, false);
    e.SetTool(Tool::Arrow);
    e.Press({300, 300}, false);
    e.Release({400, 300}, false);
    e.SetTool(Tool::Select);
    const auto drag = [&](Point from, Point to, bool shift) {
        e.Press(from, shift);
        e.Drag({(from.x + to.x) / 2, (from.y + to.y) / 2}, shift);
        e.Release(to, shift);
    };
    e.Press({100, 125}, false);  // selects the box
    e.Release({100, 125}, false);
    drag({200, 150}, {260, 170}, false);  // bottom-right corner
    EXPECT_EQ(Between(e.Doc().marks[0].points[0], e.Doc().marks[0].points[1]),
              (Box{100, 100, 260, 170}));
    drag({100, 135}, {80, 135}, false);  // left side
    EXPECT_EQ(Between(e.Doc().marks[0].points[0], e.Doc().marks[0].points[1]),
              (Box{80, 100, 260, 170}));
    drag({260, 170}, {440, 200}, true);  // Shift keeps 180 x 70
    EXPECT_EQ(Between(e.Doc().marks[0].points[0], e.Doc().marks[0].points[1]),
              (Box{80, 100, 440, 240}));
    const size_t steps = e.Steps().StepCount();
    e.Undo();
    EXPECT_EQ(Between(e.Doc().marks[0].points[0], e.Doc().marks[0].points[1]),
              (Box{80, 100, 260, 170}));
    EXPECT_EQ(e.Steps().StepCount(), steps);

    e.Press({350, 300}, false);  // selects the arrow
    e.Release({350, 300}, false);
    ASSERT_EQ(e.Selected(), 1);
    drag({400, 300}, {420, 350}, false);
    EXPECT_EQ(e.Doc().marks[1].points[1], (Point{420, 350}));
    EXPECT_EQ(e.Doc().marks[1].points[0], (Point{300, 300}));
}

TEST(MarkupEditor, NudgesRunIntoOneStepAndRestyleIsAStepOfItsOwn) {
    Editor e(Box{0, 0, 800, 600});
    e.SetTool(Tool::Line);
    e.Press({10, 10}, false);
    e.Release({60, 10}, false);
    e.SetTool(Tool::Select);
    e.Press({30, 10}, false);
    e.Release({30, 10}, false);
    for (int i = 0; i < 3; ++i) e.Nudge(1, 0);
    e.Nudge(0, 10);
    EXPECT_EQ(e.Doc().marks[0].points[0], (Point{13, 20}));
    e.SetColor(0x0000FF);
    e.ChangeWidth(+1);
    EXPECT_EQ(e.Doc().marks[0].color, 0x0000FFu);
    EXPECT_EQ(e.Doc().marks[0].width, 4);
    EXPECT_EQ(e.Width(), 4);
    e.Undo();
    EXPECT_EQ(e.Doc().marks[0].width, 3);
    EXPECT_EQ(e.Doc().marks[0].color, 0x0000FFu);
    e.Undo();
    EXPECT_EQ(e.Doc().marks[0].color, 0xFF0000u);
    e.Undo();  // the whole run of nudges
    EXPECT_EQ(e.Doc().marks[0].points[0], (Point{10, 10}));
}

TEST(MarkupText, EditedAgainWithCaretSelectionAndItsOwnUndo) {
    Editor e(Box{0, 0, 800, 600});
    e.SetTool(Tool::Text);
    e.Press({10, 10}, false);
    for (wchar_t c : std::wstring(L"one two")) e.Type(c);
    e.Enter();
    e.SetTool(Tool::Select);
    e.Press({12, 12}, false);
    e.Release({12, 12}, false);
    e.Enter();  // edits the selected text, all of it selected
    ASSERT_TRUE(e.Typing());
    EXPECT_EQ(e.SelectedText(), L"one two");
    e.MoveCaret(CaretMove::Home, false);
    e.MoveCaret(CaretMove::Right, false);
    e.MoveCaret(CaretMove::Right, true);
    e.MoveCaret(CaretMove::Right, true);
    EXPECT_EQ(e.SelectedText(), L"ne");
    e.Type(L'x');  // replaces the selection
    e.Type(L'y');
    e.MoveCaret(CaretMove::End, false);
    e.Type(L' ');
    e.Type(L'z');
    e.UndoTyping();  // " z"'s word
    EXPECT_EQ(e.Pending()->text, L"oxy two ");
    e.UndoTyping();
    EXPECT_EQ(e.Pending()->text, L"oxy two");
    e.UndoTyping();
    EXPECT_EQ(e.Pending()->text, L"one two");
    e.MoveCaret(CaretMove::Home, false);
    e.Type(L'!');
    e.Enter();
    ASSERT_EQ(e.Doc().marks.size(), 1u);
    EXPECT_EQ(e.Doc().marks[0].text, L"!one two");
    e.Undo();  // the edit is one step
    EXPECT_EQ(e.Doc().marks[0].text, L"one two");
    e.Press({12, 12}, false);
    e.Release({12, 12}, false);
    e.Enter();
    e.Type(L'q');
    e.Escape();  // cancels, the mark stays
    EXPECT_EQ(e.Doc().marks[0].text, L"one two");
    EXPECT_EQ(e.Steps().StepCount(), 2u);
}

TEST(MarkupText, SurrogatePairsAreOneCharacterAndLinesWrapAtTheWidth) {
    const std::wstring t{L'a', wchar_t(0xD83D), wchar_t(0xDE00), L'b'};
    EXPECT_EQ(NextChar(t, 1), 3u);
    EXPECT_EQ(PreviousChar(t, 3), 1u);
    Editor e(Box{0, 0, 800, 600});
    e.SetTool(Tool::Text);
    e.Press({10, 10}, false);
    for (wchar_t c : t) e.Type(c);
    e.MoveCaret(CaretMove::Left, false);
    e.MoveCaret(CaretMove::Left, false);
    EXPECT_EQ(e.Caret(), 1u);
    e.MoveCaret(CaretMove::End, false);
    e.Backspace();
    e.Backspace();
    EXPECT_EQ(e.Pending()->text, L"a");

    Mark m;
    m.kind = Kind::Text;
    m.points = {{0, 0}};
    m.text = L"aaa bbb ccc";
    const TextMeasure measure = PlainMeasure();
    const int32_t letter = measure.width(m, L"a");
    m.wrap = letter * 8;
    ASSERT_EQ(measure.width(m, L"aaa bbb "), m.wrap);
    const std::vector<TextLine> lines = LayOut(m, measure);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(m.text.substr(lines[0].begin, lines[0].end - lines[0].begin), L"aaa bbb");
    EXPECT_EQ(lines[1].begin, 8u);
    EXPECT_EQ(CaretAt(m, measure, 9).y, measure.lineHeight(m));
    EXPECT_EQ(IndexAt(m, measure, {letter + 1, measure.lineHeight(m) + 1}), 9u);
}

TEST(MarkupGeometry, LastPixelateBlocksJoinAThinRemainderAndBadgesHoldTheirNumber) {
    for (int32_t length : {12, 20, 23, 24, 25, 35, 100}) {
        int32_t v = 0;
        while (v < length) {
            const auto [from, to] = PixelateSpan(length, 12, v);
            EXPECT_EQ(from, v);
            EXPECT_GE(to - from, 12) << length;
            EXPECT_LE(to, length);
            v = to;
        }
    }
    EXPECT_GT(StepRadius(3, 120), StepRadius(3, 12));
    EXPECT_EQ(StepRadius(3, 1), StepRadius(3, 9));
}

// A crop dragged across a picture: every pixel whose shade or frame changes is
// repainted (else a trail stays on screen), and a small move repaints little.
TEST(MarkupRepaint, AMovedEdgeRepaintsWhatChangedAndLittleElse) {
    const auto looks = [](const Box& b, int32_t reach, int32_t x, int32_t y) {
        if (b.Empty()) return 0;  // nothing is drawn
        const bool inside = x >= b.left && x < b.right && y >= b.top && y < b.bottom;
        const bool nearEdge = x >= b.left - reach && x < b.right + reach && y >= b.top - reach &&
                              y < b.bottom + reach &&
                              !(x >= b.left + reach && x < b.right - reach && y >= b.top + reach &&
                                y < b.bottom - reach);
        return int(inside) + 2 * int(nearEdge);
    };
    uint32_t seed = 7;
    const auto next = [&seed](int32_t n) {
        seed = seed * 1103515245 + 12345;
        return int32_t(seed >> 16) % n;
    };
    for (int i = 0; i < 400; ++i) {
        const Point a{next(20), next(20)};
        const Box before = Between(a, {next(30), next(30)}),
                  after = Between(a, {next(30), next(30)});
        const int32_t reach = next(4);
        const std::vector<Box> strips = EdgesMoved(before, after, reach);
        for (int32_t y = -6; y < 36; ++y)
            for (int32_t x = -6; x < 36; ++x) {
                if (looks(before, reach, x, y) == looks(after, reach, x, y)) continue;
                bool covered = false;
                for (const Box& s : strips)
                    covered = covered || (x >= s.left && x < s.right && y >= s.top && y < s.bottom);
                ASSERT_TRUE(covered) << i << ": " << x << "," << y;
            }
    }
    int64_t area = 0;
    for (const Box& s : EdgesMoved(Box{10, 10, 7000, 4000}, Box{10, 10, 7003, 4002}, 3))
        area += int64_t(s.Width()) * s.Height();
    EXPECT_LT(area, 20 * (7000 + 4000));
}

}  // namespace
}  // namespace output::markup
