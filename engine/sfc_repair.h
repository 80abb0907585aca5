#pragma once
// ZorvexSfcRepair.dll: runs repair commands as hidden children and answers questions
// about processes and the operating system. Every export takes the handle that
// sfc_Repair_Open returned; a null handle or a closed engine makes it fail at once.
//
// Results cross the boundary as plain values: bool is one byte, integers are 32-bit,
// the CPU figure is a float. No export throws.
#include <windows.h>

#include <stdint.h>

#ifdef __cplusplus
#include <new>
#include <string>
#endif

#ifdef ZSR_BUILDING_ENGINE
#define SFC_REPAIR_API // exported through the .def file, with fixed ordinals
#else
#define SFC_REPAIR_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* SfcRepairHandle;

// Receives each chunk of a command's output on the engine's pump thread. pData holds
// 1 to 4095 bytes exactly as the child wrote them, followed by a zero byte; it is valid
// only during the call. A chunk may end inside a line or a multi-byte character.
// Declare it WINAPI: static void WINAPI OnEngineOutput(const char*, int32_t, void*).
typedef void(WINAPI* SfcRepairDataCallBack)(const char* pData, int32_t nLength, void* pContext);

// A caller's 8-bit text object and the caller's own function that replaces its contents.
// The library never allocates or frees the caller's text: it calls pfnAssign, which runs
// code of the caller's module on the caller's heap, so the two modules need not share a
// run-time library. pfnAssign must not throw. Build one with SfcRepairTextFor:
//     std::string strName;
//     SfcRepairText name = SfcRepairTextFor(strName);
//     sfc_Repair_GetSystemName(hEngine, &name);
typedef void(WINAPI* SfcRepairAssignText)(void* pTarget, const char* pText, int32_t nLength);
typedef struct SfcRepairText {
    void* pTarget;
    SfcRepairAssignText pfnAssign;
} SfcRepairText;

// Ends every sfc.exe and Dism.exe, stops the output pump and destroys the engine; no
// callback runs after it returns. Returns promptly even while a child keeps the output
// pipe open. Refused (false) on the pump thread, that is, from inside the callback.
SFC_REPAIR_API bool WINAPI sfc_Repair_Close(SfcRepairHandle hEngine);
// Drops the current command's output and ends every sfc.exe and Dism.exe; other children
// of the command (a ping, say) keep running but are no longer read. Safe inside the callback.
SFC_REPAIR_API bool WINAPI sfc_Repair_CmdClear(SfcRepairHandle hEngine);
// Runs "cmd /C " + the bytes (system ANSI code page) hidden, in the caller's environment and
// current directory. nLength counts the bytes given, usually including the terminating zero;
// more than 4088 bytes are refused and nothing runs. Returns true whether or not the command
// started (output arriving is the sign that it did); false only for a bad handle.
SFC_REPAIR_API bool WINAPI sfc_Repair_CmdSend(SfcRepairHandle hEngine, const char* pCommand, int32_t nLength);
// Registers the output callback and its context; a null callback stops delivery.
SFC_REPAIR_API bool WINAPI sfc_Repair_DataCallBack_Log(SfcRepairHandle hEngine, SfcRepairDataCallBack pfnCallBack,
                                                       void* pContext);
// CPU use in percent of all processors over about one second of the last process whose
// executable name equals pszExeName exactly (case-sensitive); -1.0 when there is none or it
// could not be sampled, -2.0 when it may not be queried. Blocks about 1 s per such process.
SFC_REPAIR_API float WINAPI sfc_Repair_GetProcessCpuInfo(SfcRepairHandle hEngine, const wchar_t* pszExeName);
// True while a process named exactly "sfc.exe" or "Dism.exe" exists.
SFC_REPAIR_API bool WINAPI sfc_Repair_GetProcessState(SfcRepairHandle hEngine);
// "Microsoft Windows 7", "Microsoft Windows 10", ... into the caller's text (may be left as it was).
SFC_REPAIR_API void WINAPI sfc_Repair_GetSystemName(SfcRepairHandle hEngine, const SfcRepairText* pText);
// Edition of older systems ("Home Edition", "Enterprise", ...), empty on 6.1 and later.
SFC_REPAIR_API void WINAPI sfc_Repair_GetVersionMark(SfcRepairHandle hEngine, const SfcRepairText* pText);
// Creates the single engine; null when one exists already.
SFC_REPAIR_API SfcRepairHandle WINAPI sfc_Repair_Open(void);
// Logs off (0), shuts down (1) or restarts (2) Windows; any other mode returns false.
SFC_REPAIR_API bool WINAPI sfc_Repair_ReSetWindows(SfcRepairHandle hEngine, int32_t nMode, bool bForce);
// WOW64 file-system redirection of the calling thread: disable before sending a command
// that must reach the native tools, revert afterwards on the same thread. In a process
// that is not WOW64, Disable succeeds without a change and Revert answers false.
SFC_REPAIR_API bool WINAPI sfc_Repair_Wow64DisableWow64Fs(SfcRepairHandle hEngine);
SFC_REPAIR_API bool WINAPI sfc_Repair_Wow64RevertWow64Fs(SfcRepairHandle hEngine);

#ifdef __cplusplus
} // extern "C"

// Compiled into the caller's module, so the string is always changed by the caller's runtime.
inline void WINAPI SfcRepairAssignStdString(void* pTarget, const char* pText, int32_t nLength)
{
    try {
        static_cast<std::string*>(pTarget)->assign(pText, static_cast<size_t>(nLength));
    } catch (const std::bad_alloc&) {
        // Out of memory: the caller's text keeps its old contents.
    }
}

inline SfcRepairText SfcRepairTextFor(std::string& strTarget)
{
    return SfcRepairText{&strTarget, &SfcRepairAssignStdString};
}
#endif
