#include "app/markup_strings.h"

namespace app {

using output::markup::Tool;

const MarkupToolText kMarkupTools[kMarkupToolCount] = {
    {Tool::Select, 'V', TextId::MarkupSelectTool, TextId::MarkupSelectHint},
    {Tool::Rectangle, 'R', TextId::MarkupRectangleTool, TextId::MarkupRectangleHint},
    {Tool::Ellipse, 'E', TextId::MarkupEllipseTool, TextId::MarkupEllipseHint},
    {Tool::Line, 'L', TextId::MarkupLineTool, TextId::MarkupLineHint},
    {Tool::Arrow, 'A', TextId::MarkupArrowTool, TextId::MarkupArrowHint},
    {Tool::Pen, 'P', TextId::MarkupPenTool, TextId::MarkupPenHint},
    {Tool::Highlighter, 'H', TextId::MarkupHighlighterTool, TextId::MarkupHighlighterHint},
    {Tool::Text, 'T', TextId::MarkupTextTool, TextId::MarkupTextHint},
    {Tool::Step, 'N', TextId::MarkupStepTool, TextId::MarkupStepHint},
    {Tool::Redaction, 'X', TextId::MarkupRedactionTool, TextId::MarkupRedactionHint},
    {Tool::Pixelate, 'M', TextId::MarkupPixelateTool, TextId::MarkupPixelateHint},
    {Tool::Crop, 'C', TextId::MarkupCropTool, TextId::MarkupCropHint},
};

const MarkupToolText* MarkupToolTextOf(Tool tool) {
    for (const MarkupToolText& t : kMarkupTools)
        if (t.tool == tool) return &t;
    return nullptr;
}

const int kMarkupWidths[] = {1, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20};
const int kMarkupWidthCount = sizeof kMarkupWidths / sizeof kMarkupWidths[0];

}  // namespace app
