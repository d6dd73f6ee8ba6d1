#include "common/language.h"

#include <cstdarg>
#include <cwchar>
#include <initializer_list>

#include "common/instance.h"
#include "common/system.h"
#include "common/text.h"

namespace {

constexpr LANGID kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr UINT kStringsPerBlock = 16;
constexpr DWORD kMuiLanguageName = 0x8;  // MUI_LANGUAGE_NAME

// The language chosen (null: the system's), and the one whose resources are looked up by hand
// because the system does not take it as the thread's (0: the system picks). GUI thread only.
const ShippedLanguage* chosenLanguage;
LANGID bridgedLanguage;

HMODULE ResourceModule() { return appInstance ? appInstance : GetModuleHandleW(nullptr); }

// The resource in the language in force.
HRSRC FindInLanguage(LPCWSTR type, LPCWSTR name)
{
    HMODULE module = ResourceModule();
    if (!bridgedLanguage) return FindResourceW(module, name, type);
    const LANGID language = bridgedLanguage;
    const LANGID tries[] = {language, MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL), kEnglishLanguage};
    for (LANGID tried : tries)
        if (HRSRC found = FindResourceExW(module, type, name, tried)) return found;
    return FindResourceW(module, name, type);
}

const void* ResourceData(HRSRC found, DWORD* size = nullptr)
{
    if (!found) return nullptr;
    HMODULE module = ResourceModule();
    if (size) *size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    return loaded ? LockResource(loaded) : nullptr;
}

// String `id` of a block of sixteen: each a count of UTF-16 units and the units (no terminator).
std::wstring StringInBlock(HRSRC block, UINT id)
{
    DWORD size = 0;
    const auto* unit = static_cast<const wchar_t*>(ResourceData(block, &size));
    if (!unit) return {};
    const wchar_t* end = unit + size / sizeof(wchar_t);
    for (UINT skip = id % kStringsPerBlock; skip > 0 && unit < end; --skip) unit += 1 + *unit;
    if (unit >= end || unit + 1 + *unit > end) return {};
    return std::wstring(unit + 1, *unit);
}

std::wstring FormatWith(const wchar_t* format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    _vsnwprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

const ShippedLanguage* ShippedLanguageNamed(const wchar_t* locale)
{
    for (const ShippedLanguage& language : kShippedLanguages)
        if (locale && EqualIgnoringCaseOrdinal(locale, language.locale)) return &language;
    return nullptr;
}

const ShippedLanguage* ShippedLanguageFor(LANGID language)
{
    for (const ShippedLanguage& shipped : kShippedLanguages) {
        const bool speaks = shipped.countryOnly ? language == shipped.id
                                                : PRIMARYLANGID(language) == PRIMARYLANGID(shipped.id);
        if (speaks) return &shipped;
    }
    return nullptr;
}

void UseLanguage(const ShippedLanguage* language)
{
    using SetPreferredFunction = BOOL(WINAPI*)(DWORD, const wchar_t*, ULONG*);
    using SetThreadFunction = LANGID(WINAPI*)(LANGID);
    using GetThreadFunction = LANGID(WINAPI*)();
    // kernel32 is loaded in every process: looked up once.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    static const auto setPreferred = ProcedureOf<SetPreferredFunction>(kernel, "SetThreadPreferredUILanguages");
    static const auto setThread = ProcedureOf<SetThreadFunction>(kernel, "SetThreadUILanguage");
    static const auto getThread = ProcedureOf<GetThreadFunction>(kernel, "GetThreadUILanguage");
    chosenLanguage = language;
    // A list of names, each ended by a null, and a null after the last; none clears the list.
    std::wstring names = language ? std::wstring(language->locale).append(2, L'\0') : std::wstring();
    if (setPreferred) setPreferred(kMuiLanguageName, language ? names.c_str() : nullptr, nullptr);
    const LANGID wanted = language ? language->id : GetUserDefaultUILanguage();
    if (setThread) setThread(wanted);
    const bool taken = !language || (setThread && getThread && getThread() == wanted);
    bridgedLanguage = taken ? 0 : wanted;
}

const ShippedLanguage* ChosenLanguage() { return chosenLanguage; }

LANGID UiLanguage() { return chosenLanguage ? chosenLanguage->id : GetUserDefaultUILanguage(); }

std::wstring LoadText(UINT id)
{
    const LPCWSTR block = MAKEINTRESOURCEW(id / kStringsPerBlock + 1);
    std::wstring text = StringInBlock(FindInLanguage(RT_STRING, block), id);
    // A language's block may lack a string the English one has; the shared strings are neutral.
    for (LANGID language : {kEnglishLanguage, kNeutralLanguage})
        if (text.empty()) text = LoadTextIn(language, id);
    return text;
}

std::wstring LoadTextIn(LANGID language, UINT id)
{
    const LPCWSTR block = MAKEINTRESOURCEW(id / kStringsPerBlock + 1);
    return StringInBlock(FindResourceExW(ResourceModule(), RT_STRING, block, language), id);
}

std::wstring PlaceholdersOf(const std::wstring& format)
{
    std::wstring found;
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != L'%') continue;
        if (at + 1 < format.size() && format[at + 1] == L'%') {
            ++at;
            continue;
        }
        // Flags, width and precision, then the size and the conversion.
        size_t end = at + 1;
        while (end < format.size() && wcschr(L"-+ #0123456789.*", format[end])) ++end;
        const size_t from = end;
        while (end < format.size() && wcschr(L"hlLqjzt", format[end])) ++end;
        if (end < format.size()) ++end;
        // A "%" that ends the text converts nothing: kept as "%", so a translation gaining one differs.
        found.append(end > from ? format.substr(from, end - from) : L"%").append(L" ");
        at = end - 1;
    }
    return found;
}

std::wstring FormatText(UINT id, ...)
{
    std::wstring format = LoadText(id);
    const std::wstring english = LoadTextIn(kEnglishLanguage, id);
    if (!english.empty() && PlaceholdersOf(format) != PlaceholdersOf(english)) format = english;
    va_list args;
    va_start(args, id);
    std::wstring text = FormatWith(format.c_str(), args);
    va_end(args);
    return text;
}

HMENU LoadMenuInLanguage(UINT id)
{
    const void* menu = ResourceData(FindInLanguage(RT_MENU, MAKEINTRESOURCEW(id)));
    return menu ? LoadMenuIndirectW(menu) : nullptr;
}

const DLGTEMPLATE* DialogTemplateInLanguage(UINT id)
{
    return static_cast<const DLGTEMPLATE*>(ResourceData(FindInLanguage(RT_DIALOG, MAKEINTRESOURCEW(id))));
}

INT_PTR ShowDialogInLanguage(UINT id, HWND owner, DLGPROC procedure, LPARAM parameter)
{
    const DLGTEMPLATE* dialog = DialogTemplateInLanguage(id);
    return dialog ? DialogBoxIndirectParamW(ResourceModule(), dialog, owner, procedure, parameter) : -1;
}

HWND CreateDialogInLanguage(UINT id, HWND owner, DLGPROC procedure, LPARAM parameter)
{
    const DLGTEMPLATE* dialog = DialogTemplateInLanguage(id);
    return dialog ? CreateDialogIndirectParamW(ResourceModule(), dialog, owner, procedure, parameter) : nullptr;
}
