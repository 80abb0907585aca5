// Prints what the engine says about the running Windows: the product name, then the
// edition, one line each. Tests start it under different Windows versions of Wine.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "sfc_repair.h"

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    SfcRepairHandle hEngine = sfc_Repair_Open();
    if (!hEngine)
        return 1;
    std::string strName = "(untouched)";
    std::string strMark = "(untouched)";
    SfcRepairText name = SfcRepairTextFor(strName);
    SfcRepairText mark = SfcRepairTextFor(strMark);
    sfc_Repair_GetSystemName(hEngine, &name);
    sfc_Repair_GetVersionMark(hEngine, &mark);
    sfc_Repair_Close(hEngine);
    std::printf("%s\n%s\n", strName.c_str(), strMark.c_str());
    return 0;
}
