#include "windows/collect.h"

#include <psapi.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"
#include "windows/icons.h"
#include "windows/procinfo.h"
#include "windows/windowlist.h"

const wchar_t* const kOfficeFramePrefixes[kOfficeFrameCount] = {
    L"Microsoft Excel", L"Microsoft PowerPoint", L"Microsoft Project"};
DWORD unlistedProcessId;

namespace {

// DWMWA_CLOAKED: a DWORD, non-zero while the window is cloaked.
constexpr DWORD kDwmCloakedAttribute = 14;

bool ClientLargerThanOnePixel(HWND window)
{
    RECT client{};
    if (!GetClientRect(window, &client)) return false;
    return client.right - client.left > 1 && client.bottom - client.top > 1;
}

}  // namespace

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

bool IsExcludedName(const wchar_t* exclusionText, const wchar_t* fileName)
{
    if (!exclusionText || !fileName || fileName[0] == L'\0') return false;
    const wchar_t* line = exclusionText;
    while (*line) {
        const wchar_t* end = wcschr(line, L'\n');
        if (!end) end = line + wcslen(line);
        // The file-name part of the entry: after its last backslash or slash.
        const wchar_t* name = line;
        for (const wchar_t* at = line; at < end; ++at)
            if (*at == L'\\' || *at == L'/') name = at + 1;
        if (EqualIgnoringCaseOrdinal(name, static_cast<size_t>(end - name), fileName, wcslen(fileName))) return true;
        line = *end ? end + 1 : end;
    }
    return false;
}

void GetProcessImageName(HWND window, wchar_t* buffer, size_t capacity, bool fileNameOnly)
{
    if (capacity == 0) return;
    UniqueHandle process(OpenProcessForQuery(ProcessOf(window)));
    if (!process) return;
    const std::wstring image = ReadImagePath(process.get());
    if (image.empty()) return;
    CopyBounded(buffer, capacity, fileNameOnly ? FileNamePart(image.c_str()) : image.c_str());
}

bool PassesListingRules(const ListingFacts& facts)
{
    if (!facts.visible && !facts.minimized) return false;
    if (facts.cloaked) return false;
    // Tool windows (floating palettes, tooltips) and the shell's desktop are never switch targets.
    if (facts.toolWindow || facts.shellWindow || facts.ownProcess) return false;

    bool listable = false;
    const bool storeAppFrame = IsStoreAppFrameClass(facts.className);
    if ((facts.minimized || facts.clientLargerThanOnePixel) && (facts.hasIcon || storeAppFrame)) listable = true;

    if (wcscmp(facts.title, L"File Download") == 0 || wcsstr(facts.title, L"Completed")) listable = true;
    if (facts.title[0] == L'\0') return false;
    if (facts.exclusionText && (IsExcludedName(facts.exclusionText, facts.executableName) ||
                                IsExcludedName(facts.exclusionText, facts.programName)))
        return false;
    return listable;
}

bool IsWindowCloaked(HWND window)
{
    using GetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    // Loaded once and kept for the life of the process.
    static const GetAttributeFunction getAttribute =
        ProcedureOf<GetAttributeFunction>(LoadSystemLibrary(L"dwmapi.dll"), "DwmGetWindowAttribute");
    if (!getAttribute) return false;
    DWORD cloaked = 0;
    return getAttribute(window, kDwmCloakedAttribute, &cloaked, sizeof cloaked) == S_OK && cloaked != 0;
}

bool IsListable(HWND window, const wchar_t* exclusionText, FoundIcon* found, IconStandIns* standIns)
{
    wchar_t className[kClassBuffer] = {};
    wchar_t title[kTitleBuffer] = {};
    wchar_t executable[kPathCapacity] = {};
    ListingFacts facts{};
    facts.className = className;
    facts.title = title;
    facts.executableName = executable;
    facts.minimized = IsIconic(window) != FALSE;
    facts.visible = IsWindowVisible(window) != FALSE;
    if (!facts.visible && !facts.minimized) return false;  // most windows: nothing more to ask

    facts.toolWindow = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    facts.shellWindow = window == GetShellWindow();
    facts.ownProcess = unlistedProcessId != 0 && ProcessOf(window) == unlistedProcessId;
    facts.cloaked = IsWindowCloaked(window);
    facts.clientLargerThanOnePixel = ClientLargerThanOnePixel(window);
    GetClassNameW(window, className, kClassBuffer);
    ReadWindowTitle(window, title, kTitleBuffer);

    // The icon probe (a message to the window) and the process's name cost the most: asked only
    // when the window would be listed with an icon and without exclusion.
    facts.hasIcon = true;
    if (!PassesListingRules(facts)) return false;
    // The icon found is the one the tile will draw: kept for it rather than asked for again.
    bool owned = false;
    HICON icon =
        facts.minimized || facts.clientLargerThanOnePixel ? FindWindowIcon(window, standIns, &owned) : nullptr;
    UniqueIcon ownedIcon(owned ? icon : nullptr);
    facts.hasIcon = icon != nullptr;
    std::wstring programPath;  // holds the text facts.programName points into
    if (exclusionText) {
        GetProcessImageName(window, executable, kPathCapacity, true);
        // A packaged app's frame is excluded by its app's name as well as by its host's.
        if (IsStoreAppFrameClass(className)) {
            programPath = ProgramOfWindow(window).path;
            facts.programName = FileNamePart(programPath.c_str());
        }
        facts.exclusionText = exclusionText;
    }
    if (!PassesListingRules(facts)) return false;
    if (found) {
        found->icon = icon;
        found->owned = ownedIcon.release() != nullptr;
    }
    return true;
}

namespace {

struct Collection {
    WindowList* list;
    const wchar_t* exclusionText;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    const auto* collection = reinterpret_cast<const Collection*>(parameter);
    // A record that cannot be had skips the window; the enumeration goes on.
    FoundIcon icon{};
    if (!IsListable(window, collection->exclusionText, &icon, &collection->list->standIns)) return TRUE;
    UniqueIcon owned(icon.owned ? icon.icon : nullptr);
    if (WindowEntry* entry = AppendWindowEntry(*collection->list, window)) {
        entry->icon = icon.icon;
        entry->iconOwned = owned.release() != nullptr;
    }
    return TRUE;
}

}  // namespace

void CollectWindows(WindowList& list, const wchar_t* exclusionText)
{
    list.standIns.known.clear();  // kept until the list is cleared: its entries draw these icons
    Collection collection{&list, exclusionText};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&collection));
}

DWORD FindProcessByTitle(const WindowList& list, const wchar_t* text)
{
    DWORD found = 0;
    for (WindowEntry* entry = list.head; entry; entry = entry->next) {
        wchar_t title[kTitleBuffer] = {};
        ReadWindowTitle(entry->hwnd, title, kTitleBuffer);
        if (wcsstr(title, text)) found = ProcessOf(entry->hwnd);
    }
    return found;
}

unsigned CountWindowsOfProcess(const WindowList& list, DWORD processId)
{
    unsigned count = 0;
    for (WindowEntry* entry = list.head; entry; entry = entry->next)
        if (ProcessOf(entry->hwnd) == processId) ++count;
    return count;
}

void RemoveOfficeFrame(WindowList& list, const wchar_t* prefix, OfficeFrameSlot* slot)
{
    const size_t prefixLength = wcslen(prefix);
    WindowEntry* entry = list.head;
    while (entry) {
        WindowEntry* next = entry->next;
        wchar_t title[kTitleBuffer] = {};
        ReadWindowTitle(entry->hwnd, title, kTitleBuffer);
        if (wcsncmp(title, prefix, prefixLength) == 0) {
            UnlinkWindowEntry(list, entry);
            slot->frameHwnd = entry->hwnd;
            GetWindowRect(entry->hwnd, &slot->frameRect);
            ReleaseWindowEntry(list, entry);
        }
        entry = next;
    }
}

void MergeOfficeFrames(WindowList& list, OfficeFrameSlots& frames)
{
    for (size_t row = 0; row < kOfficeFrameCount; ++row) {
        frames[row].processId = FindProcessByTitle(list, kOfficeFramePrefixes[row]);
        if (CountWindowsOfProcess(list, frames[row].processId) > 1)
            RemoveOfficeFrame(list, kOfficeFramePrefixes[row], &frames[row]);
    }
}

bool SameGroup(const GroupFacts& a, const GroupFacts& b)
{
    if (a.storeAppFrame || b.storeAppFrame) return a.storeAppFrame && b.storeAppFrame && SameProgram(a.program, b.program);
    return EqualIgnoringCaseOrdinal(a.className.c_str(), b.className.c_str());
}

void GroupByApplication(WindowList& list)
{
    const unsigned count = list.count;
    if (count == 0 || !list.heap) return;
    auto** order = static_cast<WindowEntry**>(HeapAlloc(list.heap, 0, count * sizeof(WindowEntry*)));
    if (!order) return;  // without memory the list keeps its Z order
    unsigned filled = 0;
    for (WindowEntry* entry = list.head; entry && filled < count; entry = entry->next)
        order[filled++] = entry;

    // Each window's facts, read once, in the order of `order`.
    std::vector<GroupFacts> facts(filled);
    ProgramPaths paths;
    for (unsigned i = 0; i < filled; ++i) {
        wchar_t className[kClassBuffer] = {};
        GetClassNameW(order[i]->hwnd, className, kClassBuffer);
        facts[i].className = className;
        facts[i].storeAppFrame = IsStoreAppFrameClass(className);
        if (facts[i].storeAppFrame) facts[i].program = ProgramOfWindow(order[i]->hwnd, &paths);
    }
    for (unsigned i = 0; i < filled; ++i) {
        for (unsigned j = i + 1; j < filled; ++j) {
            if (SameGroup(facts[i], facts[j])) {
                if (j > i + 1) {
                    std::swap(order[i + 1], order[j]);
                    std::swap(facts[i + 1], facts[j]);
                }
                break;
            }
        }
    }

    for (unsigned i = 0; i < filled; ++i) {
        order[i]->prev = i > 0 ? order[i - 1] : nullptr;
        order[i]->next = i + 1 < filled ? order[i + 1] : nullptr;
    }
    list.head = order[0];
    list.tail = order[filled - 1];
    HeapFree(list.heap, 0, order);
}
