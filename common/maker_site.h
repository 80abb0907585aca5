// Addresses of the maker's web site. Every address is built from the one host below, so
// moving the site means changing one line; all of them use a secure connection.
#pragma once

#include <array>
#include <cstddef>

namespace zsr::maker_site {

inline constexpr wchar_t kHost[] = L"kb.zorvex.com";

namespace detail {

// Joins string literals at compile time into one zero-terminated wide string.
template <std::size_t... N>
consteval auto Join(const wchar_t (&... parts)[N]) {
  std::array<wchar_t, (N + ...) - sizeof...(N) + 1> joined{};
  std::size_t at = 0;
  auto append = [&](const wchar_t* part, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) joined[at++] = part[i];
  };
  (append(parts, N - 1), ...);
  joined[at] = L'\0';
  return joined;
}

inline constexpr auto kHomeText = Join(L"https://", kHost);
inline constexpr auto kArticleText = Join(L"https://", kHost, L"/detail/dc_172545.html");
inline constexpr auto kDownloadPrefixText = Join(L"https://", kHost, L"/download/");
inline constexpr auto kDownloadText = Join(L"https://", kHost, L"/download");
inline constexpr auto kFeedbackText = Join(L"https://", kHost, L"/feedback");

}  // namespace detail

// Knowledge-base home page: the host alone, no path.
inline constexpr const wchar_t* kKnowledgeBaseHome = detail::kHomeText.data();
// The article that explains what to do when the repair did not help.
inline constexpr const wchar_t* kKnowledgeBaseArticle = detail::kArticleText.data();
// A tool's own download page is kDownloadPagePrefix + tool id + kDownloadPageSuffix;
// kDownloadPage is the general one for when the tool is not known.
inline constexpr const wchar_t* kDownloadPagePrefix = detail::kDownloadPrefixText.data();
inline constexpr const wchar_t kDownloadPageSuffix[] = L".html";
inline constexpr const wchar_t* kDownloadPage = detail::kDownloadText.data();
// The page on which a user describes a problem with a tool.
inline constexpr const wchar_t* kFeedbackPage = detail::kFeedbackText.data();

}  // namespace zsr::maker_site
