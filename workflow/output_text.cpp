#include "workflow/output_text.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

std::string_view COutputText::TextOf(const char* bytes, int count)
{
    if (bytes == nullptr || count <= 0)
        return {};
    const char* end = std::find(bytes, bytes + count, '\0');
    return std::string_view(bytes, static_cast<std::size_t>(end - bytes));
}

bool COutputText::Contains(std::string_view text, std::string_view keyword)
{
    return text.find(keyword) != std::string_view::npos;
}

std::optional<std::string> COutputText::ProgressFigure(std::string_view text)
{
    const std::size_t percent = text.find('%');
    if (percent == std::string_view::npos || percent == 0)
        return std::nullopt;
    const std::string_view head = text.substr(0, percent);
    const std::size_t equals = head.rfind('=');
    const std::size_t blank = head.rfind(' ');
    std::size_t separator;
    if (equals == std::string_view::npos)
        separator = blank;
    else if (blank == std::string_view::npos)
        separator = equals;
    else
        separator = std::max(equals, blank);
    if (separator == std::string_view::npos || separator == 0)
        return std::nullopt;
    return std::string(head.substr(separator + 1));
}

int COutputText::PercentOf(const std::string& figure)
{
    const double value = std::strtod(figure.c_str(), nullptr);
    if (std::isnan(value))
        return 0;
    // Narrowing out of range would be undefined; the bar only needs the limits.
    const float narrowed = value >= static_cast<double>(FLT_MAX)    ? FLT_MAX
                           : value <= -static_cast<double>(FLT_MAX) ? -FLT_MAX
                                                                    : static_cast<float>(value);
    if (narrowed >= 2147483648.0f)
        return INT_MAX;
    if (narrowed < -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(narrowed);
}
