// Sets environment variables of this process for one test and puts the old values back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class CScopedEnvironment {
public:
    CScopedEnvironment() = default;
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;
    ~CScopedEnvironment() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            SetEnvironmentVariableW(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
        }
    }

    // A null value removes the variable.
    void Set(const std::wstring& name, const wchar_t* value) {
        m_saved.emplace_back(name, Read(name));
        SetEnvironmentVariableW(name.c_str(), value);
    }

private:
    static std::optional<std::wstring> Read(const std::wstring& name) {
        const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
        if (size == 0) return std::nullopt;
        std::wstring value(size, L'\0');
        value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
        return value;
    }

    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> m_saved;
};
