#include "config/signin.h"

#include <windows.h>

#include <cstring>

#include "common/owners.h"
#include "common/text.h"

namespace {

// This program's full path; false when it cannot be read whole.
bool ReadExecutablePath(char* path, size_t capacity)
{
    const DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(capacity));
    // A path that fills the buffer was cut (and, on Windows XP, not terminated).
    return length > 0 && length < capacity;
}

}  // namespace

bool RunValueNamesExecutable(const char* stored, const char* executablePath)
{
    if (!stored || !executablePath || executablePath[0] == '\0') return false;
    size_t length = strlen(stored);
    if (length >= 2 && stored[0] == '"' && stored[length - 1] == '"') {
        ++stored;
        length -= 2;
    }
    // Shorter than the buffer of any path this program has, so a longer value is someone else's.
    if (length != strlen(executablePath) || length >= kExecutablePathCapacity) return false;
    char path[kExecutablePathCapacity];
    memcpy(path, stored, length);
    path[length] = '\0';
    return lstrcmpiA(path, executablePath) == 0;
}

bool FormatRunValue(const char* executablePath, char* value, size_t capacity)
{
    if (capacity > 0) value[0] = '\0';
    if (!executablePath || executablePath[0] == '\0') return false;
    // A cut path would start something else, or nothing.
    if (strlen(executablePath) + 3 > capacity) return false;
    FormatBounded(value, capacity, "\"%s\"", executablePath);
    return true;
}

bool StartsAtSignIn()
{
    char executable[kExecutablePathCapacity] = {};
    if (!ReadExecutablePath(executable, sizeof executable)) return false;
    UniqueHkey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    // One byte more than a value may fill: the data end with a terminator even when stored without.
    char stored[kRunValueCapacity + 1] = {};
    DWORD type = 0;
    DWORD size = kRunValueCapacity;
    if (RegQueryValueExA(key.get(), kRunValueName, nullptr, &type, reinterpret_cast<BYTE*>(stored), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    return RunValueNamesExecutable(stored, executable);
}

bool SetStartAtSignIn(bool start)
{
    UniqueHkey key;
    if (!start) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) {
            key.release();
            return true;  // no Run key, no value
        }
        const LONG result = RegDeleteValueA(key.get(), kRunValueName);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    char executable[kExecutablePathCapacity] = {};
    char value[kRunValueCapacity] = {};
    if (!ReadExecutablePath(executable, sizeof executable) || !FormatRunValue(executable, value, sizeof value))
        return false;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    return RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(strlen(value) + 1)) == ERROR_SUCCESS;
}
