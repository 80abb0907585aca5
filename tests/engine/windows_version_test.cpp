// The product name and edition of every Windows the library knows, and the real answer
// of the Wine prefix as Windows 7 and as Windows 10.
#include <windows.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "cmd_pipe_run.h"
#include "windows_version.h"

namespace {

constexpr BYTE kWorkstation = VER_NT_WORKSTATION;
constexpr BYTE kServer = VER_NT_SERVER;
constexpr WORD kX86 = PROCESSOR_ARCHITECTURE_INTEL;
constexpr WORD kAmd64 = PROCESSOR_ARCHITECTURE_AMD64;

WindowsVersionFacts Facts(DWORD dwMajor, DWORD dwMinor, BYTE wProductType = kWorkstation, WORD wSuite = 0,
                          DWORD dwPlatform = VER_PLATFORM_WIN32_NT, WORD wArch = kX86, bool bR2 = false)
{
    WindowsVersionFacts facts;
    facts.bHasNtNumbers = true;
    facts.dwNtMajor = dwMajor;
    facts.dwNtMinor = dwMinor;
    facts.bHasVersionEx = true;
    facts.dwMajor = dwMajor;
    facts.dwMinor = dwMinor;
    facts.dwPlatformId = dwPlatform;
    facts.wSuiteMask = wSuite;
    facts.wProductType = wProductType;
    facts.wProcessorArchitecture = wArch;
    facts.bServerR2 = bR2;
    return facts;
}

// Windows 8 and later answer 6.2 to GetVersionExW without a manifest; only the real
// numbers tell 8.1 and 10 apart.
WindowsVersionFacts Shimmed(DWORD dwNtMajor, DWORD dwNtMinor)
{
    WindowsVersionFacts facts = Facts(6, 2);
    facts.dwNtMajor = dwNtMajor;
    facts.dwNtMinor = dwNtMinor;
    return facts;
}

WindowsVersionFacts WithoutVersionEx(DWORD dwNtMajor, DWORD dwNtMinor)
{
    WindowsVersionFacts facts = Facts(dwNtMajor, dwNtMinor);
    facts.bHasVersionEx = false;
    return facts;
}

WindowsVersionFacts WithoutNtNumbers(WindowsVersionFacts facts)
{
    facts.bHasNtNumbers = false;
    return facts;
}

struct ProductCase {
    const char* pszName;
    WindowsVersionFacts facts;
    std::optional<std::string> expected; // nullopt: the caller's text stays
};

class WindowsProductNames : public ::testing::TestWithParam<ProductCase> {};

TEST_P(WindowsProductNames, FollowTheVersionRecord)
{
    EXPECT_EQ(WindowsProductName(GetParam().facts), GetParam().expected);
}

const ProductCase kProductCases[] = {
    {"Nt4", Facts(4, 0), "Microsoft Windows NT 4.0"},
    {"Win95", Facts(4, 0, kWorkstation, 0, VER_PLATFORM_WIN32_WINDOWS), "Microsoft Windows 95"},
    {"Win98", Facts(4, 10, kWorkstation, 0, VER_PLATFORM_WIN32_WINDOWS), "Microsoft Windows 98"},
    {"WinMe", Facts(4, 90, kWorkstation, 0, VER_PLATFORM_WIN32_WINDOWS), "Microsoft Windows Me"},
    {"Win2000", Facts(5, 0), "Microsoft Windows 2000"},
    {"WinXp", Facts(5, 1), "Microsoft Windows XP"},
    {"WinXpX64", Facts(5, 2, kWorkstation, 0, VER_PLATFORM_WIN32_NT, kAmd64), "Microsoft Windows XP Professional x64 Edition"},
    {"Server2003", Facts(5, 2, kServer), "Microsoft Windows Server 2003"},
    {"Server2003OnX64", Facts(5, 2, kServer, 0, VER_PLATFORM_WIN32_NT, kAmd64), "Microsoft Windows Server 2003"},
    {"Server2003R2", Facts(5, 2, kServer, 0, VER_PLATFORM_WIN32_NT, kX86, true), "Microsoft Windows Server 2003 R2"},
    {"WorkstationOn52X86", Facts(5, 2, kWorkstation), "Microsoft Windows Server 2003"},
    {"Vista", Facts(6, 0), "Microsoft Windows Vista"},
    {"Server2008", Facts(6, 0, kServer), "Microsoft Windows Server 2008"},
    {"Win7", Facts(6, 1), "Microsoft Windows 7"},
    {"Server2008R2", Facts(6, 1, kServer), "Microsoft Windows Server 2008 R2"},
    {"DomainController2008R2", Facts(6, 1, VER_NT_DOMAIN_CONTROLLER), "Microsoft Windows Server 2008 R2"},
    {"Win8", Facts(6, 2), "Microsoft Windows 8"},
    {"Server2012", Facts(6, 2, kServer), "Microsoft Windows Server 2012"},
    {"Win81", Facts(6, 3), "Microsoft Windows 8.1"},
    {"Win81Shimmed", Shimmed(6, 3), "Microsoft Windows 8.1"},
    {"Win10Shimmed", Shimmed(10, 0), "Microsoft Windows 10"},
    {"Win10WithoutVersionEx", WithoutVersionEx(10, 0), "Microsoft Windows 10"},
    {"Win7WithoutVersionEx", WithoutVersionEx(6, 1), std::nullopt},
    {"Win81WithoutNtNumbers", WithoutNtNumbers(Facts(6, 3)), std::nullopt},
    {"UnlistedMinorOf4", Facts(4, 5), std::nullopt},
    {"UnlistedMinorOf5", Facts(5, 3), std::nullopt},
    {"Nt4OnUnknownPlatform", Facts(4, 0, kWorkstation, 0, 3), std::nullopt},
    {"Major3", Facts(3, 51), ""},
    {"Major10Minor1", Facts(10, 1), ""},
    {"Major11", Facts(11, 0), ""},
};

INSTANTIATE_TEST_SUITE_P(Table, WindowsProductNames, ::testing::ValuesIn(kProductCases),
                         [](const ::testing::TestParamInfo<ProductCase>& param) { return param.param.pszName; });

struct EditionCase {
    const char* pszName;
    WindowsVersionFacts facts;
    const char* pszExpected;
};

class WindowsEditionMarks : public ::testing::TestWithParam<EditionCase> {};

TEST_P(WindowsEditionMarks, FollowTheWholeSuiteMask)
{
    EXPECT_EQ(WindowsEditionMark(GetParam().facts), GetParam().pszExpected);
}

WindowsVersionFacts Server2003R2(WORD wSuite) { return Facts(5, 2, kServer, wSuite, VER_PLATFORM_WIN32_NT, kX86, true); }

const EditionCase kEditionCases[] = {
    {"VistaHome", Facts(6, 0, kWorkstation, VER_SUITE_PERSONAL), "Home"},
    {"VistaHomeWithAnotherBit", Facts(6, 0, kWorkstation, VER_SUITE_PERSONAL | VER_SUITE_SINGLEUSERTS), ""},
    {"VistaBusiness", Facts(6, 0, kWorkstation, 0), ""},
    {"VistaWorkstationDatacenterMask", Facts(6, 0, kWorkstation, VER_SUITE_DATACENTER), ""},
    {"Server2008Datacenter", Facts(6, 0, kServer, VER_SUITE_DATACENTER), "Datacenter Server"},
    {"Server2008Enterprise", Facts(6, 0, kServer, VER_SUITE_ENTERPRISE), "Enterprise"},
    {"Server2008PersonalMask", Facts(6, 0, kServer, VER_SUITE_PERSONAL), ""},
    {"Win2000AdvancedServer", Facts(5, 0, kServer, VER_SUITE_ENTERPRISE), "Advanced Server"},
    {"Win2000Professional", Facts(5, 0), ""},
    {"XpEmbedded", Facts(5, 1, kWorkstation, VER_SUITE_EMBEDDEDNT), "Embedded"},
    {"XpHome", Facts(5, 1, kWorkstation, VER_SUITE_PERSONAL), "Home Edition"},
    {"XpProfessional", Facts(5, 1, kWorkstation, 0), "Professional"},
    {"XpHomeWithAnotherBit", Facts(5, 1, kWorkstation, VER_SUITE_PERSONAL | VER_SUITE_SINGLEUSERTS), "Professional"},
    {"Server2003Web", Facts(5, 2, kServer, VER_SUITE_BLADE), "Web Edition"},
    {"Server2003ComputeCluster", Facts(5, 2, kServer, VER_SUITE_COMPUTE_SERVER), "Compute Cluster Edition"},
    {"Server2003Storage", Facts(5, 2, kServer, VER_SUITE_STORAGE_SERVER), "Storage Server"},
    {"Server2003Datacenter", Facts(5, 2, kServer, VER_SUITE_DATACENTER), "Datacenter Edition"},
    {"Server2003Enterprise", Facts(5, 2, kServer, VER_SUITE_ENTERPRISE), "Enterprise Edition"},
    {"Server2003Standard", Facts(5, 2, kServer, 0), ""},
    {"Server2003R2Storage", Server2003R2(VER_SUITE_STORAGE_SERVER), "Storage Server"},
    {"Server2003R2Enterprise", Server2003R2(VER_SUITE_ENTERPRISE), ""},
    {"Server2003R2Web", Server2003R2(VER_SUITE_BLADE), ""},
    {"Win7", Facts(6, 1), ""},
    {"Win7Enterprise", Facts(6, 1, kWorkstation, VER_SUITE_ENTERPRISE), ""},
    {"Win10", Facts(10, 0, kWorkstation, VER_SUITE_PERSONAL), ""},
    {"NoVersionRecord", WithoutVersionEx(5, 1), ""},
};

INSTANTIATE_TEST_SUITE_P(Table, WindowsEditionMarks, ::testing::ValuesIn(kEditionCases),
                         [](const ::testing::TestParamInfo<EditionCase>& param) { return param.param.pszName; });

// The real answer through the library, in a probe process started afresh, because Wine
// reads a program's Windows version when the program starts.
class WineVersionPrefix : public ::testing::TestWithParam<std::pair<const wchar_t*, const char*>> {
protected:
    static constexpr wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\version_probe.exe";
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults); }
};

TEST_P(WineVersionPrefix, NamesTheSystemAsThePrefixReportsIt)
{
    const auto [pszWineVersion, pszExpected] = GetParam();
    RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults);
    if (*pszWineVersion) {
        const DWORD dwBytes = static_cast<DWORD>((wcslen(pszWineVersion) + 1) * sizeof(wchar_t));
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kAppDefaults, L"Version", REG_SZ, pszWineVersion, dwBytes),
                  ERROR_SUCCESS);
    }
    CmdPipeResult result = CCmdPipeRun::Run(L"version_probe.exe");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.Bytes(), pszExpected);
}

INSTANTIATE_TEST_SUITE_P(Prefixes, WineVersionPrefix,
                         ::testing::Values(std::make_pair(L"", "Microsoft Windows 7\n\n"),
                                           std::make_pair(L"win8", "Microsoft Windows 8\n\n"),
                                           std::make_pair(L"win10", "Microsoft Windows 10\n\n"),
                                           std::make_pair(L"win81", "Microsoft Windows 8.1\n\n")));

} // namespace
