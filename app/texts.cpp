#include "app/texts.h"

namespace app {

namespace {

// In the order of TextId.
constexpr const wchar_t* kChinese[kTextCount] = {
    L"  文件还没有保存，您要保存吗?",
    L"单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。",
    L"关于...",
    L"云雀软件工作室",
    L"QQ\uFF1A",
    L"邮箱\uFF1A",
    L"无法启动记事本打开帮助文件：",
    L"保存",
    L"没有可保存的图片。",
    L"无法保存文件：",
    L"无法读取文件：",
    L"无法打开文件，它不是图片或已经损坏：",
    L"图片太大，无法打开（%1 x %2 像素；每边最多 30000 像素，总共最多 2.56 亿像素）：",
    L"图片太大，内存放不下（%1 x %2 像素）：",
    L"无法将图片复制到剪贴板。",
    L"没有可设置为墙纸的图片。",
    L"无法写入墙纸文件，墙纸没有改变。",
    L"系统没有接受新的墙纸：",
    L"无法写入临时图片文件，程序目录和用户临时目录都不可写。",
    L"无法启动画图程序编辑：",
    L"打开",
    L"保存图片",
    L"捕获全屏",
    L"区域到剪切板",
    L"延时捕获活动窗口",
    L"捕获当前窗口",
    L"捕获工作区",
    L"用画图编辑",
    L"设为墙纸",
    L"打印",
    L"帮助",
    L"关于",
    L"图标 (*.ico)",
    L"所有图片",
    L"语言/Language(&L)",
    L"简体中文(&C)",
    L"English(&E)",
    L"全部显示器(&M)",
    L"指针所在显示器(&N)",
    L"选取窗口(&W)",
    L"选择(&V)",
    L"矩形(&R)",
    L"椭圆(&E)",
    L"直线(&L)",
    L"箭头(&A)",
    L"画笔(&P)",
    L"荧光笔(&H)",
    L"文字(&T)",
    L"步骤编号(&N)",
    L"涂黑(&X)",
    L"马赛克(&M)",
    L"裁剪(&C)",
    L"选择：单击标记选中，拖动移动，Delete 删除",
    L"矩形：拖动绘制，按住 Shift 为正方形",
    L"椭圆：拖动绘制，按住 Shift 为圆形",
    L"直线：拖动绘制，按住 Shift 按 45° 取向",
    L"箭头：拖动绘制，按住 Shift 按 45° 取向",
    L"画笔：按住左键自由绘制",
    L"荧光笔：半透明，图片透出",
    L"文字：单击后输入，Enter 完成，Esc 放弃",
    L"步骤编号：单击放置 1、2、3……",
    L"涂黑：拖动遮盖，原像素被彻底清除",
    L"马赛克：仅作美观，不能可靠隐藏内容，请用涂黑",
    L"裁剪：拖动选择区域，Enter 应用，Esc 取消",
    L"红色(&1)",
    L"橙色(&2)",
    L"黄色(&3)",
    L"绿色(&4)",
    L"蓝色(&5)",
    L"紫色(&6)",
    L"黑色(&7)",
    L"白色(&8)",
    L"颜色",
    L"线宽",
    L" 像素",
    L"撤销",
    L"重做",
    L"删除",
    L"复制图片",
    L"无法把图片复制到剪贴板：剪贴板被另一个程序占用。",
    L"滚动捕获(&L)",
    L"滚动捕获：%1 像素高",
    L"按 Esc 停止并保留已捕获的部分",
    L"向下滚动鼠标滚轮；按 Enter 或单击完成，按 Esc 取消",
};

}  // namespace

const wchar_t* ChineseText(TextId id) { return kChinese[size_t(id)]; }

Texts::Texts() {
    for (int i = 0; i < kTextCount; ++i) texts_[size_t(i)] = kChinese[i];
}

void Texts::Replace(int index, const std::wstring& text) {
    if (index >= 0 && index < kTextCount && !text.empty()) texts_[size_t(index)] = text;
}

std::wstring Formatted(std::wstring text, std::initializer_list<std::wstring> values) {
    int n = 1;
    for (const std::wstring& value : values) {
        const std::wstring mark = L"%" + std::to_wstring(n++);
        for (size_t at = text.find(mark); at != std::wstring::npos;
             at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    }
    return text;
}

}  // namespace app
