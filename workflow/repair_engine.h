#pragma once

#include <string>

// Opaque handle of the engine instance; null stands for "no instance".
using EngineHandle = void*;

// Shape of the engine's output callback: bytes (zero-terminated, valid during the call only),
// their count (1 to 4095) and the registered context. The engine ignores the result.
using RepairOutputCallback = int (*)(const char* bytes, int count, void* context);

// The repair engine's exports as the run uses them. The operations window forwards each call
// unchanged to the library; tests script the answers.
class IRepairEngine {
public:
    virtual ~IRepairEngine() = default;

    virtual EngineHandle Open() = 0;
    virtual bool DataCallBack_Log(EngineHandle engine, RepairOutputCallback callback, void* context) = 0;
    // count includes the terminating zero byte, which is sent with the line.
    virtual bool CmdSend(EngineHandle engine, const char* bytes, int count) = 0;
    virtual bool CmdClear(EngineHandle engine) = 0;
    virtual bool Wow64DisableWow64Fs(EngineHandle engine) = 0;
    virtual bool Wow64RevertWow64Fs(EngineHandle engine) = 0;
    // True while sfc.exe or Dism.exe runs.
    virtual bool GetProcessState(EngineHandle engine) = 0;
    virtual void GetSystemName(EngineHandle engine, std::string& name) = 0;
    // Percent of CPU, measured over about a second inside the call; negative when not found.
    virtual float GetProcessCpuInfo(EngineHandle engine, const std::wstring& processName) = 0;
    virtual bool Close(EngineHandle engine) = 0;

protected:
    IRepairEngine() = default;
    IRepairEngine(const IRepairEngine&) = default;
    IRepairEngine& operator=(const IRepairEngine&) = default;
};
