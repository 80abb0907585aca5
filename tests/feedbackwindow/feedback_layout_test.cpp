// Where the problem-solved panel puts its buttons: the arithmetic for given panel sizes, and
// the real window in a process started under 96 and under 120 dots per inch.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "popups/problem_solving_feedback_child_dlg.h"

static std::ostream& operator<<(std::ostream& out, const PairRect& r) {
  return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

struct ArithmeticCase {
  const char* name;
  int width, height;
  float scale;
  FeedbackButtonRects expected;
};

TEST(FeedbackLayout, ButtonPlacesForPanelSizes) {
  const ArithmeticCase cases[] = {
      // The design panel: buttons centred, 100 apart, the first 80 above the middle.
      {"design", 400, 468, 1.0f, {{382, 6, 394, 18}, {67, 154, 333, 214}, {67, 254, 333, 314}, {67, 354, 333, 414}}},
      // A smaller unscaled panel centres the same buttons in it.
      {"small", 300, 400, 1.0f, {{282, 6, 294, 18}, {17, 120, 283, 180}, {17, 220, 283, 280}, {17, 320, 283, 380}}},
      // Scaled: the first button rounds its left edge once, the others twice.
      {"scaled 1.2", 480, 560, 1.2f, {{458, 7, 472, 21}, {80, 184, 399, 256}, {81, 304, 400, 376}, {81, 424, 400, 496}}},
      // Only the cross follows the panel's width; the wide buttons follow the scale alone.
      {"scaled 1.2 narrower", 479, 560, 1.2f, {{457, 7, 471, 21}, {80, 184, 399, 256}, {81, 304, 400, 376}, {81, 424, 400, 496}}},
      // 101 dpi: just above 400 wide, so scaled although the factor is nearly 1.
      {"scaled 1.01", 403, 471, 1.01f, {{384, 6, 396, 18}, {67, 156, 335, 216}, {68, 256, 336, 316}, {68, 357, 336, 417}}},
  };
  for (const ArithmeticCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FeedbackButtonRects rects = CProblemSolvingFeedbackChildDlg::ButtonRects(c.width, c.height, c.scale);
    EXPECT_EQ(rects.close, c.expected.close);
    EXPECT_EQ(rects.solved, c.expected.solved);
    EXPECT_EQ(rects.unsolved, c.expected.unsolved);
    EXPECT_EQ(rects.more, c.expected.more);
  }
}

// The screen density that processes started from now on see; the old value (or the usual
// 96) comes back at the end of the scope.
class CLogPixelsScope {
 public:
  explicit CLogPixelsScope(DWORD dpi) {
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &m_key, nullptr) != ERROR_SUCCESS) {
      m_key = nullptr;
      return;
    }
    DWORD type = 0, size = sizeof(m_old);
    if (::RegQueryValueExW(m_key, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&m_old), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
      m_old = 96;
    }
    m_set = Write(dpi);
  }
  ~CLogPixelsScope() {
    if (!m_key) return;
    Write(m_old);
    ::RegCloseKey(m_key);
  }
  CLogPixelsScope(const CLogPixelsScope&) = delete;
  CLogPixelsScope& operator=(const CLogPixelsScope&) = delete;

  bool IsSet() const { return m_set; }

 private:
  bool Write(DWORD dpi) {
    return ::RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)) ==
           ERROR_SUCCESS;
  }
  HKEY m_key = nullptr;
  DWORD m_old = 96;
  bool m_set = false;
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Runs the probe and reads its report: name -> numbers.
std::map<std::string, std::vector<double>> ProbeWindow(std::string& failure) {
  wchar_t temp[MAX_PATH] = {}, report[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  ::GetTempFileNameW(temp, L"fbp", 0, report);
  std::wstring command = L"\"" + ProgramFolder() + L"feedback_window_probe.exe\" \"" + report + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  std::map<std::string, std::vector<double>> values;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    failure = "the probe did not start";
    return values;
  }
  DWORD exitCode = 1;
  if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) ::GetExitCodeProcess(process.hProcess, &exitCode);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (exitCode != 0) failure = "the probe ended with " + std::to_string(exitCode);

  std::ifstream in(report);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string name;
    words >> name;
    for (double v; words >> v;) values[name].push_back(v);
  }
  in.close();
  ::DeleteFileW(report);
  return values;
}

PairRect RectOf(const std::vector<double>& v) {
  if (v.size() != 4) return {};
  return {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
}

struct DensityCase {
  const char* name;
  DWORD dpi;
  double scale;
  PairSize frame;
  PairRect innerInFrame;  // the inner's window rectangle relative to the frame's top left
  FeedbackButtonRects buttons;
};

void PrintTo(const DensityCase& c, std::ostream* out) { *out << c.name; }

class FeedbackLayoutAtDensity : public ::testing::TestWithParam<DensityCase> {};

TEST_P(FeedbackLayoutAtDensity, WindowUsesTheScreenDensity) {
  const DensityCase& c = GetParam();
  std::map<std::string, std::vector<double>> report;
  std::string failure;
  {
    CLogPixelsScope density(c.dpi);
    ASSERT_TRUE(density.IsSet());
    report = ProbeWindow(failure);
  }
  ASSERT_EQ(failure, "");
  ASSERT_EQ(report["dpi"].size(), 1u);
  EXPECT_EQ(report["dpi"][0], c.dpi) << "the screen density reaches GetDeviceCaps of a new process";
  ASSERT_EQ(report["scale"].size(), 1u);
  EXPECT_NEAR(report["scale"][0], c.scale, 1e-4);

  const PairRect outer = RectOf(report["outer"]);
  const PairRect inner = RectOf(report["inner"]);
  EXPECT_EQ(outer.Width(), c.frame.cx);
  EXPECT_EQ(outer.Height(), c.frame.cy);
  EXPECT_EQ((PairRect{inner.left - outer.left, inner.top - outer.top, inner.right - outer.left,
                      inner.bottom - outer.top}),
            c.innerInFrame);
  EXPECT_EQ(RectOf(report["close"]), c.buttons.close);
  EXPECT_EQ(RectOf(report["solved"]), c.buttons.solved);
  EXPECT_EQ(RectOf(report["unsolved"]), c.buttons.unsolved);
  EXPECT_EQ(RectOf(report["more"]), c.buttons.more);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FeedbackLayoutAtDensity,
    ::testing::Values(
        DensityCase{"Dpi96", 96, 1.0, {410, 479}, {5, 3, 405, 472},
                    {{382, 6, 394, 18}, {67, 154, 333, 214}, {67, 254, 333, 314}, {67, 354, 333, 414}}},
        DensityCase{"Dpi120", 120, 1.2, {492, 574}, {6, 3, 486, 566},
                    {{457, 7, 471, 21}, {80, 184, 399, 256}, {81, 304, 400, 376}, {81, 424, 400, 496}}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
