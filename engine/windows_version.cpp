#include "windows_version.h"

namespace {

using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);


void ReadNtNumbers(WindowsVersionFacts* pFacts)
{
    HMODULE hNtdll = LoadLibraryW(L"ntdll.dll");
    if (!hNtdll)
        return;
    auto pfnNumbers = reinterpret_cast<RtlGetNtVersionNumbersFn>(
        reinterpret_cast<void*>(GetProcAddress(hNtdll, "RtlGetNtVersionNumbers")));
    if (pfnNumbers) {
        DWORD dwBuild = 0;
        pfnNumbers(&pFacts->dwNtMajor, &pFacts->dwNtMinor, &dwBuild);
        pFacts->bHasNtNumbers = true;
    }
    FreeLibrary(hNtdll);
}

bool Is(const WindowsVersionFacts& facts, DWORD dwMajor, DWORD dwMinor)
{
    return facts.dwMajor == dwMajor && facts.dwMinor == dwMinor;
}

bool IsWorkstation(const WindowsVersionFacts& facts) { return facts.wProductType == VER_NT_WORKSTATION; }

} // namespace

WindowsVersionFacts ReadWindowsVersionFacts()
{
    WindowsVersionFacts facts;
    ReadNtNumbers(&facts);

    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    facts.wProcessorArchitecture = info.wProcessorArchitecture;

    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
        facts.bHasVersionEx = true;
        facts.dwMajor = version.dwMajorVersion;
        facts.dwMinor = version.dwMinorVersion;
        facts.dwPlatformId = version.dwPlatformId;
        facts.wSuiteMask = version.wSuiteMask;
        facts.wProductType = version.wProductType;
    }
    facts.bServerR2 = GetSystemMetrics(SM_SERVERR2) != 0;
    return facts;
}

std::optional<std::string> WindowsProductName(const WindowsVersionFacts& f)
{
    if (f.bHasNtNumbers) {
        if (f.dwNtMajor == 6 && f.dwNtMinor == 3)
            return "Microsoft Windows 8.1";
        if (f.dwNtMajor == 10 && f.dwNtMinor == 0)
            return "Microsoft Windows 10";
    }
    if (!f.bHasVersionEx)
        return std::nullopt;

    if (Is(f, 4, 0) && f.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return "Microsoft Windows NT 4.0";
    if (Is(f, 4, 0) && f.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return "Microsoft Windows 95";
    if (Is(f, 4, 10))
        return "Microsoft Windows 98";
    if (Is(f, 4, 90))
        return "Microsoft Windows Me";
    if (Is(f, 5, 0))
        return "Microsoft Windows 2000";
    if (Is(f, 5, 1))
        return "Microsoft Windows XP";
    if (Is(f, 5, 2)) {
        if (IsWorkstation(f) && f.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64)
            return "Microsoft Windows XP Professional x64 Edition";
        return f.bServerR2 ? "Microsoft Windows Server 2003 R2" : "Microsoft Windows Server 2003";
    }
    if (Is(f, 6, 0))
        return IsWorkstation(f) ? "Microsoft Windows Vista" : "Microsoft Windows Server 2008";
    if (Is(f, 6, 1))
        return IsWorkstation(f) ? "Microsoft Windows 7" : "Microsoft Windows Server 2008 R2";
    if (Is(f, 6, 2))
        return IsWorkstation(f) ? "Microsoft Windows 8" : "Microsoft Windows Server 2012";
    if (f.dwMajor >= 4 && f.dwMajor <= 6)
        return std::nullopt;
    return std::string();
}

std::string WindowsEditionMark(const WindowsVersionFacts& f)
{
    if (!f.bHasVersionEx)
        return std::string();
    // Suite values are compared with the whole mask, not as single bits.
    const WORD wSuite = f.wSuiteMask;
    if (Is(f, 6, 0)) {
        if (IsWorkstation(f))
            return wSuite == VER_SUITE_PERSONAL ? "Home" : "";
        if (wSuite == VER_SUITE_DATACENTER)
            return "Datacenter Server";
        if (wSuite == VER_SUITE_ENTERPRISE)
            return "Enterprise";
        return std::string();
    }
    if (Is(f, 5, 0))
        return wSuite == VER_SUITE_ENTERPRISE ? "Advanced Server" : "";
    if (Is(f, 5, 1)) {
        if (wSuite == VER_SUITE_EMBEDDEDNT)
            return "Embedded";
        if (wSuite == VER_SUITE_PERSONAL)
            return "Home Edition";
        return "Professional";
    }
    if (Is(f, 5, 2)) {
        if (f.bServerR2)
            return wSuite == VER_SUITE_STORAGE_SERVER ? "Storage Server" : "";
        switch (wSuite) {
        case VER_SUITE_BLADE: return "Web Edition";
        case VER_SUITE_COMPUTE_SERVER: return "Compute Cluster Edition";
        case VER_SUITE_STORAGE_SERVER: return "Storage Server";
        case VER_SUITE_DATACENTER: return "Datacenter Edition";
        case VER_SUITE_ENTERPRISE: return "Enterprise Edition";
        default: return std::string();
        }
    }
    return std::string();
}
