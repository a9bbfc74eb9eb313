#include "toolkit/composition.h"

#include <dwmapi.h>

namespace toolkit {

void WaitForComposition() {
    BOOL composed = FALSE;
    if (SUCCEEDED(DwmIsCompositionEnabled(&composed)) && composed) DwmFlush();
}

void SetShowAnimation(HWND hwnd, bool animated) {
    const BOOL disabled = animated ? FALSE : TRUE;
    DwmSetWindowAttribute(hwnd, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof disabled);
}

}  // namespace toolkit
