#pragma once

// The maker's knowledge base; the problem-solved window opens the same host.
inline constexpr wchar_t kKnowledgeBaseHost[] = L"https://kb.zorvex.com";
inline constexpr wchar_t kKnowledgeBaseRepairArticlePath[] = L"/detail/dc_172545.html";
