// CFeedbackService hands each call to the library unchanged and hands back its answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feedback_library_fixture.h"
#include "feedback_service.h"

using Lines = std::vector<std::string>;

TEST_F(FeedbackLibraryTest, ServiceForwardsEveryCallUnchanged) {
    m_env.Set(L"ZSR_FEEDBACK_INIT", L"5");
    m_env.Set(L"ZSR_FEEDBACK_VERSION", L"3");
    CFeedbackService service;
    IRepairFeedback& feedback = service;  // as the run sees it

    EXPECT_EQ(feedback.InitFreedbackDll(), 5);
    EXPECT_EQ(feedback.GetToolIsNewVersion(L"42", L"9.8.7-\u6D4B"), 3);
    EXPECT_EQ(feedback.OpenToolDownUrl(), 1);
    EXPECT_EQ(feedback.FeedbackQuestion(L"tool id", L"v2"), 1);
    EXPECT_EQ(feedback.CustomerFeedbackEx(L"10027", L"1.0.4", -7, L"2147483647"), 1);
    EXPECT_EQ(feedback.CustomerFeedbackEx(L"", L"", 0, L""), 1);
    EXPECT_EQ(feedback.ReleaseFreedbackRes(), 1);

    EXPECT_EQ(Journal(), (Lines{
                             "InitFreedbackDll",
                             "GetToolIsNewVersion 42 9.8.7-\xE6\xB5\x8B",
                             "OpenToolDownUrl",
                             "OpenUrl https://kb.zorvex.com/download/42.html",
                             "FeedbackQuestion tool\\sid v2",
                             "OpenUrl https://kb.zorvex.com/feedback?tool=tool%20id&version=v2",
                             "CustomerFeedbackEx 10027 1.0.4 -7 2147483647",
                             "CustomerFeedbackEx \\e \\e 0 \\e",
                             "ReleaseFreedbackRes",
                         }));
}
