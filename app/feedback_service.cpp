#include "feedback_service.h"

#include "zorvex_feedback.h"

int CFeedbackService::InitFreedbackDll() { return ::InitFreedbackDll(); }

int CFeedbackService::GetToolIsNewVersion(const std::wstring& toolId, const std::wstring& version) {
    return ::GetToolIsNewVersion(toolId.c_str(), version.c_str());
}

int CFeedbackService::OpenToolDownUrl() { return ::OpenToolDownUrl(); }

int CFeedbackService::CustomerFeedbackEx(const std::wstring& toolId, const std::wstring& version, int code,
                                         const std::wstring& timeText) {
    return ::CustomerFeedbackEx(toolId.c_str(), version.c_str(), code, timeText.c_str());
}

int CFeedbackService::FeedbackQuestion(const std::wstring& toolId, const std::wstring& version) {
    return ::FeedbackQuestion(toolId.c_str(), version.c_str());
}

int CFeedbackService::ReleaseFreedbackRes() { return ::ReleaseFreedbackRes(); }
