#include "common/system.h"

#include <commctrl.h>

#include <cwchar>

#include "common/text.h"

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, not declared for XP.
constexpr DWORD kSearchSystemFolderOnly = 0x800;

}  // namespace

void RestrictLibrarySearch()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    auto setDefault = ProcedureOf<SetDefaultDllDirectoriesFunction>(kernel, "SetDefaultDllDirectories");
    if (setDefault && setDefault(kSearchSystemFolderOnly)) return;
    // Takes the current folder out of the search; the executable's folder stays in it, which is
    // why every library we load ourselves is named by its full path.
    auto setDirectory = ProcedureOf<SetDllDirectoryFunction>(kernel, "SetDllDirectoryW");
    if (setDirectory) setDirectory(L"");
}

bool BuildSystemLibraryPath(const wchar_t* systemFolder, const wchar_t* name, wchar_t* buffer, size_t capacity)
{
    if (capacity == 0) return false;
    buffer[0] = L'\0';
    if (!systemFolder || !name || systemFolder[0] == L'\0' || name[0] == L'\0') return false;
    if (wcspbrk(name, L"\\/:")) return false;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) return false;

    const size_t folderLength = wcslen(systemFolder);
    const bool separated = systemFolder[folderLength - 1] == L'\\' || systemFolder[folderLength - 1] == L'/';
    const size_t needed = folderLength + (separated ? 0 : 1) + wcslen(name);
    if (needed + 1 > capacity) return false;
    CopyBounded(buffer, capacity, systemFolder);
    if (!separated) AppendBounded(buffer, capacity, L"\\");
    AppendBounded(buffer, capacity, name);
    return true;
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    wchar_t path[MAX_PATH] = {};
    if (!BuildSystemLibraryPath(folder, name, path, MAX_PATH)) return nullptr;
    // The library's own imports are looked for in its folder first, not in ours.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE CommonControls()
{
    static HMODULE controls;
    if (controls) return controls;
    controls = LoadLibraryW(L"comctl32.dll");
    using InitialiseFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto initialise = ProcedureOf<InitialiseFunction>(controls, "InitCommonControlsEx")) {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
        initialise(&classes);
    }
    return controls;
}

std::wstring ExecutablePath()
{
    // A path that fills the buffer was cut (and, on Windows XP, not terminated): read again.
    return ReadGrowingPath(
        [](wchar_t* buffer, DWORD capacity) -> size_t { return GetModuleFileNameW(nullptr, buffer, capacity); });
}

std::wstring PathBesideExecutable(const wchar_t* fileName)
{
    std::wstring path = ExecutablePath();
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return {};
    path.resize(slash + 1);
    return path + fileName;
}

const OsVersion& RealOsVersion()
{
    static const OsVersion version = [] {
        OsVersion found{};
        // ntdll is in every process from its first instruction: no load, no search.
        using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
        auto rtlGetVersion = ProcedureOf<RtlGetVersionFunction>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (rtlGetVersion && rtlGetVersion(&info) == 0) {
            found = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
            return found;
        }
        OSVERSIONINFOW fallback{};
        fallback.dwOSVersionInfoSize = sizeof fallback;
        if (GetVersionExW(&fallback))
            found = {fallback.dwMajorVersion, fallback.dwMinorVersion, fallback.dwBuildNumber};
        return found;
    }();
    return version;
}

DWORD WaitHandlingSentMessages(HANDLE handle, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    const DWORD count = handle ? 1 : 0;
    for (;;) {
        DWORD remaining = INFINITE;
        if (timeoutMs != INFINITE) {
            const DWORD waited = GetTickCount() - start;
            if (waited >= timeoutMs) return handle ? WaitForSingleObject(handle, 0) : WAIT_TIMEOUT;
            remaining = timeoutMs - waited;
        }
        const DWORD result = MsgWaitForMultipleObjects(count, &handle, FALSE, remaining, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + count) return result;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

HBITMAP CreateTopDownSection(int width, int height, BITMAPINFO* info, void** bits)
{
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;  // top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    if (info) *info = header;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = section ? pixels : nullptr;
    return section;
}

unsigned ProcessorCount()
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors ? info.dwNumberOfProcessors : 1;
}
