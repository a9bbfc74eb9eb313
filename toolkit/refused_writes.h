// Folders where Windows refuses a new file: a user who is not an
// administrator under Program Files or in the Windows folder. Wine running as
// root refuses no write, so tests name such folders here.
#pragma once

#include <functional>
#include <string>

namespace toolkit {

// Whether the folder (with its trailing backslash) takes no new file.
using WriteRefusal = std::function<bool(const std::wstring& folder)>;
// Returns the one it replaces; an empty one leaves every refusal to Windows.
WriteRefusal SetWriteRefusal(WriteRefusal refusal);

// True where a test refuses the folder; Windows' own refusals come from the
// write itself (ERROR_ACCESS_DENIED).
bool WriteRefused(const std::wstring& folder);

}  // namespace toolkit
