// Feeds arbitrary chunks to the output interpretation in every mode, interleaved with monitor
// ticks. The first byte picks the mode the run is brought into; the rest is cut into chunks at
// every 0xFF byte, and a chunk starting with 0xFE is a tick instead.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "workflow/repair_run.h"

namespace {

class CQuietEngine : public IRepairEngine {
public:
    EngineHandle Open() override { return this; }
    bool DataCallBack_Log(EngineHandle, RepairOutputCallback, void*) override { return true; }
    bool CmdSend(EngineHandle, const char*, int) override { return true; }
    bool CmdClear(EngineHandle) override { return true; }
    bool Wow64DisableWow64Fs(EngineHandle) override { return true; }
    bool Wow64RevertWow64Fs(EngineHandle) override { return true; }
    bool GetProcessState(EngineHandle) override { return running = !running; }
    void GetSystemName(EngineHandle, std::string& name) override { name = "Microsoft Windows 7"; }
    float GetProcessCpuInfo(EngineHandle, const std::wstring&) override { return -1.0f; }
    bool Close(EngineHandle) override { return true; }
    bool running = false;
};

class CQuietUi : public IRepairUi {
public:
    void StartMonitorThread() override {}
    void EnableStartButton(bool) override {}
    void ShowPrompt(const std::wstring&, float) override {}
    void DismissPrompts() override {}
    void RunProgressPopup() override {}
    void EndProgressPopup() override {}
    void OpenWebPage(const std::wstring&) override {}
    void RunProblemSolvedWindow() override {}
    void CloseMainWindow() override {}
    void ExitProcess(int) override {}
    void ServeWorkerCalls() override {}
};

class CInstantTime : public IRepairTime {
public:
    bool Sleep(int) override { return true; }
    void Interrupt() override {}
    std::int64_t UnixTime() override { return 0; }
};

class CSilentFeedback : public IRepairFeedback {
public:
    int InitFreedbackDll() override { return 1; }
    int GetToolIsNewVersion(const std::wstring&, const std::wstring&) override { return 0; }
    int OpenToolDownUrl() override { return 0; }
    int CustomerFeedbackEx(const std::wstring&, const std::wstring&, int, const std::wstring&) override { return 0; }
    int FeedbackQuestion(const std::wstring&, const std::wstring&) override { return 0; }
    int ReleaseFreedbackRes() override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    CQuietEngine engine;
    CQuietUi ui;
    CInstantTime time;
    CSilentFeedback feedback;
    CRepairStatus status;
    CRepairRun run(engine, ui, time, feedback, status);
    run.Initialise();
    switch (data[0] % 4) {
    case 0:
        break; // probe
    case 1:
        run.OnBnClickedLocal();
        break;
    case 2:
        run.StartOnlineRepair();
        break;
    default:
        run.Shutdown();
        break;
    }

    std::size_t start = 1;
    while (start <= size) {
        std::size_t end = start;
        while (end < size && data[end] != 0xFF)
            ++end;
        if (end > start && data[start] == 0xFE) {
            run.OnMonitorTick();
        } else if (end > start) {
            // As the engine hands it over: its own buffer, a zero byte after the count.
            std::vector<char> chunk(data + start, data + end);
            const int count = static_cast<int>(chunk.size() > 4095 ? 4095 : chunk.size());
            chunk.resize(static_cast<std::size_t>(count));
            chunk.push_back('\0');
            OnEngineOutput(chunk.data(), count, &run);
        }
        start = end + 1;
    }
    (void)run.OnlinePercent();
    (void)status.PercentText();
    run.Shutdown();
    return 0;
}
