#pragma once
// The run's engine calls, forwarded to ZorvexSfcRepair.dll. The library calls back with its
// own calling convention (WINAPI); the run's callback is a plain function, so the library is
// given a thunk that forwards each chunk to the callback registered last.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "workflow/repair_engine.h"

class CEngineLibrary : public IRepairEngine {
 public:
  CEngineLibrary() = default;
  CEngineLibrary(const CEngineLibrary&) = delete;
  CEngineLibrary& operator=(const CEngineLibrary&) = delete;

  EngineHandle Open() override;
  bool DataCallBack_Log(EngineHandle engine, RepairOutputCallback callback, void* context) override;
  bool CmdSend(EngineHandle engine, const char* bytes, int count) override;
  bool CmdClear(EngineHandle engine) override;
  bool Wow64DisableWow64Fs(EngineHandle engine) override;
  bool Wow64RevertWow64Fs(EngineHandle engine) override;
  bool GetProcessState(EngineHandle engine) override;
  void GetSystemName(EngineHandle engine, std::string& name) override;
  float GetProcessCpuInfo(EngineHandle engine, const std::wstring& processName) override;
  bool Close(EngineHandle engine) override;

 private:
  static void WINAPI ForwardOutput(const char* bytes, std::int32_t count, void* self);

  std::atomic<RepairOutputCallback> m_pfnCallback{nullptr};
  std::atomic<void*> m_pContext{nullptr};
};
