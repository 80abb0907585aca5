#pragma once

#include <string>

// The feedback and update service as the run uses it (the functions keep the service's names).
class IRepairFeedback {
public:
    virtual ~IRepairFeedback() = default;

    // Zero means the service could not be initialised.
    virtual int InitFreedbackDll() = 0;
    // 3 means a newer version of the tool exists.
    virtual int GetToolIsNewVersion(const std::wstring& toolId, const std::wstring& version) = 0;
    virtual int OpenToolDownUrl() = 0;
    virtual int CustomerFeedbackEx(const std::wstring& toolId, const std::wstring& version, int code,
                                   const std::wstring& timeText) = 0;
    virtual int FeedbackQuestion(const std::wstring& toolId, const std::wstring& version) = 0;
    virtual int ReleaseFreedbackRes() = 0;

protected:
    IRepairFeedback() = default;
    IRepairFeedback(const IRepairFeedback&) = default;
    IRepairFeedback& operator=(const IRepairFeedback&) = default;
};
