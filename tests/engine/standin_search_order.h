#pragma once
// While it lives, the stand-in tools come first for every child of this process: the
// current directory is their folder and PATH starts with it (Wine has its own dism and ping).
#include <string>

class CStandinSearchOrder {
public:
    CStandinSearchOrder();
    ~CStandinSearchOrder();
    CStandinSearchOrder(const CStandinSearchOrder&) = delete;
    CStandinSearchOrder& operator=(const CStandinSearchOrder&) = delete;

private:
    std::wstring m_strOldDirectory;
    std::wstring m_strOldPath;
};
