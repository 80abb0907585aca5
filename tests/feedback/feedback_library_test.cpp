// ZorvexFeedbackInformation.dll as the program meets it: its exports, its answers, its
// journal, and reports that never hold the caller up.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "feedback_library_fixture.h"

using Lines = std::vector<std::string>;

namespace {

template <typename Function>
const void* CodeAddress(Function* function) {
    return reinterpret_cast<const void*>(function);
}

}  // namespace

TEST_F(FeedbackLibraryTest, ExportsTheSixCallsUnderTheirPlainNames) {
    HMODULE library = GetModuleHandleW(L"ZorvexFeedbackInformation.dll");
    ASSERT_NE(library, nullptr) << "the test program links the library at load time";

    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(library, path, MAX_PATH);
    const std::wstring file = std::wstring(path).substr(std::wstring(path).find_last_of(L"\\/") + 1);
    EXPECT_EQ(file, L"ZorvexFeedbackInformation.dll");

    struct Export {
        const char* name;
        const void* imported;
    };
    const Export exports[] = {
        {"InitFreedbackDll", CodeAddress(&InitFreedbackDll)},
        {"GetToolIsNewVersion", CodeAddress(&GetToolIsNewVersion)},
        {"OpenToolDownUrl", CodeAddress(&OpenToolDownUrl)},
        {"FeedbackQuestion", CodeAddress(&FeedbackQuestion)},
        {"CustomerFeedbackEx", CodeAddress(&CustomerFeedbackEx)},
        {"ReleaseFreedbackRes", CodeAddress(&ReleaseFreedbackRes)},
    };
    for (const Export& entry : exports) {
        const void* found = CodeAddress(GetProcAddress(library, entry.name));
        EXPECT_NE(found, nullptr) << entry.name << " is not exported by that name";
        EXPECT_EQ(found, entry.imported) << entry.name << ": the import binds elsewhere";
    }
}

TEST_F(FeedbackLibraryTest, JournalRecordsEveryCallWithItsArgumentsInOrder) {
    EXPECT_EQ(InitFreedbackDll(), 1);
    EXPECT_EQ(GetToolIsNewVersion(L"10027", L"1.0.4"), 0);
    EXPECT_EQ(OpenToolDownUrl(), 1);
    EXPECT_EQ(FeedbackQuestion(L"10027", L"1.0.4"), 1);
    EXPECT_EQ(CustomerFeedbackEx(L"10027", L"1.0.4", 2, L"1765360000"), 1);
    EXPECT_EQ(ReleaseFreedbackRes(), 1);

    EXPECT_EQ(Journal(), (Lines{
                             "InitFreedbackDll",
                             "GetToolIsNewVersion 10027 1.0.4",
                             "OpenToolDownUrl",
                             "OpenUrl https://kb.zorvex.com/download/10027.html",
                             "FeedbackQuestion 10027 1.0.4",
                             "OpenUrl https://kb.zorvex.com/feedback?tool=10027&version=1.0.4",
                             "CustomerFeedbackEx 10027 1.0.4 2 1765360000",
                             "ReleaseFreedbackRes",
                         }));
}

TEST_F(FeedbackLibraryTest, JournalKeepsEveryArgumentOnItsOwnField) {
    struct Case {
        const wchar_t* argument;
        const char* recorded;
    };
    const Case cases[] = {
        {L"1.0.4", "1.0.4"},
        {nullptr, "\\0"},
        {L"", "\\e"},
        {L"two words", "two\\swords"},
        {L"back\\slash", "back\\\\slash"},
        {L"line\r\nend\ttab", "line\\x0D\\x0Aend\\x09tab"},
        {L"\u7CFB\u7EDF", "\xE7\xB3\xBB\xE7\xBB\x9F"},       // 系统 in UTF-8
        {L"\U0001F600", "\xF0\x9F\x98\x80"},                // a pair of surrogates
        {L"a\xD800z", "a\\uD800z"},                         // a lone surrogate
    };
    for (const Case& test : cases) {
        GetToolIsNewVersion(L"10027", test.argument);
    }
    const Lines lines = Journal();
    ASSERT_EQ(lines.size(), std::size(cases));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], std::string("GetToolIsNewVersion 10027 ") + cases[i].recorded) << "case " << i;
    }
}

TEST_F(FeedbackLibraryTest, AnswersFollowTheEnvironmentAtEachCall) {
    struct Case {
        const wchar_t* init;
        const wchar_t* version;
        int initAnswer;
        int versionAnswer;
    };
    const Case cases[] = {
        {nullptr, nullptr, 1, 0},  // as shipped: ready, nothing newer
        {L"0", nullptr, 0, 0},
        {nullptr, L"3", 1, 3},     // a newer version exists
        {nullptr, L"7", 1, 7},
        {L"-2", L"-1", -2, -1},
        {L"yes", L"3x", 1, 0},     // not a number: as shipped
        {L"", L"", 1, 0},
        {L"4294967297", L"2147483648", 1, 0},  // does not fit in 32 bits
        {nullptr, L"2147483647", 1, 2147483647},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        m_env.Set(L"ZSR_FEEDBACK_INIT", cases[i].init);
        m_env.Set(L"ZSR_FEEDBACK_VERSION", cases[i].version);
        EXPECT_EQ(InitFreedbackDll(), cases[i].initAnswer) << "case " << i;
        EXPECT_EQ(GetToolIsNewVersion(L"10027", L"1.0.4"), cases[i].versionAnswer) << "case " << i;
    }
}

TEST_F(FeedbackLibraryTest, ReportIsAcceptedAtOnceAndOpensNothing) {
    // A page opened by mistake would show in the journal; the shell itself is watched in
    // FeedbackPagesInShellTest, where the URL recorder catches it.
    const auto start = std::chrono::steady_clock::now();
    const int accepted = CustomerFeedbackEx(L"10027", L"1.0.4", 1, L"1765360000");
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(accepted, 1);
    EXPECT_LT(took, std::chrono::milliseconds(500)) << "the report held the caller up";
    EXPECT_EQ(Journal(), (Lines{"CustomerFeedbackEx 10027 1.0.4 1 1765360000"}));
}

TEST_F(FeedbackLibraryTest, IncompleteReportIsRefusedWithoutHarm) {
    EXPECT_EQ(CustomerFeedbackEx(nullptr, L"1.0.4", 1, L"1765360000"), 0);
    EXPECT_EQ(CustomerFeedbackEx(L"10027", nullptr, 2, L"1765360000"), 0);
    EXPECT_EQ(CustomerFeedbackEx(L"10027", L"1.0.4", 3, nullptr), 0);
    EXPECT_EQ(Journal(), (Lines{
                             "CustomerFeedbackEx \\0 1.0.4 1 1765360000",
                             "CustomerFeedbackEx 10027 \\0 2 1765360000",
                             "CustomerFeedbackEx 10027 1.0.4 3 \\0",
                         }));
}

TEST_F(FeedbackLibraryTest, CallsFromTwoThreadsLeaveWholeLinesInEachThreadsOrder) {
    constexpr int kCallsPerThread = 300;
    auto report = [](const wchar_t* toolId) {
        for (int i = 0; i < kCallsPerThread; ++i) {
            CustomerFeedbackEx(toolId, L"1.0.4", i, L"1765360000");
        }
    };
    std::thread first(report, L"first");
    std::thread second(report, L"second");
    first.join();
    second.join();

    int next[2] = {0, 0};
    const Lines lines = Journal();
    ASSERT_EQ(lines.size(), 2u * kCallsPerThread);
    for (const std::string& line : lines) {
        const bool isFirst = line.rfind("CustomerFeedbackEx first ", 0) == 0;
        const std::string tool = isFirst ? "first" : "second";
        int& expected = next[isFirst ? 0 : 1];
        ASSERT_EQ(line, "CustomerFeedbackEx " + tool + " 1.0.4 " + std::to_string(expected) + " 1765360000");
        ++expected;
    }
}

TEST_F(FeedbackLibraryTest, WithoutJournalTheServiceWorksTheSame) {
    m_env.Set(L"ZSR_FEEDBACK_JOURNAL", nullptr);
    EXPECT_EQ(InitFreedbackDll(), 1);
    EXPECT_EQ(GetToolIsNewVersion(L"10027", L"1.0.4"), 0);
    EXPECT_EQ(CustomerFeedbackEx(L"10027", L"1.0.4", 1, L"1765360000"), 1);
    EXPECT_TRUE(Journal().empty());

    // A journal in a folder that does not exist is skipped, not an error.
    m_env.Set(L"ZSR_FEEDBACK_JOURNAL", L"C:\\no\\such\\folder\\journal.txt");
    EXPECT_EQ(InitFreedbackDll(), 1);
    EXPECT_EQ(CustomerFeedbackEx(L"10027", L"1.0.4", 1, L"1765360000"), 1);
}
