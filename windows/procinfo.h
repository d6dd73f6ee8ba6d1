// The process information the InfoTip shows for a tile: title, executable, running time, memory.
#pragma once

#include <windows.h>

#include <cstddef>

struct WindowEntry;

// Fills the buffer (always terminated, cut at its size) with the pieces that can be had.
void FormatProcessInfo(const WindowEntry* entry, char* output, size_t size);
// Appends the digits to the output with a comma before every group of three from the right.
void GroupThousands(const char* digits, char* output, size_t size);
// The running-time line for a process that started `minutes` whole minutes ago.
void FormatDurationLine(unsigned long long minutes, char* output, size_t size);
