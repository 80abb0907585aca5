#pragma once

#include <optional>
#include <string>
#include <string_view>

// Byte-level reading of the commands' console output. The bytes stay in the encoding the
// command wrote (code page 936 for the Chinese DISM); nothing is converted.
class COutputText {
public:
    // The text of a chunk: its bytes up to the first zero byte.
    static std::string_view TextOf(const char* bytes, int count);
    static bool Contains(std::string_view text, std::string_view keyword);
    // The figure of the first progress bar in the text ("10.0" of "[=====   10.0%   ]"): what
    // stands between the last '=' or ' ' before the first '%' and that '%'. None when the text
    // has no '%', starts with it, or has no separator before it other than at its very start.
    static std::optional<std::string> ProgressFigure(std::string_view text);
    // The figure as atof reads it, narrowed to float and truncated toward zero; figures that
    // do not fit an int are held at its limits, and a figure that is not a number gives 0.
    static int PercentOf(const std::string& figure);
};
