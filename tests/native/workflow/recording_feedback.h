#pragma once

#include <string>

#include "event_journal.h"
#include "wide_text.h"
#include "workflow/repair_feedback.h"
#include "workflow/repair_run.h"

// The feedback service; the report is journalled with the run's close-offer flag at that moment.
class CRecordingFeedback : public IRepairFeedback {
public:
    explicit CRecordingFeedback(CEventJournal& journal) : m_Journal(journal) {}

    CRepairRun* run = nullptr;
    int initResult = 1;
    int versionAnswer = 0;

    int InitFreedbackDll() override
    {
        m_Journal.Add("Feedback init");
        return initResult;
    }
    int GetToolIsNewVersion(const std::wstring& toolId, const std::wstring& version) override
    {
        m_Journal.Add("Version check " + Utf8Of(toolId) + " " + Utf8Of(version));
        return versionAnswer;
    }
    int OpenToolDownUrl() override
    {
        m_Journal.Add("Download page");
        return 1;
    }
    int CustomerFeedbackEx(const std::wstring& toolId, const std::wstring& version, int code,
                           const std::wstring& timeText) override
    {
        std::string line = "Report " + Utf8Of(toolId) + " " + Utf8Of(version) + " code=" + std::to_string(code) +
                           " time=" + Utf8Of(timeText);
        if (run != nullptr)
            line += std::string(" offerOnClose=") + (run->ShowFeedbackOnClose() ? "yes" : "no");
        m_Journal.Add(line);
        return 1;
    }
    int FeedbackQuestion(const std::wstring& toolId, const std::wstring& version) override
    {
        m_Journal.Add("Feedback question " + Utf8Of(toolId) + " " + Utf8Of(version));
        return 1;
    }
    int ReleaseFreedbackRes() override
    {
        m_Journal.Add("Feedback release");
        return 1;
    }

private:
    CEventJournal& m_Journal;
};
