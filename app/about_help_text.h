// The texts of the Help menu: the About box and Notepad's command line.
#pragma once

#include <string>

namespace app {

// Seven lines joined by CR LF: the product line, the studio's name, its home
// page and the messenger and mail lines after their labels.
std::wstring AboutText(const std::wstring& studio, const std::wstring& qqLabel,
                       const std::wstring& mailLabel);

// Notepad on the readme beside the program. The path is quoted, so a folder
// with spaces opens the readme and not a file named by its first word.
std::wstring HelpCommandLine(const std::wstring& appPath);

}  // namespace app
