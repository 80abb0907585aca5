#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "event_journal.h"
#include "virtual_time.h"
#include "wide_text.h"
#include "workflow/repair_engine.h"

// What a command does once sent: how long its process runs and what it prints when.
struct CommandScript {
    long long runsForMs = 0;
    // (milliseconds after the send, chunk); chunks over 4095 bytes reach the callback in parts.
    std::vector<std::pair<long long, std::string>> output;
};

// An engine that plays scripted commands on the virtual clock: their output arrives through
// the registered callback when the pump gets its turn, their processes answer GetProcessState.
class CScriptedEngine : public IRepairEngine {
public:
    static constexpr int kMaxChunk = 4095;

    CScriptedEngine(CEventJournal& journal, const CVirtualTime& time) : m_Journal(journal), m_Time(time) {}

    // Set-up.
    bool opens = true;
    bool redirectionSwitchesOff = true;
    std::string systemName;
    std::deque<float> cpuSamples; // answered in order; afterwards the process is idle (0)
    void Script(const std::string& line, CommandScript script) { m_Scripts[line] = std::move(script); }

    // Observation.
    int processStateQueries = 0;
    int cpuQueries = 0;
    bool IsOpen() const { return m_bOpen; }

    // The pump's turn: everything due by now reaches the callback.
    void Pump()
    {
        const long long nowMs = m_Time.NowMs();
        std::vector<std::string> due;
        for (auto it = m_Pending.begin(); it != m_Pending.end();) {
            if (it->first <= nowMs) {
                due.push_back(it->second);
                it = m_Pending.erase(it);
            } else {
                ++it;
            }
        }
        for (const std::string& chunk : due) {
            for (std::size_t at = 0; at < chunk.size(); at += kMaxChunk)
                Deliver(chunk.substr(at, kMaxChunk));
        }
    }

    EngineHandle Open() override
    {
        m_Journal.Add("Open");
        if (!opens)
            return nullptr;
        m_bOpen = true;
        return this;
    }
    bool DataCallBack_Log(EngineHandle engine, RepairOutputCallback callback, void* context) override
    {
        Check(engine);
        m_Journal.Add(callback ? "Callback set" : "Callback cleared");
        m_Callback = callback;
        m_pContext = context;
        return true;
    }
    bool CmdSend(EngineHandle engine, const char* bytes, int count) override
    {
        Check(engine);
        // The count includes the zero byte; the line must end exactly there.
        const std::string line(bytes, static_cast<std::size_t>(count > 0 ? count - 1 : 0));
        const bool terminated = count > 0 && bytes[count - 1] == '\0' && line.find('\0') == std::string::npos;
        m_Journal.Add("Send " + line + " [" + std::to_string(count) + (terminated ? "" : " UNTERMINATED") + "]");
        auto script = m_Scripts.find(line);
        if (script == m_Scripts.end())
            return true;
        m_Processes.push_back({line, m_Time.NowMs(), m_Time.NowMs() + script->second.runsForMs});
        for (const auto& [after, chunk] : script->second.output)
            m_Pending.insert({m_Time.NowMs() + after, chunk});
        return true;
    }
    bool CmdClear(EngineHandle engine) override
    {
        Check(engine);
        m_Journal.Add("Clear");
        // The pipe is closed and the repair processes end: what they had not printed is lost.
        m_Pending.clear();
        for (Process& process : m_Processes)
            process.endMs = std::min(process.endMs, m_Time.NowMs());
        return true;
    }
    bool Wow64DisableWow64Fs(EngineHandle engine) override
    {
        Check(engine);
        m_Journal.Add(redirectionSwitchesOff ? "Redirection off" : "Redirection stays on");
        return redirectionSwitchesOff;
    }
    bool Wow64RevertWow64Fs(EngineHandle engine) override
    {
        Check(engine);
        m_Journal.Add("Redirection restored");
        return true;
    }
    bool GetProcessState(EngineHandle engine) override
    {
        Check(engine);
        ++processStateQueries;
        for (const Process& process : m_Processes) {
            if (process.startMs <= m_Time.NowMs() && m_Time.NowMs() < process.endMs &&
                (process.line.rfind("sfc", 0) == 0 || process.line.rfind("DISM", 0) == 0))
                return true;
        }
        return false;
    }
    void GetSystemName(EngineHandle engine, std::string& name) override
    {
        Check(engine);
        m_Journal.Add("System name");
        name = systemName;
    }
    float GetProcessCpuInfo(EngineHandle engine, const std::wstring& processName) override
    {
        Check(engine);
        ++cpuQueries;
        float sample = 0.0f;
        if (!cpuSamples.empty()) {
            sample = cpuSamples.front();
            cpuSamples.pop_front();
        }
        m_Journal.Add("Cpu " + Utf8Of(processName));
        return sample;
    }
    bool Close(EngineHandle engine) override
    {
        Check(engine);
        m_Journal.Add("Close");
        m_bOpen = false;
        m_Callback = nullptr;
        return true;
    }

private:
    struct Process {
        std::string line;
        long long startMs;
        long long endMs;
    };

    void Check(EngineHandle engine)
    {
        if (engine != this || !m_bOpen)
            m_Journal.Add("ENGINE CALL WITHOUT AN OPEN INSTANCE");
    }
    void Deliver(const std::string& chunk)
    {
        if (!m_Callback)
            return;
        std::vector<char> buffer(chunk.begin(), chunk.end());
        buffer.push_back('\0');
        m_Callback(buffer.data(), static_cast<int>(chunk.size()), m_pContext);
    }

    CEventJournal& m_Journal;
    const CVirtualTime& m_Time;
    std::map<std::string, CommandScript> m_Scripts;
    std::multimap<long long, std::string> m_Pending;
    std::vector<Process> m_Processes;
    RepairOutputCallback m_Callback = nullptr;
    void* m_pContext = nullptr;
    bool m_bOpen = false;
};
