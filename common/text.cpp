#include "common/text.h"

#include <cstdio>
#include <cstring>

size_t CopyBounded(char* destination, size_t capacity, const char* source)
{
    if (capacity == 0) return 0;
    size_t length = 0;
    if (source) {
        while (length + 1 < capacity && source[length] != '\0') {
            destination[length] = source[length];
            ++length;
        }
    }
    destination[length] = '\0';
    return length;
}

size_t AppendBounded(char* destination, size_t capacity, const char* source)
{
    if (capacity == 0) return 0;
    size_t used = strnlen(destination, capacity - 1);
    return used + CopyBounded(destination + used, capacity - used, source);
}

size_t FormatBounded(char* destination, size_t capacity, const char* format, ...)
{
    if (capacity == 0) return 0;
    va_list args;
    va_start(args, format);
    int written = vsnprintf(destination, capacity, format, args);
    va_end(args);
    if (written < 0) {
        destination[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(written) < capacity ? static_cast<size_t>(written) : capacity - 1;
}
