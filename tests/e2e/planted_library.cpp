// A library that stands in for a system library of the same name, planted beside Sorvane.exe as
// an attacker would. Whoever loads it leaves a trace: the file "planted.loaded" beside it.
#include <windows.h>

#include <cstring>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char marker[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameA(instance, marker, MAX_PATH);
    char* name = strrchr(marker, '\\');
    if (length == 0 || length >= MAX_PATH || !name) return TRUE;
    lstrcpyA(name + 1, "planted.loaded");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
