#include "app/help.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/app.h"
#include "resources/resource.h"
#include "common/language.h"
#include "common/system.h"
#include "common/text.h"

size_t FolderPartLength(const wchar_t* path)
{
    size_t length = 0;
    for (size_t at = 0; path[at] != L'\0'; ++at)
        if (path[at] == L'\\' || path[at] == L'/') length = at + 1;
    return length;
}

bool HelpPagePathFor(const wchar_t* modulePath, wchar_t* path, size_t capacity, const wchar_t* pageName)
{
    if (capacity == 0) return false;
    path[0] = L'\0';
    const size_t folder = FolderPartLength(modulePath);
    if (folder + wcslen(pageName) + 1 > capacity) return false;
    wmemcpy(path, modulePath, folder);
    CopyBounded(path + folder, capacity - folder, pageName);
    return true;
}

std::wstring HelpPageNameFor(LANGID language)
{
    const ShippedLanguage* shipped = ShippedLanguageFor(language);
    if (!shipped || !shipped->help) return kHelpPageName;
    return std::wstring(L"Sorvane.").append(shipped->help).append(L".html");
}

namespace {

// The shell may hand the page to a COM handler (a browser registered for the type): it asks for COM
// on the calling thread. Loaded at Help's first use (an idle Sorvane holds no COM) and kept.
void OpenWithShell(const wchar_t* path)
{
    static const HMODULE ole = LoadSystemLibrary(L"ole32.dll");
    const auto initialise = ProcedureOf<decltype(&CoInitializeEx)>(ole, "CoInitializeEx");
    const auto uninitialise = ProcedureOf<decltype(&CoUninitialize)>(ole, "CoUninitialize");
    // Already initialised on this thread (for a screen reader) counts too: S_FALSE, balanced below.
    const bool initialised =
        initialise && uninitialise &&
        SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    ShellExecuteW(GetShellWindow(), L"open", path, nullptr, nullptr, SW_SHOW);
    if (initialised) uninitialise();
}

}  // namespace

void OpenHelpPage()
{
    // Beside the executable, whatever the length of its path and the characters of its folder.
    const std::wstring module = ExecutablePath();
    for (const std::wstring& name : {HelpPageNameFor(UiLanguage()), std::wstring(kHelpPageName)}) {
        std::vector<wchar_t> page(module.size() + name.size() + 1, L'\0');
        if (module.empty() || !HelpPagePathFor(module.c_str(), page.data(), page.size(), name.c_str())) continue;
        const DWORD attributes = GetFileAttributesW(page.data());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            OpenWithShell(page.data());
            return;
        }
    }
    // Built from the folder and the name, so a path too long to open is still named whole.
    std::wstring expected(module, 0, FolderPartLength(module.c_str()));
    expected += kHelpPageName;
    const std::wstring text = FormatText(IDS_HELP_NOT_FOUND, expected.c_str());
    MessageBoxW(nullptr, text.c_str(), appTitle, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}
