#include "config/settings.h"

#include <cwchar>

#include "common/text.h"

Settings settings;

namespace {

constexpr size_t kExclusionEntryCapacity = 260;  // 259 characters and the terminator

}  // namespace

UniqueHkey OpenSettingsForQuery()
{
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        key.release();
    return key;
}

UniqueHkey OpenSettingsForWrite()
{
    UniqueHkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        key.release();
    return key;
}

bool ReadDwordValue(HKEY key, const wchar_t* name, DWORD* value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    *value = data;
    return true;
}

void WriteDwordValue(HKEY key, const wchar_t* name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

size_t MultiStringCapacity(DWORD bytes) { return bytes / sizeof(wchar_t) + 1; }

size_t AppendMultiStringEntry(wchar_t* buffer, size_t capacity, size_t used, const wchar_t* entry)
{
    if (used + kExclusionEntryCapacity > capacity) return 0;
    size_t length = CopyBounded(buffer + used, kExclusionEntryCapacity, entry);
    return used + length + 1;
}

void LoadExclusionList(HWND listBox)
{
    settings.exclusionText.reset();
    UniqueHkey key = OpenSettingsForQuery();
    if (!key) return;

    // A one-character probe: only data that do not fit there can hold an entry.
    wchar_t probe[1];
    DWORD type = 0;
    DWORD size = sizeof probe;
    if (RegQueryValueExW(key.get(), L"Exclusion", nullptr, &type, reinterpret_cast<BYTE*>(probe), &size) !=
            ERROR_MORE_DATA ||
        type != REG_MULTI_SZ)
        return;

    // One extra zero character terminates the text even when the data lack their own terminators.
    const size_t capacity = MultiStringCapacity(size);
    UniqueHeapText buffer = AllocateHeapText(capacity + 1);
    if (!buffer) return;
    DWORD read = size;
    if (RegQueryValueExW(key.get(), L"Exclusion", nullptr, &type, reinterpret_cast<BYTE*>(buffer.get()), &read) !=
            ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return;
    buffer.get()[read / sizeof(wchar_t)] = L'\0';  // half a character at the end is dropped

    const size_t entries = MultiStringToLines(buffer.get(), capacity, [listBox](const wchar_t* entry) {
        if (listBox) SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    });
    if (entries > 0) settings.exclusionText = std::move(buffer);
}

void LoadDisplayOptions()
{
    UniqueHkey key = OpenSettingsForWrite();
    if (!key) return;
    DWORD value = 0;
    if (ReadDwordValue(key.get(), L"RestoreMinimized", &value)) settings.restoreMinimized = value == 1;
    if (ReadDwordValue(key.get(), L"GroupByApps", &value)) settings.groupByApps = value == 1;
    if (ReadDwordValue(key.get(), L"SwitchOnRelease", &value)) settings.switchOnRelease = value == 1;
    // Off unless stored as 1: a value of another type or size turns it off as a missing one does.
    settings.thisMonitorOnly = ReadDwordValue(key.get(), L"ThisMonitorOnly", &value) && value == 1;
}

void StoreExclusionList(HWND listBox)
{
    {
        UniqueHkey key = OpenSettingsForWrite();
        if (!key) return;
        const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
        if (count <= 0) {
            RegDeleteValueW(key.get(), L"Exclusion");
        } else {
            const size_t capacity = static_cast<size_t>(count) * kPathCapacity + 1;
            UniqueHeapText data = AllocateHeapText(capacity);
            size_t used = 0;
            for (LRESULT i = 0; data && i < count; ++i) {
                const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
                if (length < 0) continue;
                // The item may be longer than an entry may be: read it whole, store it cut.
                UniqueHeapText item = AllocateHeapText(static_cast<size_t>(length) + 1);
                if (!item) {
                    data.reset();
                    break;
                }
                SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.get()));
                // An empty entry would end the stored list early and hide the entries after it.
                if (item.get()[0] == L'\0') continue;
                used = AppendMultiStringEntry(data.get(), capacity, used, item.get());
            }
            // Without memory to assemble the list, the stored value stays as it was.
            if (data && used > 0)
                RegSetValueExW(key.get(), L"Exclusion", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.get()),
                               static_cast<DWORD>((used + 1) * sizeof(wchar_t)));
        }
    }
    LoadExclusionList(nullptr);
}

std::wstring ReadLanguageSetting()
{
    UniqueHkey key = OpenSettingsForQuery();
    wchar_t locale[LOCALE_NAME_MAX_LENGTH + 1] = {};
    DWORD size = sizeof locale - sizeof(wchar_t), type = 0;  // room for a terminator the data may lack
    if (!key || RegQueryValueExW(key.get(), L"Language", nullptr, &type, reinterpret_cast<BYTE*>(locale), &size) !=
                    ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return locale;
}

void StoreLanguageSetting(const wchar_t* locale)
{
    UniqueHkey key = OpenSettingsForWrite();
    if (!key) return;
    if (!locale || locale[0] == L'\0')
        RegDeleteValueW(key.get(), L"Language");
    else
        RegSetValueExW(key.get(), L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(locale),
                       static_cast<DWORD>((wcslen(locale) + 1) * sizeof(wchar_t)));
}

bool WelcomeTipDismissed()
{
    UniqueHkey key = OpenSettingsForQuery();
    return key && RegQueryValueExW(key.get(), L"Info1", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void DismissWelcomeTip()
{
    UniqueHkey key = OpenSettingsForWrite();
    if (key) WriteDwordValue(key.get(), L"Info1", 1);
}
