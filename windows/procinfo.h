// The process information the InfoTip shows for a tile: title, executable, running time, memory.
#pragma once

#include <windows.h>

#include <cstddef>

// Opens the process for reading its facts with PROCESS_QUERY_LIMITED_INFORMATION, which elevated
// and protected processes grant too; where the system does not know that right (XP), with
// PROCESS_QUERY_INFORMATION. Null when refused.
HANDLE OpenProcessForQuery(DWORD processId);
// The DOS path of the process's executable (QueryFullProcessImageNameA, looked up at run time:
// Vista on); false where the system lacks the call or it fails.
bool QueryFullImagePath(HANDLE process, char* buffer, DWORD capacity);
// The path of the process's executable: the DOS path where it can be had, else the NT path
// (\Device\HarddiskVolume1\...), which ends in the same file name. False when neither is read.
bool ReadImagePath(HANDLE process, char* buffer, DWORD capacity);

// Fills the buffer (always terminated, cut at its size) with the pieces that can be had: the
// title always; file, running time and memory as far as the process lets them be read.
void FormatProcessInfo(HWND window, char* output, size_t size);
// Appends the digits to the output with a comma before every group of three from the right.
void GroupThousands(const char* digits, char* output, size_t size);
// The running-time line for a process that started `minutes` whole minutes ago.
void FormatDurationLine(unsigned long long minutes, char* output, size_t size);
