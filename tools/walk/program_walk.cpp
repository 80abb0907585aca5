// Walks through the tool as a user would, from outside its process, and asks for a screenshot
// of each window on the way:
//   program_walk SHOTS_FOLDER TOOL_EXE SECOND_TOOL_EXE
// The first tool plays a whole successful repair (start page, agreement text, main window,
// progress popup in both phases, success prompt) and is closed; the second is closed before
// any run, which offers the problem-solved window. A screenshot request is the file
// SHOTS_FOLDER\request holding "NAME LEFT TOP RIGHT BOTTOM" twice: the screen area of the
// window, then that of its dialog; whoever takes the picture deletes the file. Exit code 0
// when every step happened.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "res/resource.h"
#include "tools/driver/program_windows.h"
#include "tools/driver/user_driver.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::wstring kOnlineStatus = L"正在进行联网修复,请稍等";

class WalkFailed {
 public:
  explicit WalkFailed(const char* step) : m_step(step) {}
  const char* Step() const { return m_step; }

 private:
  const char* m_step;
};

template <typename T>
T Require(T value, const char* step) {
  if (!value) throw WalkFailed(step);
  return value;
}

// The tool's process, ended by force only when the walk breaks off.
class Tool {
 public:
  explicit Tool(const fs::path& exe) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    Require(::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &m_process),
            "start the tool");
  }
  ~Tool() {
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.hProcess, 1);
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
  }
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  DWORD Id() const { return m_process.dwProcessId; }
  bool Ends(DWORD ms) const { return ::WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0; }

 private:
  PROCESS_INFORMATION m_process{};
};

class Camera {
 public:
  explicit Camera(fs::path folder) : m_request(std::move(folder) / L"request") {}

  // The window's frame (it holds the shadow) and, inside it, its dialog.
  void Shoot(const char* name, HWND dialog) const {
    std::this_thread::sleep_for(700ms);  // painting and the status line's first repaint
    HWND frame = CUserDriver::FrameOf(dialog);
    const RECT inner = ScreenRectOf(dialog);
    RECT area = ScreenRectOf(frame ? frame : dialog);
    ::UnionRect(&area, &area, &inner);
    const fs::path part = m_request.wstring() + L".part";
    {
      std::ofstream request(part, std::ios::binary);
      request << name;
      for (const RECT& rect : {area, inner})
        request << ' ' << rect.left << ' ' << rect.top << ' ' << rect.right << ' ' << rect.bottom;
      request << '\n';
    }
    fs::rename(part, m_request);
    std::fprintf(stdout, "walk: %s\n", name);
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (fs::exists(m_request) && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(100ms);
    Require(!fs::exists(m_request), "screenshot taken");
  }

 private:
  fs::path m_request;
};

HWND PassStartPage(const CUserDriver& user, const Camera* camera) {
  HWND startPage = Require(user.StartPage(), "start page shown");
  if (camera) {
    camera->Shoot("01-start-page", startPage);
    // The link under the agreement box shows the agreement text; a second click hides it.
    HWND link = Require(::GetDlgItem(startPage, IDC_START_LINK), "agreement link");
    RECT rect = ScreenRectOf(link);
    POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ScreenToClient(startPage, &middle);
    Require(user.ClickAt(startPage, middle), "click the agreement link");
    camera->Shoot("02-agreement-text", Require(user.AgreementText(5000ms), "agreement text shown"));
    Require(user.ClickAt(startPage, middle), "click the agreement link again");
  }
  Require(user.Click(startPage, IDC_START_RUN), "press 开始");
  HWND operations = Require(user.OperationsWindow(), "main window shown");
  Require(user.WaitUntilEnabled(operations, IDC_OP_LOCAL, 20000ms), "start button enabled by the probe");
  return operations;
}

void WalkASuccessfulRepair(const fs::path& exe, const Camera& camera) {
  Tool tool(exe);
  CUserDriver user(tool.Id());
  HWND operations = PassStartPage(user, &camera);
  camera.Shoot("03-main-window", operations);
  Require(user.Click(operations, IDC_OP_LOCAL), "press the start button");
  HWND popup = Require(user.ProgressPopup(15000ms), "progress popup shown");
  camera.Shoot("04-progress-popup-local", popup);
  const auto end = std::chrono::steady_clock::now() + 120s;
  while (user.StatusLine(popup) != kOnlineStatus && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(200ms);
  Require(user.StatusLine(popup) == kOnlineStatus, "online phase reached");
  std::this_thread::sleep_for(1500ms);  // the first progress figures
  camera.Shoot("05-progress-popup-online", popup);
  HWND prompt = Require(user.Prompt(60000ms), "success prompt shown");
  camera.Shoot("06-success-prompt", prompt);
  Require(user.Click(prompt, IDC_PROMPT_OK), "confirm the prompt");
  Require(user.WaitUntilEnabled(operations, IDC_OP_LOCAL, 5000ms), "tool ready again");
  Require(user.Click(operations, IDC_OP_CLOSE), "press the close button");
  Require(tool.Ends(10000), "the tool ends after a success");
}

void WalkAClosingBeforeAnyRun(const fs::path& exe, const Camera& camera) {
  Tool tool(exe);
  CUserDriver user(tool.Id());
  HWND operations = PassStartPage(user, nullptr);
  Require(user.Click(operations, IDC_OP_CLOSE), "press the close button");
  HWND solved = Require(user.ProblemSolvedWindow(10000ms), "problem-solved window shown");
  camera.Shoot("07-problem-solved", solved);
  Require(user.Click(solved, IDC_FEEDBACK_SOLVED), "press 解决");
  Require(tool.Ends(10000), "the tool ends after the answer");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: program_walk SHOTS_FOLDER TOOL_EXE SECOND_TOOL_EXE\n");
    return 2;
  }
  const Camera camera{fs::path(argv[1])};
  try {
    WalkASuccessfulRepair(argv[2], camera);
    WalkAClosingBeforeAnyRun(argv[3], camera);
  } catch (const WalkFailed& failed) {
    std::fprintf(stderr, "walk: step failed: %s\n", failed.Step());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "walk: %s\n", error.what());
    return 1;
  }
  std::fprintf(stdout, "walk: done\n");
  return 0;
}
