// Bounded string operations: every result is cut at the buffer's capacity and always terminated.
#pragma once

#include <cstdarg>
#include <cstddef>

// Copies at most capacity - 1 characters of source; returns the length copied.
size_t CopyBounded(char* destination, size_t capacity, const char* source);

// Appends to the text already in destination within the same capacity; returns the new length.
size_t AppendBounded(char* destination, size_t capacity, const char* source);

// snprintf that tolerates a zero capacity; returns the length written (after cutting).
#ifdef __MINGW_PRINTF_FORMAT
#define SORVANE_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define SORVANE_PRINTF_FORMAT printf
#endif
size_t FormatBounded(char* destination, size_t capacity, const char* format, ...)
    __attribute__((format(SORVANE_PRINTF_FORMAT, 3, 4)));
