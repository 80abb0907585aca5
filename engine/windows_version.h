#pragma once
// Names of the running Windows, decided from a record of version facts, so the decision
// can be checked for every version on any machine.
#include <windows.h>

#include <optional>
#include <string>

struct WindowsVersionFacts {
    // RtlGetNtVersionNumbers: the real numbers, unaffected by compatibility shims.
    bool bHasNtNumbers = false;
    DWORD dwNtMajor = 0;
    DWORD dwNtMinor = 0;
    // GetVersionExW with the extended record.
    bool bHasVersionEx = false;
    DWORD dwMajor = 0;
    DWORD dwMinor = 0;
    DWORD dwPlatformId = 0;
    WORD wSuiteMask = 0;
    BYTE wProductType = 0;
    WORD wProcessorArchitecture = 0;
    bool bServerR2 = false; // GetSystemMetrics(SM_SERVERR2) non-zero
};

WindowsVersionFacts ReadWindowsVersionFacts();

// "Microsoft Windows 7" and so on; an empty text for an unknown major version;
// nothing (the caller's text stays as it was) when the version query failed or an
// older major version has an unlisted minor.
std::optional<std::string> WindowsProductName(const WindowsVersionFacts& facts);
// Edition of 5.x and 6.0 systems ("Home Edition", "Enterprise", ...); empty otherwise.
std::string WindowsEditionMark(const WindowsVersionFacts& facts);
