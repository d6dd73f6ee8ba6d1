#include "common/text.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

template <typename Char>
size_t CopyUnits(Char* destination, size_t capacity, const Char* source)
{
    if (capacity == 0) return 0;
    size_t length = 0;
    if (source) {
        while (length + 1 < capacity && source[length] != Char{}) {
            destination[length] = source[length];
            ++length;
        }
    }
    destination[length] = Char{};
    return length;
}

size_t LengthWithin(const char* text, size_t limit) { return strnlen(text, limit); }
size_t LengthWithin(const wchar_t* text, size_t limit) { return wcsnlen(text, limit); }

}  // namespace

size_t WholeCharactersIn(const wchar_t* text, size_t length)
{
    return length > 0 && IsHighSurrogate(text[length - 1]) ? length - 1 : length;
}

size_t CopyBounded(char* destination, size_t capacity, const char* source)
{
    return CopyUnits(destination, capacity, source);
}

size_t CopyBounded(wchar_t* destination, size_t capacity, const wchar_t* source)
{
    size_t length = CopyUnits(destination, capacity, source);
    // Cut short after the first half of a pair: the half goes too.
    if (source && source[length] != L'\0' && length > 0 && IsHighSurrogate(destination[length - 1]))
        destination[--length] = L'\0';
    return length;
}

size_t AppendBounded(char* destination, size_t capacity, const char* source)
{
    if (capacity == 0) return 0;
    const size_t used = LengthWithin(destination, capacity - 1);
    return used + CopyBounded(destination + used, capacity - used, source);
}

size_t AppendBounded(wchar_t* destination, size_t capacity, const wchar_t* source)
{
    if (capacity == 0) return 0;
    const size_t used = LengthWithin(destination, capacity - 1);
    return used + CopyBounded(destination + used, capacity - used, source);
}

size_t FormatBounded(char* destination, size_t capacity, const char* format, ...)
{
    if (capacity == 0) return 0;
    va_list args;
    va_start(args, format);
    const int written = vsnprintf(destination, capacity, format, args);
    va_end(args);
    if (written < 0) {
        destination[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(written) < capacity ? static_cast<size_t>(written) : capacity - 1;
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
