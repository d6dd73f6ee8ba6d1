// The system as it really is: libraries loaded only from the system folder, and the version of
// Windows that runs us (not the one it pretends to be for older programs).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "common/text.h"

// Keeps the executable's folder and the current folder out of the search for libraries that are
// loaded by bare name (by us, or on our behalf by the system): SetDefaultDllDirectories with the
// system folder only where kernel32 has it (Windows 8, and 7 with its update), else
// SetDllDirectoryW(L""). Called first thing at start-up.
void RestrictLibrarySearch();

// Writes "<systemFolder>\<name>" into buffer. False, with an empty buffer, when either part is
// empty, the name is not a plain file name (it holds a folder or drive), or the path does not fit.
bool BuildSystemLibraryPath(const wchar_t* systemFolder, const wchar_t* name, wchar_t* buffer, size_t capacity);

// Loads the library of that file name from the system folder, by its full path; null when it is
// not there. The caller owns the module (FreeLibrary).
HMODULE LoadSystemLibrary(const wchar_t* name);

// The common controls, loaded at their first use (a showing, the sheet) rather than at start, and
// kept: they weigh more than the rest of an idle Sorvane. By bare name, so that the version the
// manifest asks for (6) is the one loaded, from the side-by-side store or the system folder. Null
// when they cannot be had.
HMODULE CommonControls();

// A procedure of a module through a generic function pointer: FARPROC's own signature says
// nothing. Null module or missing name give null.
template <typename Function>
Function ProcedureOf(HMODULE module, const char* name)
{
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The processors the system gives this process (at least 1).
unsigned ProcessorCount();

// A top-down 32-bit DIB section of width x height (black); *info gets its header and *bits its
// pixels when given. Null for an empty size or when it cannot be had.
HBITMAP CreateTopDownSection(int width, int height, BITMAPINFO* info = nullptr, void** bits = nullptr);

// Waits for the handle at most timeoutMs (INFINITE: no limit), handling only the messages other
// threads send meanwhile; posted messages and input stay queued. A null handle only waits out the
// time (which must then be finite) and gives WAIT_TIMEOUT; a handle that cannot be waited on gives
// WAIT_FAILED.
DWORD WaitHandlingSentMessages(HANDLE handle, DWORD timeoutMs);

// Reads a path with read(buffer, capacity), which answers the length read (0: failed). A result
// that fills the buffer, or a refusal for too small a buffer, is read again into one twice as
// large, up to kLongPathCapacity; empty when it cannot be read whole.
template <typename Read>
std::wstring ReadGrowingPath(Read read)
{
    for (size_t capacity = kPathCapacity; capacity <= kLongPathCapacity; capacity *= 2) {
        std::wstring path(capacity, L'\0');
        SetLastError(ERROR_SUCCESS);
        size_t length = read(path.data(), static_cast<DWORD>(capacity));
        if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) length = capacity;
        if (length == 0) return {};
        if (length + 1 < capacity) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

// This program's full path, whatever its length and characters (read into a buffer that grows as
// far as kLongPathCapacity); empty when it cannot be read whole.
std::wstring ExecutablePath();
// The full path of a file of that name in the executable's folder; empty when the executable's
// path cannot be read.
std::wstring PathBesideExecutable(const wchar_t* fileName);

struct OsVersion {
    DWORD major;
    DWORD minor;
    DWORD build;
};

// The version the system really is, read once from ntdll's RtlGetVersion: GetVersionEx answers
// 6.2 to programs whose manifest does not name the newer systems. Falls back to GetVersionEx.
const OsVersion& RealOsVersion();
