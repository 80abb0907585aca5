#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "event_journal.h"
#include "fixture.h"
#include "workflow/repair_engine.h"

// An engine with a pump thread of its own that reads scripted output every millisecond and
// hands it to the callback, concurrently with the caller's threads, as the real engine does.
class CThreadedEngine : public IRepairEngine {
public:
    explicit CThreadedEngine(CEventJournal& journal) : m_Journal(journal) {}
    ~CThreadedEngine() override { StopPump(); }

    std::atomic<bool> redirectionSwitchesOff{true};
    std::atomic<float> cpuSample{0.0f};
    std::atomic<int> cpuQueries{0};

    EngineHandle Open() override
    {
        m_Journal.Add("Open");
        m_bOpen = true;
        m_Pump = std::thread([this] { PumpLoop(); });
        return this;
    }
    bool DataCallBack_Log(EngineHandle engine, RepairOutputCallback callback, void* context) override
    {
        Check(engine);
        std::lock_guard lock(m_Lock);
        m_Callback = callback;
        m_pContext = context;
        return true;
    }
    bool CmdSend(EngineHandle engine, const char* bytes, int count) override
    {
        Check(engine);
        const std::string line(bytes, static_cast<std::size_t>(count - 1));
        m_Journal.Add("Send " + line);
        std::lock_guard lock(m_Lock);
        if (line.rfind("ping", 0) == 0) {
            m_Output.push_back(Fixture("ping-zh-reply.bin"));
        } else if (line.rfind("sfc", 0) == 0) {
            m_bRepairRunning = true;
            m_Output.push_back(std::string(3500, 's'));
            m_bEndsWithOutput = true;
        } else if (line.rfind("DISM", 0) == 0) {
            m_bRepairRunning = true;
            for (const std::string& record : FixtureLines("dism-zh-success.bin"))
                m_Output.push_back(record);
            m_bEndsWithOutput = true;
        }
        return true;
    }
    bool CmdClear(EngineHandle engine) override
    {
        Check(engine);
        m_Journal.Add("Clear");
        std::lock_guard lock(m_Lock);
        m_Output.clear();
        m_bRepairRunning = false;
        return true;
    }
    bool Wow64DisableWow64Fs(EngineHandle engine) override
    {
        Check(engine);
        return redirectionSwitchesOff.load();
    }
    bool Wow64RevertWow64Fs(EngineHandle engine) override
    {
        Check(engine);
        return true;
    }
    bool GetProcessState(EngineHandle engine) override
    {
        Check(engine);
        std::lock_guard lock(m_Lock);
        return m_bRepairRunning;
    }
    void GetSystemName(EngineHandle engine, std::string& name) override
    {
        Check(engine);
        name = "Microsoft Windows 10 Pro";
    }
    float GetProcessCpuInfo(EngineHandle engine, const std::wstring&) override
    {
        Check(engine);
        ++cpuQueries;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return cpuSample.load();
    }
    bool Close(EngineHandle engine) override
    {
        Check(engine);
        m_Journal.Add("Close");
        m_bOpen = false;
        StopPump();
        return true;
    }

private:
    void Check(EngineHandle engine)
    {
        if (engine != this || !m_bOpen.load())
            m_Journal.Add("ENGINE CALL WITHOUT AN OPEN INSTANCE");
    }
    void StopPump()
    {
        m_bStopPump = true;
        if (m_Pump.joinable() && m_Pump.get_id() != std::this_thread::get_id())
            m_Pump.join();
    }
    void PumpLoop()
    {
        while (!m_bStopPump.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::string chunk;
            RepairOutputCallback callback;
            void* context;
            {
                std::lock_guard lock(m_Lock);
                if (m_Output.empty())
                    continue;
                chunk = std::move(m_Output.front());
                m_Output.pop_front();
                callback = m_Callback;
                context = m_pContext;
            }
            if (callback)
                callback(chunk.data(), static_cast<int>(chunk.size()), context);
            std::lock_guard lock(m_Lock);
            // The command exits once it has printed everything.
            if (m_Output.empty() && m_bEndsWithOutput) {
                m_bRepairRunning = false;
                m_bEndsWithOutput = false;
            }
        }
    }

    CEventJournal& m_Journal;
    std::atomic<bool> m_bOpen{false};
    std::atomic<bool> m_bStopPump{false};
    std::thread m_Pump;
    std::mutex m_Lock;
    std::deque<std::string> m_Output;
    bool m_bRepairRunning = false;
    bool m_bEndsWithOutput = false;
    RepairOutputCallback m_Callback = nullptr;
    void* m_pContext = nullptr;
};
