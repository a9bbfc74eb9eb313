#pragma once

#include <cstdint>

namespace capture {

// Terminates the process with that id (exit code 1); an id that names no
// process that can be opened, 0 included, is ignored.
void EndProcessById(const int32_t& TaskId);

}  // namespace capture
