#include "windows/procinfo.h"

#include <psapi.h>

#include <cwchar>
#include <string>

#include "common/language.h"
#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"
#include "resources/resource.h"
#include "windows/program.h"

namespace {

constexpr size_t kFigureBuffer = 20;
constexpr unsigned long long kTicksPerMinute = 600000000ull;  // 100-ns units

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Appends a line of the tip: a blank, the text and the ending.
void AppendLine(const std::wstring& text, const wchar_t* ending, wchar_t* output, size_t size)
{
    AppendBounded(output, size, L" ");
    AppendBounded(output, size, text.c_str());
    AppendBounded(output, size, ending);
}

// Appends the line of string `id` with the size in kilobytes.
void AppendMemoryLine(UINT id, SIZE_T bytes, const wchar_t* ending, wchar_t* output, size_t size)
{
    AppendLine(FormatText(id, CountText(bytes >> 10).c_str()), ending, output, size);
}

}  // namespace

HANDLE OpenProcessForQuery(DWORD processId)
{
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) return process;
    return OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
}

std::wstring QueryFullImagePath(HANDLE process)
{
    using QueryFullName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    // kernel32 is loaded in every process: looked up once and kept.
    static const QueryFullName query =
        ProcedureOf<QueryFullName>(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW");
    if (!query || !process) return {};
    return ReadGrowingPath([&](wchar_t* buffer, DWORD capacity) -> size_t {
        DWORD size = capacity;
        return query(process, 0, buffer, &size) ? size : 0;
    });
}

std::wstring ReadImagePath(HANDLE process)
{
    std::wstring path = QueryFullImagePath(process);
    if (!path.empty() || !process) return path;
    return ReadGrowingPath([&](wchar_t* buffer, DWORD capacity) -> size_t {
        return GetProcessImageFileNameW(process, buffer, capacity);
    });
}

const wchar_t* FileNamePart(const wchar_t* path)
{
    const wchar_t* slash = wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

void GroupThousands(const wchar_t* digits, wchar_t* output, size_t size)
{
    const size_t length = wcsnlen(digits, kFigureBuffer);
    const size_t lead = length % 3, groups = length / 3;
    wchar_t piece[4] = {};
    for (size_t i = 0; i < lead; ++i) {
        piece[0] = digits[i];
        piece[1] = L'\0';
        AppendBounded(output, size, piece);
    }
    for (size_t g = 0; g < groups; ++g) {
        if (g > 0 || lead > 0) AppendBounded(output, size, L",");
        CopyBounded(piece, 4, digits + lead + 3 * g);
        AppendBounded(output, size, piece);
    }
}

UINT NumberGrouping(const wchar_t* localeGrouping)
{
    // "3;0" gives 3, "3;2;0" 32; without the closing ";0" the last group repeats no more: "3" gives 30.
    UINT grouping = 0;
    const wchar_t* at = localeGrouping;
    for (; at && *at; ++at)
        if (*at >= L'1' && *at <= L'9' && grouping < 100) grouping = grouping * 10 + (*at - L'0');
    const size_t length = localeGrouping ? wcslen(localeGrouping) : 0;
    const bool repeats = length >= 2 && wcscmp(localeGrouping + length - 2, L";0") == 0;
    return repeats || grouping == 0 ? grouping : grouping * 10;
}

std::wstring CountText(unsigned long long count)
{
    const std::wstring digits = std::to_wstring(count);
    using NumberFunction = int(WINAPI*)(const wchar_t*, DWORD, const wchar_t*, const NUMBERFMTW*, wchar_t*, int);
    using LocaleFunction = int(WINAPI*)(const wchar_t*, LCTYPE, wchar_t*, int);
    // Vista on; kernel32 is loaded in every process. Null names the user's locale.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    static const auto formatNumber = ProcedureOf<NumberFunction>(kernel, "GetNumberFormatEx");
    static const auto localeInfo = ProcedureOf<LocaleFunction>(kernel, "GetLocaleInfoEx");
    wchar_t grouping[10] = {}, separator[5] = {}, point[5] = {}, text[kFigureBuffer * 2] = {};
    if (formatNumber && localeInfo && localeInfo(nullptr, LOCALE_SGROUPING, grouping, std::size(grouping)) > 0 &&
        localeInfo(nullptr, LOCALE_STHOUSAND, separator, std::size(separator)) > 0 &&
        localeInfo(nullptr, LOCALE_SDECIMAL, point, std::size(point)) > 0) {
        NUMBERFMTW rule{0, 1, NumberGrouping(grouping), point, separator, 1};
        if (formatNumber(nullptr, 0, digits.c_str(), &rule, text, std::size(text)) > 0) return text;
    }
    GroupThousands(digits.c_str(), text, std::size(text));
    return text;
}

void FormatDurationLine(unsigned long long minutes, wchar_t* output, size_t size)
{
    if (size == 0) return;
    output[0] = L'\0';
    std::wstring line;
    if (minutes == 0) {
        line = LoadText(IDS_INFO_UNDER_A_MINUTE);
    } else if (minutes == 1) {
        line = LoadText(IDS_INFO_ONE_MINUTE);
    } else if (minutes <= 59) {
        line = FormatText(IDS_INFO_MINUTES, CountText(minutes).c_str());
    } else {
        const std::wstring hours = CountText(minutes / 60), rest = CountText(minutes % 60);
        const UINT form = minutes % 60 <= 1 ? IDS_INFO_HOURS_MINUTE
                          : minutes / 60 == 1 ? IDS_INFO_HOUR_MINUTES
                                              : IDS_INFO_HOURS_MINUTES;
        line = FormatText(form, hours.c_str(), rest.c_str());
    }
    AppendLine(line, L" \r\n\r\n", output, size);
}

void FormatProcessInfo(HWND window, wchar_t* output, size_t size)
{
    if (!output || size == 0) return;
    wchar_t work[kPathCapacity] = {};
    // The program behind the window: a packaged app's frame tells of its app's process.
    const WindowProgram program = ProgramOfWindow(window);
    const DWORD processId = program.processId;
    // The least access that names the file and the running time; an elevated program grants it.
    UniqueHandle process(processId ? OpenProcessForQuery(processId) : nullptr);

    const int titleLength = GetWindowTextW(window, work, kPathCapacity);
    work[titleLength > 0 ? WholeCharactersIn(work, static_cast<size_t>(titleLength)) : 0] = L'\0';
    FormatBounded(output, size, L" %ls  \r\n\r\n", work);
    if (!process) return;

    if (!program.path.empty()) {
        AppendLine(FormatText(IDS_INFO_FILE, FileNamePart(program.path.c_str())), L" \r\n", output, size);
    }

    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        // A start in the future (the clock was set back) reads as just started.
        const unsigned long long start = Ticks(created), current = Ticks(now);
        const unsigned long long minutes = current > start ? (current - start) / kTicksPerMinute : 0;
        work[0] = L'\0';
        FormatDurationLine(minutes, work, kPathCapacity);
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
        AppendMemoryLine(IDS_INFO_VIRTUAL_MEMORY, counters.PagefileUsage, L" \r\n", output, size);
        AppendMemoryLine(IDS_INFO_TOTAL_MEMORY, counters.WorkingSetSize, L" ", output, size);
    }
}
