#include "app/help.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/app.h"
#include "common/system.h"
#include "common/text.h"

size_t FolderPartLength(const wchar_t* path)
{
    size_t length = 0;
    for (size_t at = 0; path[at] != L'\0'; ++at)
        if (path[at] == L'\\' || path[at] == L'/') length = at + 1;
    return length;
}

bool HelpPagePathFor(const wchar_t* modulePath, wchar_t* path, size_t capacity)
{
    if (capacity == 0) return false;
    path[0] = L'\0';
    const size_t folder = FolderPartLength(modulePath);
    if (folder + wcslen(kHelpPageName) + 1 > capacity) return false;
    wmemcpy(path, modulePath, folder);
    CopyBounded(path + folder, capacity - folder, kHelpPageName);
    return true;
}

void OpenHelpPage()
{
    // Beside the executable, whatever the length of its path and the characters of its folder.
    const std::wstring module = ExecutablePath();
    std::vector<wchar_t> page(module.size() + wcslen(kHelpPageName) + 1, L'\0');
    if (!module.empty() && HelpPagePathFor(module.c_str(), page.data(), page.size())) {
        const DWORD attributes = GetFileAttributesW(page.data());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ShellExecuteW(GetShellWindow(), L"open", page.data(), nullptr, nullptr, SW_SHOW);
            return;
        }
    }
    // Built from the folder and the name, so a path too long to open is still named whole.
    std::wstring text = L"The help page was not found. Sorvane expected it here:\n\n";
    text.append(module, 0, FolderPartLength(module.c_str()));
    text += kHelpPageName;
    MessageBoxW(nullptr, text.c_str(), appTitle, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}
