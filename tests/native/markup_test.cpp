#include <gtest/gtest.h>

#include <cmath>

#include "output/markup_editor.h"
#include "output/markup_geometry.h"
#include "output/markup_history.h"

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
    e.Release({199, 500}, false);
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

}  // namespace
}  // namespace output::markup
