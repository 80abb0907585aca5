// A fresh, empty file in the temporary folder for one test, removed afterwards; read back
// as UTF-8 lines.
#pragma once

#include <windows.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "scoped_handle.h"

class CJournalFile {
public:
    CJournalFile() {
        wchar_t folder[MAX_PATH] = {};
        wchar_t file[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"zfb", 0, file);
        m_strPath = file;
    }
    CJournalFile(const CJournalFile&) = delete;
    CJournalFile& operator=(const CJournalFile&) = delete;
    ~CJournalFile() { DeleteFileW(m_strPath.c_str()); }

    const std::wstring& Path() const { return m_strPath; }

    std::vector<std::string> Lines() const {
        std::stringstream content(ReadAll());
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(content, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // For files written by other processes: waits until at least count lines are there.
    std::vector<std::string> WaitForLines(std::size_t count, std::chrono::milliseconds timeout) const {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::vector<std::string> lines = Lines();
        while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            lines = Lines();
        }
        return lines;
    }

private:
    std::string ReadAll() const {
        // Shared with writers that may still be at work.
        CScopedHandle file(CreateFileW(m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return {};
        std::string bytes;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
        return bytes;
    }

    std::wstring m_strPath;
};
