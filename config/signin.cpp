#include "config/signin.h"

#include <cwchar>
#include <string>
#include <vector>

#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"

bool RunValueNamesExecutable(const wchar_t* stored, const wchar_t* executablePath)
{
    if (!stored || !executablePath || executablePath[0] == L'\0') return false;
    size_t length = wcslen(stored);
    if (length >= 2 && stored[0] == L'"' && stored[length - 1] == L'"') {
        ++stored;
        length -= 2;
    }
    return EqualIgnoringCaseOrdinal(stored, length, executablePath, wcslen(executablePath));
}

bool FormatRunValue(const wchar_t* executablePath, wchar_t* value, size_t capacity)
{
    if (capacity > 0) value[0] = L'\0';
    if (!executablePath || executablePath[0] == L'\0') return false;
    // A cut path would start something else, or nothing.
    if (wcslen(executablePath) + 3 > capacity) return false;
    FormatBounded(value, capacity, L"\"%ls\"", executablePath);
    return true;
}

bool StartsAtSignIn()
{
    const std::wstring executable = ExecutablePath();
    if (executable.empty()) return false;
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    // Room for the quoted path and one character more: a longer value names something else. One
    // more terminator ends the data even when they are stored without their own.
    const size_t room = executable.size() + 3;
    std::vector<wchar_t> stored(room + 1, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(room * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), kRunValueName, nullptr, &type, reinterpret_cast<BYTE*>(stored.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    return RunValueNamesExecutable(stored.data(), executable.c_str());
}

bool SetStartAtSignIn(bool start)
{
    UniqueHkey key;
    if (!start) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) {
            key.release();
            return true;  // no Run key, no value
        }
        const LONG result = RegDeleteValueW(key.get(), kRunValueName);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    const std::wstring executable = ExecutablePath();
    std::vector<wchar_t> value(executable.size() + 3, L'\0');
    if (!FormatRunValue(executable.c_str(), value.data(), value.size())) return false;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    return RegSetValueExW(key.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                          static_cast<DWORD>(value.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}
