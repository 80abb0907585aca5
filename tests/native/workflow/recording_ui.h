#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "event_journal.h"
#include "wide_text.h"
#include "workflow/repair_run.h"
#include "workflow/repair_ui.h"

inline const char* ModeName(RunMode mode)
{
    switch (mode) {
    case LocalRepair:
        return "LocalRepair";
    case OnlineRepair:
        return "OnlineRepair";
    case Probe:
        return "Probe";
    case Idle:
        return "Idle";
    }
    return "?";
}

// The operations window as the run sees it. Every call is journalled; a prompt is journalled
// with the run's mode, the status line and the popup's state at the moment it is shown, and is
// named by its exact text (a text not in the table shows in full, marked UNKNOWN).
// With blockingPopup, RunProgressPopup waits until EndProgressPopup, as the modal popup does.
class CRecordingUi : public IRepairUi {
public:
    CRecordingUi(CEventJournal& journal, CRepairStatus& status) : m_Journal(journal), m_Status(status) {}

    CRepairRun* run = nullptr;
    bool blockingPopup = false;
    // With blockingPrompts, a prompt stays open until DismissPrompts, as if nobody clicked it.
    bool blockingPrompts = false;
    // Runs while a prompt is open (a test delivers output or ticks meanwhile).
    std::function<void(const std::string& name)> whilePromptOpen;

    bool IsStartButtonEnabled() const
    {
        std::lock_guard lock(m_Lock);
        return m_bButtonEnabled;
    }
    bool IsPopupOpen() const
    {
        std::lock_guard lock(m_Lock);
        return m_bPopupOpen;
    }
    int PromptCount() const
    {
        std::lock_guard lock(m_Lock);
        return m_nPrompts;
    }
    // Waits (threaded tests) until the popup of the current run has been shown.
    bool WaitForPopup(int runs)
    {
        std::unique_lock lock(m_Lock);
        return m_Changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_nPopupsRun >= runs; });
    }

    void StartMonitorThread() override { m_Journal.Add("Start monitor"); }
    void EnableStartButton(bool enable) override
    {
        {
            std::lock_guard lock(m_Lock);
            m_bButtonEnabled = enable;
        }
        m_Journal.Add(enable ? "Button on" : "Button off");
    }
    void ShowPrompt(const std::wstring& text, float scale) override
    {
        const std::string name = PromptName(text);
        std::string line = "Prompt(" + name + ")";
        if (scale != 1.0f)
            line += " scale=" + std::to_string(scale).substr(0, 4);
        if (run != nullptr) {
            line += std::string(" mode=") + ModeName(run->Mode()) + " status=\"" + Utf8Of(*m_Status.StatusText()) +
                    "\" popup=" + (IsPopupOpen() ? "open" : "ended");
        }
        {
            std::lock_guard lock(m_Lock);
            ++m_nPrompts;
        }
        m_Journal.Add(line);
        if (whilePromptOpen)
            whilePromptOpen(name);
        if (blockingPrompts) {
            std::unique_lock lock(m_Lock);
            m_bPromptOpen = true;
            m_Changed.notify_all();
            m_Changed.wait(lock, [this] { return m_bDismissed; });
            m_bPromptOpen = false;
        }
    }
    void DismissPrompts() override
    {
        std::lock_guard lock(m_Lock);
        m_bDismissed = true;
        m_Changed.notify_all();
    }
    // Waits (threaded tests) until a blocking prompt is open.
    bool WaitForOpenPrompt()
    {
        std::unique_lock lock(m_Lock);
        return m_Changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_bPromptOpen; });
    }
    void RunProgressPopup() override
    {
        std::unique_lock lock(m_Lock);
        m_bPopupOpen = true;
        ++m_nPopupsRun;
        m_Changed.notify_all();
        lock.unlock();
        m_Journal.Add("Popup run");
        lock.lock();
        if (blockingPopup)
            m_Changed.wait(lock, [this] { return !m_bPopupOpen; });
    }
    void EndProgressPopup() override
    {
        bool wasOpen;
        {
            std::lock_guard lock(m_Lock);
            wasOpen = m_bPopupOpen;
            m_bPopupOpen = false;
            m_Changed.notify_all();
        }
        m_Journal.Add(wasOpen ? "Popup end" : "Popup end (already ended)");
    }
    void OpenWebPage(const std::wstring& address) override { m_Journal.Add("Open page " + Utf8Of(address)); }
    void RunProblemSolvedWindow() override { m_Journal.Add("Problem-solved window"); }
    void CloseMainWindow() override { m_Journal.Add("Close main window"); }
    void ExitProcess(int exitCode) override { m_Journal.Add("Exit " + std::to_string(exitCode)); }
    void ServeWorkerCalls() override {}

private:
    static std::string PromptName(const std::wstring& text)
    {
        static const std::map<std::wstring, std::string> names = {
            {L"工具初始化失败", "init failed"},
            {L"检测到当前工具有新的版本更新，请下载最新版本使用。", "new version"},
            {L"启动本地修复失败!  如果修复失败或修复后仍有问题，建议您备份数据后重装系统", "local failure"},
            {L"启动联网修复失败! 如果修复失败或修复后仍有问题，建议您备份数据后重装系统", "online failure"},
            {L"请连接网络，否则无法完成联网修复。现仅完成本地修复！", "network required"},
            {L"系统修复成功，本工具调用微软内置命令进行本地和网络修复系统文件，但修复不能解决所有问题，请了解",
             "success"},
        };
        auto it = names.find(text);
        return it != names.end() ? it->second : "UNKNOWN: " + Utf8Of(text);
    }

    CEventJournal& m_Journal;
    CRepairStatus& m_Status;
    mutable std::mutex m_Lock;
    std::condition_variable m_Changed;
    bool m_bButtonEnabled = true;
    bool m_bPopupOpen = false;
    int m_nPopupsRun = 0;
    int m_nPrompts = 0;
    bool m_bPromptOpen = false;
    bool m_bDismissed = false;
};
