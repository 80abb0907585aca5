// The problem-solved window driven as a user would: its buttons clicked while the modal run
// waits, the answers read back from the feedback library's own journal and the opened pages
// from the URL recorder that stands in for the browser.
#include <windows.h>
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/feedback_service.h"
#include "feedback_window_finder.h"
#include "popups/problem_solving_feedback_dlg.h"
#include "res/resource.h"

namespace {

// A file name in the temporary folder, removed before and after use.
class CTempFile {
 public:
  explicit CTempFile(const wchar_t* prefix) {
    wchar_t folder[MAX_PATH] = {}, name[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, prefix, 0, name);
    m_path = name;
    ::DeleteFileW(m_path.c_str());
  }
  ~CTempFile() { ::DeleteFileW(m_path.c_str()); }
  CTempFile(const CTempFile&) = delete;
  CTempFile& operator=(const CTempFile&) = delete;

  const std::wstring& Path() const { return m_path; }
  std::vector<std::string> Lines() const {
    std::ifstream in(m_path.c_str(), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

 private:
  std::wstring m_path;
};

// Sets an environment variable of this process (which the feedback library and the shell's
// children read) for the scope's lifetime.
class CEnvScope {
 public:
  CEnvScope(const wchar_t* name, const std::wstring& value) : m_name(name) {
    wchar_t old[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, old, 1024);
    if (length > 0 && length < 1024) m_old = std::wstring(old, length);
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~CEnvScope() { ::SetEnvironmentVariableW(m_name.c_str(), m_old ? m_old->c_str() : nullptr); }
  CEnvScope(const CEnvScope&) = delete;
  CEnvScope& operator=(const CEnvScope&) = delete;

 private:
  std::wstring m_name;
  std::optional<std::wstring> m_old;
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

struct RunRecord {
  bool found = false;
  bool openBeforeLastClick = false;
  std::time_t before = 0, after = 0;  // around the last click
  INT_PTR result = 0;
  HWND outer = nullptr, inner = nullptr;
};

// Runs the window modally on this thread while `act` works it from another thread. Should
// the window outlive `act`, the run is ended with WM_CLOSE so that a fault cannot hang.
RunRecord RunWindow(CProblemSolvingFeedbackDlg& dlg, const std::function<void(const FeedbackWindows&, RunRecord&)>& act) {
  RunRecord record;
  const DWORD uiThread = ::GetCurrentThreadId();
  std::thread driver([&] {
    const auto windows = CFeedbackWindowFinder::WaitFor(uiThread);
    if (!windows) return;
    record.found = true;
    record.outer = windows->outer;
    record.inner = windows->inner;
    act(*windows, record);
    ::Sleep(100);
    if (::IsWindow(windows->outer)) ::PostMessageW(windows->outer, WM_CLOSE, 0, 0);
  });
  record.result = dlg.DoModal();
  driver.join();
  return record;
}

// A click as the button's own mouse handling would take it, timed.
void Click(const FeedbackWindows& w, int id, RunRecord& record) {
  record.openBeforeLastClick = ::IsWindow(w.outer) && w.BothVisible();
  record.before = std::time(nullptr);
  ::SendMessageW(w.Button(id), BM_CLICK, 0, 0);
  record.after = std::time(nullptr);
}

bool WaitForLines(const CTempFile& file, size_t count, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (file.Lines().size() < count && ::GetTickCount() - start < timeoutMs) ::Sleep(50);
  return file.Lines().size() >= count;
}

class FeedbackWindow : public ::testing::Test {
 protected:
  CTempFile m_journal{L"fbj"};
  CEnvScope m_journalVar{L"ZSR_FEEDBACK_JOURNAL", m_journal.Path()};
  // The feedback page that FeedbackQuestion opens is journalled, not handed to the shell.
  CEnvScope m_noPages{L"ZSR_FEEDBACK_OPEN", L"0"};
  CFeedbackService m_service;
};

void ExpectReport(const std::vector<std::string>& journal, int code, const RunRecord& record) {
  ASSERT_EQ(journal.size(), 3u) << "one report, one question and its page";
  const std::vector<std::string> report = Words(journal[0]);
  ASSERT_EQ(report.size(), 5u) << journal[0];
  EXPECT_EQ(report[0], "CustomerFeedbackEx");
  EXPECT_EQ(report[1], "10027");
  EXPECT_EQ(report[2], "1.0.4");
  EXPECT_EQ(report[3], std::to_string(code));
  // Plain decimal seconds of the calendar time, taken at the click.
  ASSERT_EQ(report[4].find_first_not_of("0123456789"), std::string::npos) << report[4];
  const long long seconds = std::stoll(report[4]);
  EXPECT_GE(seconds, static_cast<long long>(record.before));
  EXPECT_LE(seconds, static_cast<long long>(record.after));
  EXPECT_EQ(journal[1], "FeedbackQuestion 10027 1.0.4");
  EXPECT_EQ(journal[2].rfind("OpenUrl https://kb.zorvex.com/feedback", 0), 0u) << journal[2];
}

}  // namespace

struct ClosingAnswer {
  const char* name;
  int buttonId;
  int code;
};

void PrintTo(const ClosingAnswer& answer, std::ostream* out) { *out << answer.name; }

class FeedbackWindowClosingAnswer : public FeedbackWindow, public ::testing::WithParamInterface<ClosingAnswer> {};

TEST_P(FeedbackWindowClosingAnswer, ReportsOnceThenAsksAndEndsWithCancel) {
  CProblemSolvingFeedbackDlg dlg;
  dlg.m_pFeedback = &m_service;
  const int id = GetParam().buttonId;
  const RunRecord record = RunWindow(dlg, [id](const FeedbackWindows& w, RunRecord& r) { Click(w, id, r); });

  ASSERT_TRUE(record.found);
  EXPECT_TRUE(record.openBeforeLastClick);
  EXPECT_EQ(record.result, IDCANCEL);
  EXPECT_FALSE(::IsWindow(record.outer));
  EXPECT_FALSE(::IsWindow(record.inner)) << "the panel goes with its frame";
  ExpectReport(m_journal.Lines(), GetParam().code, record);
}

TEST_P(FeedbackWindowClosingAnswer, WithoutServiceClosesWithoutReporting) {
  CProblemSolvingFeedbackDlg dlg;
  const int id = GetParam().buttonId;
  const RunRecord record = RunWindow(dlg, [id](const FeedbackWindows& w, RunRecord& r) { Click(w, id, r); });

  ASSERT_TRUE(record.found);
  EXPECT_EQ(record.result, IDCANCEL);
  EXPECT_FALSE(::IsWindow(record.outer));
  EXPECT_TRUE(m_journal.Lines().empty());
}

INSTANTIATE_TEST_SUITE_P(Buttons, FeedbackWindowClosingAnswer,
                         ::testing::Values(ClosingAnswer{"CloseCross", IDC_FEEDBACK_CLOSE, 3},
                                           ClosingAnswer{"Solved", IDC_FEEDBACK_SOLVED, 1},
                                           ClosingAnswer{"Unsolved", IDC_FEEDBACK_UNSOLVED, 2}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(FeedbackWindow, MoreSolutionsOpensTheKnowledgeBaseEachTimeAndStaysOpen) {
  CTempFile urls(L"fbu");
  CEnvScope urlJournal(L"ZSR_URL_JOURNAL", urls.Path());
  CProblemSolvingFeedbackDlg dlg;
  dlg.m_pFeedback = &m_service;
  bool openAfterMore = false;
  bool pagesArrived = false;
  std::vector<std::string> journalBeforeAnswer;
  const RunRecord record = RunWindow(dlg, [&](const FeedbackWindows& w, RunRecord& r) {
    for (int i = 0; i < 3; ++i) {
      ::SendMessageW(w.Button(IDC_FEEDBACK_MORE), BM_CLICK, 0, 0);
      ::Sleep(100);
    }
    // The recorder runs as a process of its own; give it time to write.
    pagesArrived = WaitForLines(urls, 3, 15000);
    openAfterMore = ::IsWindow(w.outer) && w.BothVisible();
    journalBeforeAnswer = m_journal.Lines();
    Click(w, IDC_FEEDBACK_SOLVED, r);
  });

  ASSERT_TRUE(record.found);
  EXPECT_TRUE(pagesArrived);
  EXPECT_TRUE(openAfterMore);
  EXPECT_TRUE(journalBeforeAnswer.empty()) << "the knowledge base is the browser's business, not the service's";
  const std::vector<std::string> pages = urls.Lines();
  ASSERT_EQ(pages.size(), 3u);
  for (const std::string& page : pages) EXPECT_EQ(page, "https://kb.zorvex.com");
  EXPECT_EQ(record.result, IDCANCEL);
  ExpectReport(m_journal.Lines(), 1, record);
}

TEST_F(FeedbackWindow, EnterAndEscapeLeaveTheWindowOpen) {
  CProblemSolvingFeedbackDlg dlg;
  dlg.m_pFeedback = &m_service;
  bool openAfterKeys = false;
  const RunRecord record = RunWindow(dlg, [&](const FeedbackWindows& w, RunRecord& r) {
    // Keys reach the focused button, the panel or the frame; the modal loop offers each to
    // the panel and the frame before the dialog keyboard interface could act on it.
    for (HWND target : {w.Button(IDC_FEEDBACK_SOLVED), w.inner, w.outer}) {
      for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        ::PostMessageW(target, WM_KEYDOWN, key, 1);
        ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
      }
    }
    ::Sleep(400);
    openAfterKeys = ::IsWindow(w.outer) && w.BothVisible();
    Click(w, IDC_FEEDBACK_CLOSE, r);
  });

  ASSERT_TRUE(record.found);
  EXPECT_TRUE(openAfterKeys);
  EXPECT_EQ(record.result, IDCANCEL);
  ExpectReport(m_journal.Lines(), 3, record);
}

TEST_F(FeedbackWindow, TopStripDragsTheFrameAlongButNotTheCross) {
  CProblemSolvingFeedbackDlg dlg;
  LRESULT stripHit = 0, stripEdgeHit = 0, crossHit = 0, belowStripHit = 0;
  RECT dragged{}, outerAfterDrag{};
  const RunRecord record = RunWindow(dlg, [&](const FeedbackWindows& w, RunRecord& r) {
    RECT client{};
    ::GetClientRect(w.inner, &client);
    ::MapWindowPoints(w.inner, nullptr, reinterpret_cast<POINT*>(&client), 2);
    auto hit = [&](int x, int y) { return ::SendMessageW(w.inner, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    stripEdgeHit = hit(client.left + 100, client.top + 29);
    crossHit = hit(client.right - 20, client.top + 10);
    belowStripHit = hit(client.left + 100, client.top + 30);
    // What the system's drag does to the panel once the strip has been grabbed.
    stripHit = hit(client.left + 100, client.top + 5);
    RECT inner{};
    ::GetWindowRect(w.inner, &inner);
    ::SetWindowPos(w.inner, nullptr, inner.left + 40, inner.top + 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(w.inner, &dragged);
    ::GetWindowRect(w.outer, &outerAfterDrag);
    Click(w, IDC_FEEDBACK_CLOSE, r);
  });

  ASSERT_TRUE(record.found);
  EXPECT_EQ(stripHit, HTCAPTION);
  EXPECT_EQ(stripEdgeHit, HTCAPTION);
  EXPECT_NE(crossHit, HTCAPTION) << "the close cross lies in the strip's right margin";
  EXPECT_NE(belowStripHit, HTCAPTION) << "the strip is 30 pixels high";
  EXPECT_EQ(outerAfterDrag.left, dragged.left - 5);
  EXPECT_EQ(outerAfterDrag.top, dragged.top - 4);
  EXPECT_EQ(outerAfterDrag.right, dragged.right + 5);
  EXPECT_EQ(outerAfterDrag.bottom, dragged.bottom + 7);
  EXPECT_EQ(record.result, IDCANCEL);
}
