#include "common/text.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cwchar>

#include "common/system.h"

namespace {

// CompareStringOrdinal's answer for texts that are the same.
constexpr int kCompareEqual = 2;  // CSTR_EQUAL

// The unit in capitals by the system's file-system table (not linguistic, the same in every
// locale); a unit without a capital stays as it is.
wchar_t CapitalOfUnit(wchar_t unit)
{
    wchar_t capital = unit;
    return LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &unit, 1, &capital, 1) == 1 ? capital : unit;
}

}  // namespace

size_t WholeCharactersIn(const wchar_t* text, size_t length)
{
    return length > 0 && IsHighSurrogate(text[length - 1]) ? length - 1 : length;
}

size_t CopyBounded(wchar_t* destination, size_t capacity, const wchar_t* source)
{
    if (capacity == 0) return 0;
    size_t length = 0;
    if (source) {
        while (length + 1 < capacity && source[length] != L'\0') {
            destination[length] = source[length];
            ++length;
        }
        // Cut short after the first half of a pair: the half goes too.
        if (source[length] != L'\0') length = WholeCharactersIn(destination, length);
    }
    destination[length] = L'\0';
    return length;
}

size_t AppendBounded(wchar_t* destination, size_t capacity, const wchar_t* source)
{
    if (capacity == 0) return 0;
    const size_t used = wcsnlen(destination, capacity - 1);
    return used + CopyBounded(destination + used, capacity - used, source);
}

size_t FormatBounded(wchar_t* destination, size_t capacity, const wchar_t* format, ...)
{
    if (capacity == 0) return 0;
    va_list args;
    va_start(args, format);
    // Gives -1 for a result that does not fit, and then leaves it unterminated.
    const int written = _vsnwprintf(destination, capacity - 1, format, args);
    va_end(args);
    destination[capacity - 1] = L'\0';
    if (written >= 0) return static_cast<size_t>(written);
    const size_t length = WholeCharactersIn(destination, wcsnlen(destination, capacity - 1));
    destination[length] = L'\0';
    return length;
}

bool EqualInCapitalsByUnit(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength)
{
    if (aLength != bLength) return false;
    for (size_t at = 0; at < aLength; ++at)
        if (a[at] != b[at] && CapitalOfUnit(a[at]) != CapitalOfUnit(b[at])) return false;
    return true;
}

bool EqualIgnoringCaseOrdinal(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength)
{
    if (!a) aLength = 0;
    if (!b) bLength = 0;
    if (aLength != bLength) return false;  // unit by unit: the lengths differ, the texts do
    if (aLength == 0) return true;
    using CompareOrdinalFunction = int(WINAPI*)(const wchar_t*, int, const wchar_t*, int, BOOL);
    // Vista and later; looked up once, in kernel32, which every process has loaded.
    static const CompareOrdinalFunction compareOrdinal =
        ProcedureOf<CompareOrdinalFunction>(GetModuleHandleW(L"kernel32.dll"), "CompareStringOrdinal");
    if (compareOrdinal && aLength <= INT_MAX) {
        const int length = static_cast<int>(aLength);
        return compareOrdinal(a, length, b, length, TRUE) == kCompareEqual;
    }
    return EqualInCapitalsByUnit(a, aLength, b, bLength);
}

bool EqualIgnoringCaseOrdinal(const wchar_t* a, const wchar_t* b)
{
    return EqualIgnoringCaseOrdinal(a, a ? wcslen(a) : 0, b, b ? wcslen(b) : 0);
}
