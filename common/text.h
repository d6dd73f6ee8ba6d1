// Bounded string operations: every result is cut at the buffer's capacity and always terminated.
#pragma once

#include <cstdarg>
#include <cstddef>

// A path of the system's classic length (MAX_PATH and its terminator): paths, file names, the
// exclusion list's entries and the texts built around them.
constexpr size_t kPathCapacity = 261;
// A window class name and its terminator.
constexpr size_t kClassBuffer = 64;

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
