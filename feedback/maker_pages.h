// The addresses the service opens, all on the maker's site. Caller input reaches an address
// only in a form that cannot change the address's structure.
#pragma once

#include <string>
#include <string_view>

class CMakerPages {
 public:
  // The tool's own download page when the id is a plain number, else the general one.
  static std::wstring DownloadPage(std::wstring_view toolId);
  // The feedback page, told which tool and version the user is writing about.
  static std::wstring FeedbackPage(const wchar_t* toolId, const wchar_t* toolVersion);

  // UTF-8 percent-encoding of everything but letters, digits and "-._~".
  static std::wstring PercentEncode(std::wstring_view text);

 private:
  static bool IsPlainNumber(std::wstring_view text);
};
