// Registering a key that works while another program is in front, and when
// the system refuses it, who most likely holds it.
#pragma once

#include <windows.h>

#include "toolkit/key_text.h"

namespace toolkit {

enum class KeyState { Works, None, TakenByWindows, TakenByOwnCopy, TakenByOther };

// `ownClass` is the class of the program's main window: a window of that
// class in another process is another copy of the program.
KeyState RegisterGlobalKey(HWND window, int id, KeyChord key, const wchar_t* ownClass);

// Whether Windows 11's "Print Screen opens screen snipping" setting is on.
bool PrintScreenOpensSnipping();

}  // namespace toolkit
