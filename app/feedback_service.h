// The program's binding of the feedback and update service library
// (ZorvexFeedbackInformation.dll): each call goes to the library unchanged.
#pragma once

#include <string>

#include "repair_feedback.h"

class CFeedbackService : public IRepairFeedback {
public:
    int InitFreedbackDll() override;
    int GetToolIsNewVersion(const std::wstring& toolId, const std::wstring& version) override;
    int OpenToolDownUrl() override;
    int CustomerFeedbackEx(const std::wstring& toolId, const std::wstring& version, int code,
                           const std::wstring& timeText) override;
    int FeedbackQuestion(const std::wstring& toolId, const std::wstring& version) override;
    int ReleaseFreedbackRes() override;
};
