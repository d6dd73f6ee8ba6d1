#include "windows/icons.h"

#include <psapi.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/owners.h"
#include "common/platform.h"
#include "common/text.h"
#include "windows/procinfo.h"

bool useExecutableIcons = RunningUnderWine();

HICON QueryWindowIcon(HWND window)
{
    DWORD_PTR icon = 0;
    if (!SendMessageTimeoutW(window, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kIconQueryTimeoutMs, &icon))
        return nullptr;
    return reinterpret_cast<HICON>(icon);
}

HICON QueryClassIcon(HWND window)
{
    return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
}

namespace {

HICON ExtractExecutableIcon(DWORD processId)
{
    UniqueHandle process(OpenProcessForQuery(processId));
    std::wstring path = QueryFullImagePath(process.get());
    if (path.empty()) {
        // Before Vista: the module's path, which needs read access as well.
        process.reset(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
        wchar_t module[kPathCapacity] = {};
        if (!process || GetModuleFileNameExW(process.get(), nullptr, module, kPathCapacity) == 0) return nullptr;
        path = module;
    }
    HICON large = nullptr;
    if (ExtractIconExW(path.c_str(), 0, &large, nullptr, 1) == 0) return nullptr;
    return large;
}

// The first icon of the executable behind the window; null when none. *owned is set when the
// caller must destroy it: outside a listing; within one, the listing keeps it.
HICON ExecutableIcon(HWND window, IconStandIns* standIns, bool* owned)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (!processId) return nullptr;
    *owned = !standIns;
    if (!standIns) return ExtractExecutableIcon(processId);
    for (const IconStandIns::Known& known : standIns->known)
        if (known.processId == processId) return known.icon.get();
    standIns->known.push_back({processId, UniqueIcon(ExtractExecutableIcon(processId))});
    return standIns->known.back().icon.get();
}

}  // namespace

HICON FindWindowIcon(HWND window, IconStandIns* standIns, bool* owned)
{
    *owned = false;
    if (HICON icon = QueryClassIcon(window)) return icon;
    if (HICON icon = QueryWindowIcon(window)) return icon;
    // A Store app's frame is listed without an icon of its own: it gets the system's standard one.
    wchar_t className[kClassBuffer] = {};
    GetClassNameW(window, className, kClassBuffer);
    if (wcscmp(className, kStoreAppFrameClass) == 0)
        return LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    if (!useExecutableIcons) return nullptr;
    HICON icon = ExecutableIcon(window, standIns, owned);
    *owned = *owned && icon;
    return icon;
}
