// Handing the picture to Paint for editing.
#include "app/frm_main.h"
#include "output/paint_editor.h"
#include "toolkit/runtime.h"

namespace app {

namespace {

constexpr wchar_t kNotWritten[] = L"无法写入临时图片文件，程序目录和用户临时目录都不可写。";
constexpr wchar_t kNotStarted[] = L"无法启动画图程序编辑：";

}  // namespace

void FrmMain::mnuMspaint_Click() {
    if (PicBmp.GetPicture().Empty()) return;
    const output::EditOutcome outcome =
        output::EditInPaint(MarkedPicture(), toolkit::AppPath(), hwnd());
    if (outcome.failure == output::EditFailure::NotWritten)
        ShowMessage(kNotWritten);
    else if (outcome.failure == output::EditFailure::NotStarted)
        ShowMessage(kNotStarted + outcome.path);
}

}  // namespace app
