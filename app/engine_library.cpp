#include "app/engine_library.h"

#include "engine/sfc_repair.h"

EngineHandle CEngineLibrary::Open() { return sfc_Repair_Open(); }

bool CEngineLibrary::DataCallBack_Log(EngineHandle engine, RepairOutputCallback callback, void* context) {
  if (callback == nullptr) {
    m_pfnCallback.store(nullptr);
    return sfc_Repair_DataCallBack_Log(engine, nullptr, nullptr);
  }
  // The context first: the pump thread reads the callback, then its context.
  m_pContext.store(context);
  m_pfnCallback.store(callback);
  return sfc_Repair_DataCallBack_Log(engine, &CEngineLibrary::ForwardOutput, this);
}

void WINAPI CEngineLibrary::ForwardOutput(const char* bytes, std::int32_t count, void* self) {
  auto* library = static_cast<CEngineLibrary*>(self);
  if (RepairOutputCallback callback = library->m_pfnCallback.load())
    callback(bytes, static_cast<int>(count), library->m_pContext.load());
}

bool CEngineLibrary::CmdSend(EngineHandle engine, const char* bytes, int count) {
  return sfc_Repair_CmdSend(engine, bytes, count);
}

bool CEngineLibrary::CmdClear(EngineHandle engine) { return sfc_Repair_CmdClear(engine); }

bool CEngineLibrary::Wow64DisableWow64Fs(EngineHandle engine) { return sfc_Repair_Wow64DisableWow64Fs(engine); }

bool CEngineLibrary::Wow64RevertWow64Fs(EngineHandle engine) { return sfc_Repair_Wow64RevertWow64Fs(engine); }

bool CEngineLibrary::GetProcessState(EngineHandle engine) { return sfc_Repair_GetProcessState(engine); }

void CEngineLibrary::GetSystemName(EngineHandle engine, std::string& name) {
  const SfcRepairText text = SfcRepairTextFor(name);
  sfc_Repair_GetSystemName(engine, &text);
}

float CEngineLibrary::GetProcessCpuInfo(EngineHandle engine, const std::wstring& processName) {
  return sfc_Repair_GetProcessCpuInfo(engine, processName.c_str());
}

bool CEngineLibrary::Close(EngineHandle engine) { return sfc_Repair_Close(engine); }
