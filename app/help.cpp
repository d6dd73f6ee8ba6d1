#include "app/help.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/app.h"
#include "common/text.h"

namespace {

constexpr size_t kMessageCapacity = 400;

}  // namespace

size_t FolderPartLength(const char* path)
{
    size_t length = 0;
    for (size_t at = 0; path[at] != '\0'; ++at)
        if (path[at] == '\\' || path[at] == '/') length = at + 1;
    return length;
}

bool HelpPagePathFor(const char* modulePath, char* path, size_t capacity)
{
    if (capacity == 0) return false;
    path[0] = '\0';
    const size_t folder = FolderPartLength(modulePath);
    if (folder + strlen(kHelpPageName) + 1 > capacity) return false;
    memcpy(path, modulePath, folder);
    CopyBounded(path + folder, capacity - folder, kHelpPageName);
    return true;
}

void OpenHelpPage()
{
    char module[kPathCapacity] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    if (length == 0 || length >= sizeof module) module[0] = '\0';

    char page[kPathCapacity] = {};
    if (HelpPagePathFor(module, page, sizeof page)) {
        const DWORD attributes = GetFileAttributesA(page);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ShellExecuteA(GetShellWindow(), "open", page, nullptr, nullptr, SW_SHOW);
            return;
        }
    }
    // Built from the folder and the name, so a path too long to open is still named whole.
    char text[kMessageCapacity];
    FormatBounded(text, sizeof text, "The help page was not found. Sorvane expected it here:\n\n%.*s%s",
                  static_cast<int>(FolderPartLength(module)), module, kHelpPageName);
    MessageBoxA(nullptr, text, appTitle, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}
