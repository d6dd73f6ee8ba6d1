#include "windows/procinfo.h"

#include <psapi.h>

#include <cstdio>
#include <cstring>

#include "common/owners.h"
#include "common/text.h"
#include "windows/windowlist.h"

namespace {

constexpr size_t kWorkBuffer = 261;
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

void FormatProcessInfo(const WindowEntry* entry, char* output, size_t size)
{
    if (!output || size == 0) return;
    char work[kWorkBuffer] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(entry->hwnd, &processId);
    // Memory counters also need read access on older systems; without it the rest still comes.
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) process.reset(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));

    if (GetWindowTextA(entry->hwnd, work, sizeof work) <= 0) work[0] = '\0';
    FormatBounded(output, size, " %s  \r\n\r\n", work);
    if (!process) return;

    memset(work, 0, sizeof work);
    if (GetProcessImageFileNameA(process.get(), work, sizeof work - 1) > 0) {
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
    if (GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
        AppendMemoryLine(" Virtual Memory Usage: ", counters.PagefileUsage, " KB \r\n", output, size);
        AppendMemoryLine(" Total Memory Usage: ", counters.WorkingSetSize, " KB ", output, size);
    }
}
