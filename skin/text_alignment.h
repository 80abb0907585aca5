#pragma once
// Alignment modes of the drawn statics, as DrawText flags.
#include <optional>

// The plain drawn text: modes 0 to 4; any other mode draws no text.
std::optional<unsigned> DrawTextStaticFlags(int mode);

// The status line: modes 1 to 6; any other mode (0 included) is a single left-aligned line.
unsigned StateInfoStaticFlags(int mode);
