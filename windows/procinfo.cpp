#include "windows/procinfo.h"

#include <psapi.h>

#include <cstdio>
#include <cstring>

#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"

namespace {

constexpr size_t kFigureBuffer = 20;
constexpr unsigned long long kTicksPerMinute = 600000000ull;  // 100-ns units

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Appends label, the size in kilobytes with thousands separators, and ending.
void AppendMemoryLine(const char* label, SIZE_T bytes, const char* ending, char* output, size_t size)
{
    char figure[kFigureBuffer] = {};
    char grouped[kFigureBuffer] = {};
    FormatBounded(figure, sizeof figure, "%d", static_cast<int>(bytes >> 10));
    GroupThousands(figure, grouped, sizeof grouped);
    AppendBounded(output, size, label);
    AppendBounded(output, size, grouped);
    AppendBounded(output, size, ending);
}

}  // namespace

HANDLE OpenProcessForQuery(DWORD processId)
{
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) return process;
    return OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
}

bool QueryFullImagePath(HANDLE process, char* buffer, DWORD capacity)
{
    using QueryFullName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    // kernel32 is loaded in every process: looked up once and kept.
    static const QueryFullName query =
        ProcedureOf<QueryFullName>(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    if (!query || !process || capacity == 0) return false;
    DWORD size = capacity;
    if (query(process, 0, buffer, &size) && size > 0 && size < capacity) return true;
    buffer[0] = '\0';
    return false;
}

bool ReadImagePath(HANDLE process, char* buffer, DWORD capacity)
{
    if (QueryFullImagePath(process, buffer, capacity)) return true;
    const DWORD length = process && capacity > 1 ? GetProcessImageFileNameA(process, buffer, capacity - 1) : 0;
    if (length == 0 || length >= capacity) {
        if (capacity > 0) buffer[0] = '\0';
        return false;
    }
    buffer[length] = '\0';
    return true;
}

void GroupThousands(const char* digits, char* output, size_t size)
{
    const size_t length = strnlen(digits, kFigureBuffer);
    const size_t lead = length % 3, groups = length / 3;
    char piece[4];
    for (size_t i = 0; i < lead; ++i) {
        FormatBounded(piece, sizeof piece, "%c", digits[i]);
        AppendBounded(output, size, piece);
    }
    for (size_t g = 0; g < groups; ++g) {
        if (g > 0 || lead > 0) AppendBounded(output, size, ",");
        const char* at = digits + lead + 3 * g;
        FormatBounded(piece, sizeof piece, "%c%c%c", at[0], at[1], at[2]);
        AppendBounded(output, size, piece);
    }
}

void FormatDurationLine(unsigned long long minutes, char* output, size_t size)
{
    if (minutes == 0) {
        CopyBounded(output, size, " Duration: less than 1 minute \r\n\r\n");
    } else if (minutes == 1) {
        CopyBounded(output, size, " Duration: 1 minute \r\n\r\n");
    } else if (minutes <= 59) {
        FormatBounded(output, size, " Duration: %lu minutes \r\n\r\n", static_cast<unsigned long>(minutes));
    } else {
        const int hours = static_cast<int>(minutes / 60), rest = static_cast<int>(minutes % 60);
        if (rest <= 1)
            FormatBounded(output, size, " Duration: %d hour %d minute \r\n\r\n", hours, rest);
        else if (hours == 1)
            FormatBounded(output, size, " Duration: %d hour %d minutes \r\n\r\n", hours, rest);
        else
            FormatBounded(output, size, " Duration: %d hours %d minutes \r\n\r\n", hours, rest);
    }
}

void FormatProcessInfo(HWND window, char* output, size_t size)
{
    if (!output || size == 0) return;
    char work[kPathCapacity] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // The least access that names the file and the running time; an elevated program grants it.
    UniqueHandle process(OpenProcessForQuery(processId));

    if (GetWindowTextA(window, work, sizeof work) <= 0) work[0] = '\0';
    FormatBounded(output, size, " %s  \r\n\r\n", work);
    if (!process) return;

    memset(work, 0, sizeof work);
    if (ReadImagePath(process.get(), work, sizeof work)) {
        const char* slash = strrchr(work, '\\');
        AppendBounded(output, size, " File: ");
        AppendBounded(output, size, slash ? slash + 1 : work);
        AppendBounded(output, size, " \r\n");
    }

    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        // A start in the future (the clock was set back) reads as just started.
        const unsigned long long start = Ticks(created), current = Ticks(now);
        const unsigned long long minutes = current > start ? (current - start) / kTicksPerMinute : 0;
        memset(work, 0, sizeof work);
        FormatDurationLine(minutes, work, sizeof work);
        AppendBounded(output, size, work);
    }

    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    bool memoryRead = GetProcessMemoryInfo(process.get(), &counters, sizeof counters) != FALSE;
    if (!memoryRead) {
        // Before Windows 7 the counters also need read access: asked for only now, and its
        // refusal leaves out the memory lines alone.
        UniqueHandle reader(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
        memoryRead = reader && GetProcessMemoryInfo(reader.get(), &counters, sizeof counters);
    }
    if (memoryRead) {
        AppendMemoryLine(" Virtual Memory Usage: ", counters.PagefileUsage, " KB \r\n", output, size);
        AppendMemoryLine(" Total Memory Usage: ", counters.WorkingSetSize, " KB ", output, size);
    }
}
