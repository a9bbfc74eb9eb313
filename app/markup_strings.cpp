#include "app/markup_strings.h"

namespace app {

using output::markup::Tool;

const MarkupToolText kMarkupTools[kMarkupToolCount] = {
    {Tool::Select, 'V', L"选择(&V)", L"选择：单击标记选中，拖动移动，Delete 删除"},
    {Tool::Rectangle, 'R', L"矩形(&R)", L"矩形：拖动绘制，按住 Shift 为正方形"},
    {Tool::Ellipse, 'E', L"椭圆(&E)", L"椭圆：拖动绘制，按住 Shift 为圆形"},
    {Tool::Line, 'L', L"直线(&L)", L"直线：拖动绘制，按住 Shift 按 45° 取向"},
    {Tool::Arrow, 'A', L"箭头(&A)", L"箭头：拖动绘制，按住 Shift 按 45° 取向"},
    {Tool::Pen, 'P', L"画笔(&P)", L"画笔：按住左键自由绘制"},
    {Tool::Highlighter, 'H', L"荧光笔(&H)", L"荧光笔：半透明，图片透出"},
    {Tool::Text, 'T', L"文字(&T)", L"文字：单击后输入，Enter 完成，Esc 放弃"},
    {Tool::Step, 'N', L"步骤编号(&N)", L"步骤编号：单击放置 1、2、3……"},
    {Tool::Redaction, 'X', L"涂黑(&X)", L"涂黑：拖动遮盖，原像素被彻底清除"},
    {Tool::Pixelate, 'M', L"马赛克(&M)", L"马赛克：仅作美观，不能可靠隐藏内容，请用涂黑"},
    {Tool::Crop, 'C', L"裁剪(&C)", L"裁剪：拖动选择区域，Enter 应用，Esc 取消"},
};

const MarkupToolText* MarkupToolTextOf(Tool tool) {
    for (const MarkupToolText& t : kMarkupTools)
        if (t.tool == tool) return &t;
    return nullptr;
}

const wchar_t* const kMarkupColorNames[8] = {L"红色(&1)", L"橙色(&2)", L"黄色(&3)", L"绿色(&4)",
                                             L"蓝色(&5)", L"紫色(&6)", L"黑色(&7)", L"白色(&8)"};
const int kMarkupWidths[] = {1, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20};
const int kMarkupWidthCount = sizeof kMarkupWidths / sizeof kMarkupWidths[0];

const wchar_t kMarkupColorMenu[] = L"颜色";
const wchar_t kMarkupWidthMenu[] = L"线宽";
const wchar_t kMarkupWidthItem[] = L" 像素";
const wchar_t kMarkupUndo[] = L"撤销\tCtrl+Z";
const wchar_t kMarkupRedo[] = L"重做\tCtrl+Y";
const wchar_t kMarkupDelete[] = L"删除\tDelete";
const wchar_t kMarkupCopy[] = L"复制图片\tCtrl+Shift+C";
const wchar_t kMarkupCopyFailed[] = L"无法把图片复制到剪贴板：剪贴板被另一个程序占用。";

}  // namespace app
