// The maker's feedback and update service, ZorvexFeedbackInformation.dll, linked at load time.
// Strings are zero-terminated UTF-16; every integer and result is 32 bits wide.
#pragma once

#ifdef ZSR_FEEDBACK_BUILDING
#define ZSR_FEEDBACK_API
#else
#define ZSR_FEEDBACK_API __declspec(dllimport)
#endif

static_assert(sizeof(int) == 4 && sizeof(wchar_t) == 2, "the service speaks 32-bit integers and UTF-16");

#ifdef __cplusplus
extern "C" {
#endif

// 0 means the service could not start; any other value means it is ready.
ZSR_FEEDBACK_API int __stdcall InitFreedbackDll(void);
// 3 means a newer version of the tool exists.
ZSR_FEEDBACK_API int __stdcall GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* toolVersion);
// Opens the download page of the tool last asked about in GetToolIsNewVersion.
ZSR_FEEDBACK_API int __stdcall OpenToolDownUrl(void);
// Opens the page on which the user can describe a problem with the tool.
ZSR_FEEDBACK_API int __stdcall FeedbackQuestion(const wchar_t* toolId, const wchar_t* toolVersion);
// Reports whether the tool solved the problem (1 solved, 2 not solved, 3 no answer);
// timeText is the report time in decimal seconds since 1970-01-01 00:00 UTC.
ZSR_FEEDBACK_API int __stdcall CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* toolVersion,
                                                  int code, const wchar_t* timeText);
ZSR_FEEDBACK_API int __stdcall ReleaseFreedbackRes(void);

#ifdef __cplusplus
}
#endif
