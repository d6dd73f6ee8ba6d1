#include "common/text.h"

#include <cstdio>
#include <cwchar>

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
