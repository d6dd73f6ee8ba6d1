// The process information the InfoTip shows for a tile: title, executable, running time, memory.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Opens the process for reading its facts with PROCESS_QUERY_LIMITED_INFORMATION, which elevated
// and protected processes grant too; where the system does not know that right (XP), with
// PROCESS_QUERY_INFORMATION. Null when refused.
HANDLE OpenProcessForQuery(DWORD processId);
// The DOS path of the process's executable (QueryFullProcessImageNameW, looked up at run time:
// Vista on), read into a buffer that grows as far as kLongPathCapacity; empty where the system
// lacks the call or it fails.
std::wstring QueryFullImagePath(HANDLE process);
// The path of the process's executable: the DOS path where it can be had, else the NT path
// (\Device\HarddiskVolume1\...), which ends in the same file name. Empty when neither is read.
std::wstring ReadImagePath(HANDLE process);
// The file-name part of a path: after its last backslash (the whole path when it has none).
const wchar_t* FileNamePart(const wchar_t* path);

// Fills the buffer (always terminated, cut at its size) with the pieces that can be had: the
// window's title always; file, running time and memory of its program's process (ProgramOfWindow)
// as far as that process lets them be read.
void FormatProcessInfo(HWND window, wchar_t* output, size_t size);
// Appends the digits to the output with a comma before every group of three from the right.
void GroupThousands(const wchar_t* digits, wchar_t* output, size_t size);
// A count as the user's locale writes numbers: its digit grouping and separator, no decimals ("0" for none)
// (GetNumberFormatEx, looked up at run time); where the system lacks it, grouped by GroupThousands.
std::wstring CountText(unsigned long long count);
// NUMBERFMT's Grouping for a locale's LOCALE_SGROUPING ("3;0": 3, "3;2;0": 32, "3": 30).
UINT NumberGrouping(const wchar_t* localeGrouping);
// The running-time line for a process that started `minutes` whole minutes ago.
void FormatDurationLine(unsigned long long minutes, wchar_t* output, size_t size);
