#pragma once
// The usage agreement shown in the agreement window: the title, the notice and six numbered
// sections, one line per paragraph, CRLF line ends and none after the last paragraph.
#include <string>

// The agreement's name, as the start page's link shows it but without the book-title marks.
inline constexpr wchar_t kAgreementTitle[] = L"泽沃服务工具使用许可协议";

std::wstring BuildAgreementText();
