// Every test of the feedback library gets its own journal and a clean environment; pages
// stay in the journal unless a test lets them through to the shell.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal_file.h"
#include "scoped_environment.h"
#include "zorvex_feedback.h"

class FeedbackLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        m_env.Set(L"ZSR_FEEDBACK_JOURNAL", nullptr);
        m_env.Set(L"ZSR_FEEDBACK_INIT", nullptr);
        m_env.Set(L"ZSR_FEEDBACK_VERSION", nullptr);
        m_env.Set(L"ZSR_FEEDBACK_OPEN", L"0");
        // No tool remembered from an earlier test.
        ReleaseFreedbackRes();
        m_env.Set(L"ZSR_FEEDBACK_JOURNAL", m_journal.Path().c_str());
    }

    std::vector<std::string> Journal() const { return m_journal.Lines(); }

    CScopedEnvironment m_env;
    CJournalFile m_journal;
};
