// The pages the service opens: which address for which call, and that the address really
// reaches the shell's URL handler (the test prefix's recorder, never a browser).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "feedback_library_fixture.h"
#include "maker_site.h"

using Lines = std::vector<std::string>;

namespace {

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);  // the addresses are ASCII
    return out;
}

// What the shell would start for an https address, or empty.
std::wstring HttpsHandler() {
    wchar_t command[1024] = {};
    DWORD size = sizeof command;
    if (RegGetValueW(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", nullptr, RRF_RT_REG_SZ,
                     nullptr, command, &size) != ERROR_SUCCESS) {
        return {};
    }
    return command;
}

// The recorder must be registered and built; otherwise the test could reach a browser or
// wait for an address that never comes.
bool RecorderHandlesHttps() {
    const std::wstring handler = HttpsHandler();
    std::wstring lower = handler;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    if (lower.find(L"urlrecorder") == std::wstring::npos) return false;
    if (handler.empty() || handler.front() != L'"') return false;
    const std::wstring program = handler.substr(1, handler.find(L'"', 1) - 1);
    return GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(MakerSite, EveryAddressIsSecureOnTheOneHost) {
    using namespace zsr::maker_site;
    const std::wstring origin = std::wstring(L"https://") + kHost;
    EXPECT_EQ(std::wstring(kKnowledgeBaseHome), origin);
    EXPECT_EQ(std::wstring(kKnowledgeBaseArticle), origin + L"/detail/dc_172545.html");
    for (const wchar_t* page : {kDownloadPagePrefix, kDownloadPage, kFeedbackPage}) {
        EXPECT_EQ(std::wstring(page).rfind(origin + L"/", 0), 0u) << Narrow(page);
    }
}

TEST_F(FeedbackLibraryTest, DownloadPageIsTheToolsOwnWhenItsIdIsAPlainNumber) {
    struct Case {
        const wchar_t* toolId;  // last asked about; null: nothing asked since the release
        const char* page;
    };
    const Case cases[] = {
        {L"10027", "https://kb.zorvex.com/download/10027.html"},
        {L"7", "https://kb.zorvex.com/download/7.html"},
        {nullptr, "https://kb.zorvex.com/download"},
        {L"", "https://kb.zorvex.com/download"},
        {L"../../evil", "https://kb.zorvex.com/download"},
        {L"10027?x=1", "https://kb.zorvex.com/download"},
        {L"10027 ", "https://kb.zorvex.com/download"},
        {L"12345678901234567", "https://kb.zorvex.com/download"},  // longer than any tool id
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ReleaseFreedbackRes();
        if (cases[i].toolId) GetToolIsNewVersion(cases[i].toolId, L"1.0.4");
        EXPECT_EQ(OpenToolDownUrl(), 1);
        const Lines lines = Journal();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), std::string("OpenUrl ") + cases[i].page) << "case " << i;
    }
}

TEST_F(FeedbackLibraryTest, FeedbackPageNamesToolAndVersionEncoded) {
    struct Case {
        const wchar_t* toolId;
        const wchar_t* version;
        const char* page;
    };
    const Case cases[] = {
        {L"10027", L"1.0.4", "https://kb.zorvex.com/feedback?tool=10027&version=1.0.4"},
        {L"a b&c=d#e", L"1/2?", "https://kb.zorvex.com/feedback?tool=a%20b%26c%3Dd%23e&version=1%2F2%3F"},
        {L"\u7CFB", L"~_-.", "https://kb.zorvex.com/feedback?tool=%E7%B3%BB&version=~_-."},
        {L"\U0001F600", L"\xDC00", "https://kb.zorvex.com/feedback?tool=%F0%9F%98%80&version=%EF%BF%BD"},
        {nullptr, L"1.0.4", "https://kb.zorvex.com/feedback?version=1.0.4"},
        {L"10027", L"", "https://kb.zorvex.com/feedback?tool=10027"},
        {nullptr, nullptr, "https://kb.zorvex.com/feedback"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(FeedbackQuestion(cases[i].toolId, cases[i].version), 1);
        const Lines lines = Journal();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), std::string("OpenUrl ") + cases[i].page) << "case " << i;
    }
}

class FeedbackPagesInShellTest : public FeedbackLibraryTest {
protected:
    void SetUp() override {
        if (!RecorderHandlesHttps()) {
            GTEST_SKIP() << "no built URL recorder is the https handler of this prefix (handler: \""
                         << Narrow(HttpsHandler().c_str())
                         << "\"); without it the shell would start a browser";
        }
        FeedbackLibraryTest::SetUp();
        m_env.Set(L"ZSR_FEEDBACK_OPEN", nullptr);
        // The recorder inherits this process's environment: its journal is ours alone.
        m_env.Set(L"ZSR_URL_JOURNAL", m_urls.Path().c_str());
    }

    CJournalFile m_urls;
};

TEST_F(FeedbackPagesInShellTest, DownloadAndFeedbackPagesReachTheUrlHandler) {
    GetToolIsNewVersion(L"10027", L"1.0.4");
    EXPECT_EQ(OpenToolDownUrl(), 1);
    const Lines download = m_urls.WaitForLines(1, std::chrono::seconds(20));
    ASSERT_EQ(download, (Lines{"https://kb.zorvex.com/download/10027.html"}));

    EXPECT_EQ(FeedbackQuestion(L"10027", L"1.0.4"), 1);
    EXPECT_EQ(m_urls.WaitForLines(2, std::chrono::seconds(20)),
              (Lines{"https://kb.zorvex.com/download/10027.html",
                     "https://kb.zorvex.com/feedback?tool=10027&version=1.0.4"}));
}

TEST_F(FeedbackPagesInShellTest, OnlyThePageCallsOpenPages) {
    InitFreedbackDll();
    GetToolIsNewVersion(L"10027", L"1.0.4");
    CustomerFeedbackEx(L"10027", L"1.0.4", 1, L"1765360000");
    ReleaseFreedbackRes();
    // The feedback page marks the end; a page opened by the calls before would come with it.
    FeedbackQuestion(L"10027", L"1.0.4");
    EXPECT_EQ(m_urls.WaitForLines(2, std::chrono::seconds(2)),
              (Lines{"https://kb.zorvex.com/feedback?tool=10027&version=1.0.4"}));
}
