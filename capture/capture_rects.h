// The window captures: the form's own window or client area, or the
// foreground window. A window is taken by its visible frame (see
// GrabTopLevelWindow), the client area from its top-left corner.
#pragma once

#include "toolkit/form.h"
#include "toolkit/picture.h"

namespace capture {

toolkit::Picture GrabFormWindow(const toolkit::Form& form);
toolkit::Picture GrabFormClient(const toolkit::Form& form);
toolkit::Picture GrabForegroundWindow();

}  // namespace capture
