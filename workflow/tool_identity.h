#pragma once

// The identity under which the feedback service knows this tool.
inline constexpr wchar_t kToolId[] = L"10027";
inline constexpr wchar_t kToolVersion[] = L"1.0.4";
