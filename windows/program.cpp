#include "windows/program.h"

#include <propsys.h>

#include <cwchar>

#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"
#include "windows/collect.h"
#include "windows/icons.h"
#include "windows/procinfo.h"

namespace {

// PKEY_AppUserModel_ID: the id a packaged app's frame carries for its app.
constexpr PROPERTYKEY kAppUserModelIdKey{
    {0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, 5};
// The longest AppUserModelID the system accepts.
constexpr size_t kAppUserModelIdMax = 128;

// The window's AppUserModelID from its property store (Windows 7 on); empty where the system
// lacks the call or the window carries none.
std::wstring ReadAppUserModelId(HWND window)
{
    using GetStoreFunction = HRESULT(WINAPI*)(HWND, REFIID, void**);
    using ClearFunction = HRESULT(WINAPI*)(PROPVARIANT*);
    // Looked up at the first frame, and kept; ole32 frees the value's text.
    static const GetStoreFunction getStore =
        ProcedureOf<GetStoreFunction>(LoadSystemLibrary(L"shell32.dll"), "SHGetPropertyStoreForWindow");
    static const ClearFunction clear =
        getStore ? ProcedureOf<ClearFunction>(LoadSystemLibrary(L"ole32.dll"), "PropVariantClear") : nullptr;
    if (!getStore || !clear) return {};
    IPropertyStore* store = nullptr;
    if (FAILED(getStore(window, __uuidof(IPropertyStore), reinterpret_cast<void**>(&store))) || !store) return {};
    std::wstring id;
    PROPVARIANT value{};
    if (SUCCEEDED(store->GetValue(kAppUserModelIdKey, &value))) {
        if (value.vt == VT_LPWSTR && value.pwszVal)
            id.assign(value.pwszVal, WholeCharactersIn(value.pwszVal, wcsnlen(value.pwszVal, kAppUserModelIdMax)));
        clear(&value);
    }
    store->Release();
    return id;
}

std::wstring PathOfProcess(DWORD processId, ProgramPaths* paths)
{
    if (!processId) return {};
    if (paths)
        for (const auto& known : *paths)
            if (known.first == processId) return known.second;
    UniqueHandle process(OpenProcessForQuery(processId));
    std::wstring path = process ? ReadImagePath(process.get()) : std::wstring();
    if (paths) paths->emplace_back(processId, path);
    return path;
}

}  // namespace

WindowProgram ChooseProgram(const ProgramFacts& facts)
{
    WindowProgram program;
    program.processId = facts.windowProcess;
    if (!facts.storeAppFrame) return program;
    if (facts.hostedProcess) program.processId = facts.hostedProcess;
    if (facts.appUserModelId) program.appUserModelId = facts.appUserModelId;
    program.knownByIdOnly = !facts.hostedProcess && !program.appUserModelId.empty();
    return program;
}

bool SameApplication(const wchar_t* path, const wchar_t* other)
{
    return path && other && path[0] != L'\0' && EqualIgnoringCaseOrdinal(path, other);
}

bool SameProgram(const WindowProgram& a, const WindowProgram& b)
{
    if (!a.appUserModelId.empty() && !b.appUserModelId.empty())
        return EqualIgnoringCaseOrdinal(a.appUserModelId.c_str(), b.appUserModelId.c_str());
    // A frame known by its app's id only stands in the host's process: only an id tells its app.
    if (a.knownByIdOnly || b.knownByIdOnly) return false;
    return (a.processId != 0 && a.processId == b.processId) || SameApplication(a.path.c_str(), b.path.c_str());
}

bool IsStoreAppFrameClass(const wchar_t* className) { return wcscmp(className, kStoreAppFrameClass) == 0; }

WindowProgram ProgramOfWindow(HWND window, ProgramPaths* paths)
{
    wchar_t className[kClassBuffer] = {};
    GetClassNameW(window, className, kClassBuffer);
    ProgramFacts facts{IsStoreAppFrameClass(className), ProcessOf(window), 0, nullptr};
    std::wstring id;
    if (facts.storeAppFrame) {
        if (HWND hosted = FindWindowExW(window, nullptr, kHostedAppClass, nullptr)) facts.hostedProcess = ProcessOf(hosted);
        // Read for every frame: a suspended app's frame, known by its id only, is the same app as its
        // running frames.
        id = ReadAppUserModelId(window);
        if (!id.empty()) facts.appUserModelId = id.c_str();
    }
    WindowProgram program = ChooseProgram(facts);
    program.path = PathOfProcess(program.processId, paths);
    return program;
}
