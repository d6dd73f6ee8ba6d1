#include "tests/e2e/driver.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>

#include "tests/e2e/probe.h"

namespace e2e {

namespace {

constexpr DWORD kExitWaitMs = 10000;
constexpr DWORD kMessageTimeoutMs = 5000;

struct WindowQuery {
    const char* className;
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto* query = reinterpret_cast<WindowQuery*>(data);
    if (query->className && ClassOf(window) != query->className) return TRUE;
    if (query->processId && ProcessOf(window) != query->processId) return TRUE;
    if (query->visibleOnly && !IsWindowVisible(window)) return TRUE;
    query->found->push_back(window);
    return TRUE;
}

struct ChildQuery {
    const char* className;
    const char* text;
    HWND found;
};

BOOL CALLBACK FindChild(HWND child, LPARAM data)
{
    auto* query = reinterpret_cast<ChildQuery*>(data);
    if (query->className && lstrcmpiA(ClassOf(child).c_str(), query->className) != 0) return TRUE;
    if (TextOf(child) != query->text) return TRUE;
    query->found = child;
    return FALSE;
}

std::string HandleText(const void* handle)
{
    char text[32];
    snprintf(text, sizeof text, "%p", handle);
    return text;
}

}  // namespace

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty()) return {};
    std::wstring text(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                                           static_cast<int>(text.size()));
    text.resize(length > 0 ? length : 0);
    return text;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    std::string utf8(text.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? length : 0);
    return utf8;
}

std::string DriverDirectory()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string SorvanePath() { return DriverDirectory() + "Sorvane.exe"; }

ScratchFolder::ScratchFolder(const std::string& suffix)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = Utf8(temp) + "sorvane-e2e-" + std::to_string(GetCurrentProcessId()) + suffix + "\\";
    created_ = CreateDirectoryW(Wide(path_).c_str(), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}

ScratchFolder::~ScratchFolder()
{
    for (const std::string& file : files_)
        PollUntil([&] {
            return DeleteFileW(Wide(path_ + file).c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
        });
    RemoveDirectoryW(Wide(path_).c_str());
}

bool ScratchFolder::CopyIn(const std::string& source, const std::string& name)
{
    files_.push_back(name);
    return CopyFileW(Wide(source).c_str(), Wide(path_ + name).c_str(), FALSE) != FALSE;
}

// ---- windows

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Utf8(text);
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

std::vector<HWND> TopLevelWindows(const char* className, DWORD processId, bool visibleOnly)
{
    std::vector<HWND> found;
    WindowQuery query{className, processId, visibleOnly, &found};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return found;
}

std::string DescribeWindows(DWORD processId)
{
    std::string text;
    for (HWND window : TopLevelWindows(nullptr, processId, false)) {
        text += "  " + HandleText(window) + " class \"" + ClassOf(window) + "\" title \"" +
                TextOf(window) + "\"" + (IsWindowVisible(window) ? " visible" : " hidden") + "\n";
    }
    return text.empty() ? std::string("  (no windows)\n") : text;
}

HWND FindChildWithText(HWND parent, const char* className, const char* text)
{
    ChildQuery query{className, text, nullptr};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// ---- the notification area

bool TrayIconExists(HWND window)
{
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    icon.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

bool RemoveTrayIcon(HWND window)
{
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_DELETE, &icon) != FALSE;
}

// ---- hotkeys

std::string ComboName(UINT modifiers, UINT key)
{
    std::string name;
    if (modifiers & MOD_ALT) name += "Alt+";
    if (modifiers & MOD_CONTROL) name += "Ctrl+";
    if (modifiers & MOD_SHIFT) name += "Shift+";
    if (modifiers & MOD_WIN) name += "Win+";
    char label[16];
    if (key == VK_TAB)
        snprintf(label, sizeof label, "Tab");
    else if (key >= VK_F1 && key <= VK_F24)
        snprintf(label, sizeof label, "F%u", key - VK_F1 + 1);
    else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        snprintf(label, sizeof label, "%c", static_cast<char>(key));
    else
        snprintf(label, sizeof label, "#%u", key);
    return name + label;
}

DWORD TryRegisterHotkey(UINT modifiers, UINT key)
{
    constexpr int kProbeId = 0x2E2E;
    if (RegisterHotKey(nullptr, kProbeId, modifiers, key)) {
        UnregisterHotKey(nullptr, kProbeId);
        return 0;
    }
    return GetLastError();
}

::testing::AssertionResult HotkeyTaken(UINT modifiers, UINT key)
{
    const DWORD error = TryRegisterHotkey(modifiers, key);
    if (error == ERROR_HOTKEY_ALREADY_REGISTERED)
        return ::testing::AssertionSuccess() << ComboName(modifiers, key) << " is taken";
    if (error == 0)
        return ::testing::AssertionFailure()
               << ComboName(modifiers, key) << " is free: the driver could register it";
    return ::testing::AssertionFailure()
           << ComboName(modifiers, key) << ": RegisterHotKey failed with error " << error
           << " instead of 1409 (already registered)";
}

::testing::AssertionResult HotkeyFree(UINT modifiers, UINT key)
{
    const DWORD error = TryRegisterHotkey(modifiers, key);
    if (error == 0) return ::testing::AssertionSuccess() << ComboName(modifiers, key) << " is free";
    return ::testing::AssertionFailure() << ComboName(modifiers, key)
                                         << " is not free: RegisterHotKey failed with error "
                                         << error;
}

HeldHotkey::HeldHotkey(UINT modifiers, UINT key) : id_(0x2E2F)
{
    held_ = RegisterHotKey(nullptr, id_, modifiers, key) != FALSE;
    if (!held_) error_ = GetLastError();
}

HeldHotkey::~HeldHotkey() { Release(); }

void HeldHotkey::Release()
{
    if (held_) UnregisterHotKey(nullptr, id_);
    held_ = false;
}

::testing::AssertionResult StartUnixProgram(std::string command)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return ::testing::AssertionFailure() << command << ": error " << GetLastError();
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    return ::testing::AssertionSuccess();
}

// A shell runs setxkbmap, then makes a file the driver sees. Under Wine the new keyboard map can clear
// the driver's standard handles: they are put back.
::testing::AssertionResult SetKeyboardLayout(const char* layout)
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE), error = GetStdHandle(STD_ERROR_HANDLE);
    const std::string done = "/tmp/sorvane-layout-" + std::to_string(GetCurrentProcessId()), seen = "Z:" + done;
    const std::string command = "Z:\\bin\\sh -c \"setxkbmap " + std::string(layout) + " && : > " + done + "\"";
    if (::testing::AssertionResult started = StartUnixProgram(command); !started) return started;
    const bool finished = PollUntil([&] { return GetFileAttributesA(seen.c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileA(seen.c_str());
    PumpMessages();  // takes in the new keyboard map first
    SetStdHandle(STD_OUTPUT_HANDLE, output), SetStdHandle(STD_ERROR_HANDLE, error);
    if (finished) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << command << ": no " << done << " after " << kWaitMs << " ms";
}

// ---- registry

::testing::AssertionResult DeleteSettingsKey()
{
    const DWORD result = SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return ::testing::AssertionFailure()
               << "SHDeleteKey(HKCU\\" << kSettingsKey << ") failed with error " << result;
    if (SettingsKeyExists())
        return ::testing::AssertionFailure()
               << "HKCU\\" << kSettingsKey << " still exists after deleting it";
    return ::testing::AssertionSuccess();
}

bool SettingsKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void WriteSetting(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKCU\\" << kSettingsKey;
        return;
    }
    const LONG result =
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot write value \"" << name << "\": error " << result;
}

void WriteDwordSetting(const char* name, DWORD value)
{
    WriteSetting(name, REG_DWORD, &value, sizeof value);
}

void WriteTextSetting(const char* name, DWORD type, const std::wstring& text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKCU\\" << kSettingsKey;
        return;
    }
    const LONG result = RegSetValueExW(key, Wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) ADD_FAILURE() << "cannot write value \"" << name << "\": error " << result;
}

StoredValue ReadSetting(const char* name) { return ReadUserValue(kSettingsKey, name); }

StoredValue ReadUserValue(const char* keyPath, const char* name)
{
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.data.resize(size);
        }
    }
    RegCloseKey(key);
    return value;
}

std::wstring ReadUserText(const char* keyPath, const char* name)
{
    std::wstring text = L"(no text value)";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return text;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ)
        text = data;
    RegCloseKey(key);
    return text;
}

bool CountSettings(DWORD* values, DWORD* subkeys)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const LONG result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, subkeys, nullptr, nullptr,
                                         values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::string DescribeSettings()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "  (no key)\n";
    std::string text;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        BYTE data[64];
        DWORD size = sizeof data;
        const LONG result =
            RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size);
        if (result == ERROR_NO_MORE_ITEMS) break;
        char line[400];
        if (result == ERROR_SUCCESS && type == REG_DWORD && size == 4)
            snprintf(line, sizeof line, "  \"%s\" REG_DWORD %lu\n", name,
                     static_cast<unsigned long>(*reinterpret_cast<DWORD*>(data)));
        else
            snprintf(line, sizeof line, "  \"%s\" type %lu, %lu bytes\n", name,
                     static_cast<unsigned long>(type), static_cast<unsigned long>(size));
        text += line;
    }
    RegCloseKey(key);
    return text.empty() ? std::string("  (key without values)\n") : text;
}

// ---- pointer

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

bool SendPointerMove(int x, int y)
{
    // The absolute range 0..65535 spans the virtual screen (every monitor); the smallest value that
    // lands on the pixel.
    auto normalize = [](int pixel, int origin, int extent) -> LONG {
        const long long value = (static_cast<long long>(pixel - origin) * 65536 + extent - 1) / extent;
        return static_cast<LONG>(value < 0 ? 0 : value > 65535 ? 65535 : value);
    };
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalize(x, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    input.mi.dy = normalize(y, GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return SendInput(1, &input, sizeof input) == 1;
}

::testing::AssertionResult MovePointer(int x, int y)
{
    // Under Wine an injected move also moves the X pointer, which GetCursorPos reports once the
    // last move is 100 ms old; but a process's first move leaves the X pointer behind unless the
    // process has read the position before. Pointer and X pointer must agree: Sorvane reads the
    // position when a balloon is clicked.
    return MovePointerUntil(x, y, [] { return false; });
}

::testing::AssertionResult MovePointerUntil(int x, int y, const std::function<bool()>& arrivedOtherwise)
{
    // A move that Sorvane's own pointer move overtakes (it parks the pointer when the Overview
    // comes up) is made again, as a user's hand would go on moving.
    POINT cursor{};
    GetCursorPos(&cursor);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (!SendPointerMove(x, y))
            return ::testing::AssertionFailure() << "SendInput failed with error " << GetLastError();
        if (PollUntil([&] { return (GetCursorPos(&cursor) && cursor.x == x && cursor.y == y) || arrivedOtherwise(); },
                      kWaitMs / 3))
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the pointer went to " << cursor.x << "," << cursor.y << " instead of "
                                         << x << "," << y << " (screen " << ScreenWidth() << "x" << ScreenHeight()
                                         << ")";
}

::testing::AssertionResult PlacePointer(int x, int y)
{
    POINT cursor{};
    if (!SetCursorPos(x, y)) return ::testing::AssertionFailure() << "SetCursorPos failed with error " << GetLastError();
    if (PollUntil([&] { return GetCursorPos(&cursor) && cursor.x == x && cursor.y == y; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the pointer went to " << cursor.x << "," << cursor.y << " instead of " << x
                                         << "," << y;
}

// ---- probe

Probe::~Probe() { Detach(); }

::testing::AssertionResult Probe::Attach(HWND target)
{
    Detach();
    static HMODULE library = LoadLibraryA((DriverDirectory() + "SorvaneProbe.dll").c_str());
    if (!library)
        return ::testing::AssertionFailure() << "cannot load " << DriverDirectory()
                                             << "SorvaneProbe.dll: error " << GetLastError();
    FARPROC procedure = GetProcAddress(library, kProbeProcName);
    if (!procedure) procedure = GetProcAddress(library, kProbeProcDecoratedName);
    if (!procedure)
        return ::testing::AssertionFailure() << "SorvaneProbe.dll exports no " << kProbeProcName;

    static const bool registered = [] {
        WNDCLASSA sinkClass{};
        sinkClass.lpfnWndProc = SinkProc;
        sinkClass.hInstance = GetModuleHandleA(nullptr);
        sinkClass.lpszClassName = kProbeSinkClass;
        return RegisterClassA(&sinkClass) != 0;
    }();
    if (!registered) return ::testing::AssertionFailure() << "cannot register the sink class";
    sink_ = CreateWindowExA(0, kProbeSinkClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!sink_) return ::testing::AssertionFailure() << "cannot create the sink window";
    SetWindowLongPtrA(sink_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    if (!thread) return ::testing::AssertionFailure() << "window " << target << " has no thread";
    // Through a generic function pointer: FARPROC says nothing about the real signature.
    const auto hookProc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(procedure));
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, hookProc, library, thread);
    if (!hook_)
        return ::testing::AssertionFailure()
               << "SetWindowsHookEx(WH_GETMESSAGE) on Sorvane's thread failed: " << GetLastError();
    target_ = target;
    hotkeys_.clear();
    hotkeyWindows_.clear();
    return Flush();
}

void Probe::Detach()
{
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    if (sink_) DestroyWindow(sink_);
    sink_ = nullptr;
    target_ = nullptr;
}

::testing::AssertionResult Probe::Flush()
{
    if (!target_) return ::testing::AssertionFailure() << "the probe is not attached";
    const WPARAM marker = ++markerSent_;
    if (!PostMessageA(target_, WM_NULL, kProbeMarkerTag, static_cast<LPARAM>(marker)))
        return ::testing::AssertionFailure()
               << "cannot post a marker to Sorvane's window: error " << GetLastError();
    if (!PollUntil([&] { return markerSeen_ >= marker; }))
        return ::testing::AssertionFailure()
               << "Sorvane's thread did not take marker " << marker << " from its queue within "
               << kWaitMs << " ms (last marker seen: " << markerSeen_
               << "; hotkeys seen: " << Describe(hotkeys_) << ")";
    for (HWND window : hotkeyWindows_)
        if (window != target_)
            return ::testing::AssertionFailure()
                   << "a WM_HOTKEY went to window " << window << ", not the main window "
                   << target_;
    return ::testing::AssertionSuccess();
}

std::vector<WPARAM> Probe::TakeHotkeys()
{
    std::vector<WPARAM> taken;
    taken.swap(hotkeys_);
    hotkeyWindows_.clear();
    return taken;
}

std::string Probe::Describe(const std::vector<WPARAM>& ids)
{
    if (ids.empty()) return "none";
    std::string text;
    for (WPARAM id : ids) text += (text.empty() ? "" : ", ") + std::to_string(id);
    return text;
}

::testing::AssertionResult Probe::ReadTipText(std::string* text)
{
    if (!target_) return ::testing::AssertionFailure() << "the probe is not attached";
    tipTextSeen_ = false;
    PostMessageA(target_, WM_NULL, kProbeTipTextTag, 0);
    if (!PollUntil([this] { return tipTextSeen_; }))
        return ::testing::AssertionFailure() << "the probe sent no tooltip text";
    *text = tipText_;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Probe::ReadTexts(HWND window, std::vector<std::string>* lines)
{
    textsSeen_ = false;
    PostMessageA(window, WM_NULL, kProbeTextsTag, 0);
    if (!PollUntil([this] { return textsSeen_; }))
        return ::testing::AssertionFailure() << "the probe sent no texts of window " << window;
    *lines = texts_;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Probe::HoldThread(DWORD milliseconds)
{
    if (!target_) return ::testing::AssertionFailure() << "the probe is not attached";
    const int holds = holdsSeen_;
    if (!PostMessageA(target_, WM_NULL, kProbeBusyTag, static_cast<LPARAM>(milliseconds)))
        return ::testing::AssertionFailure()
               << "cannot post the busy request to Sorvane's window: error " << GetLastError();
    if (!PollUntil([&] { return holdsSeen_ > holds; }))
        return ::testing::AssertionFailure() << "Sorvane's thread did not begin the busy period";
    return ::testing::AssertionSuccess();
}

LRESULT CALLBACK Probe::SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* probe = reinterpret_cast<Probe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (probe && message == kProbeHotkeyReport) {
        probe->hotkeys_.push_back(wParam);
        probe->hotkeyWindows_.push_back(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    if (probe && message == kProbeMarkerReport) {
        if (wParam > probe->markerSeen_) probe->markerSeen_ = wParam;
        return 0;
    }
    if (probe && message == kProbeBusyReport) {
        ++probe->holdsSeen_;
        return 0;
    }
    if (probe && message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data && data->dwData == kProbeTipTextTag && data->lpData && data->cbData > 0) {
            probe->tipText_.assign(static_cast<const char*>(data->lpData), data->cbData - 1);
            probe->tipTextSeen_ = true;
        }
        if (data && data->dwData == kProbeTextsTag) {
            const std::string all =
                data->lpData ? Utf8(std::wstring(static_cast<const wchar_t*>(data->lpData), data->cbData / 2)) : "";
            probe->texts_.clear();
            for (size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1)
                probe->texts_.push_back(all.substr(at, end - at));
            probe->textsSeen_ = true;
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

const void* SorvaneResource(LANGID language, LPCWSTR type, UINT id)
{
    static HMODULE module = LoadLibraryExW(Wide(SorvanePath()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (LANGID tried : {language, LANGID(MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL)), LANGID(0x0409)})
        if (HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), tried))
            return LockResource(LoadResource(module, found));
    return nullptr;
}

}  // namespace

std::string SorvaneString(LANGID language, UINT id)
{
    const auto* unit = static_cast<const wchar_t*>(SorvaneResource(language, RT_STRING, id / 16 + 1));
    for (UINT skip = id % 16; unit && skip > 0; --skip) unit += 1 + *unit;
    return unit ? Utf8(std::wstring(unit + 1, *unit)) : "";
}

std::vector<std::string> SorvaneMenu(LANGID language, UINT id)
{
    std::vector<std::string> items;
    HMENU menu = LoadMenuIndirectW(SorvaneResource(language, RT_MENU, id));
    for (int item = 0; item < GetMenuItemCount(GetSubMenu(menu, 0)); ++item) {
        wchar_t text[256] = {};
        if (GetMenuStringW(GetSubMenu(menu, 0), item, text, 256, MF_BYPOSITION) > 0) items.push_back(Utf8(text));
    }
    DestroyMenu(menu);
    return items;
}

std::vector<std::string> SorvaneDialog(LANGID language, UINT id)
{
    std::vector<std::string> texts;
    HWND dialog = CreateDialogIndirectParamW(
        nullptr, static_cast<const DLGTEMPLATE*>(SorvaneResource(language, RT_DIALOG, id)), GetDesktopWindow(), nullptr, 0);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((ClassOf(child) == "Static" || ClassOf(child) == "Button") && !TextOf(child).empty())
            texts.push_back(TextOf(child));
    DestroyWindow(dialog);
    return texts;
}

// ---- Sorvane's process

::testing::AssertionResult SorvaneProcess::Launch(const std::string& exePath,
                                                  const std::string& folder, bool suspended,
                                                  const std::string& arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::string directory = folder;
    if (directory.empty()) directory = exePath.substr(0, exePath.find_last_of("\\/") + 1);
    std::wstring wideCommandLine = Wide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(Wide(exePath).c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE,
                        suspended ? CREATE_SUSPENDED : 0, nullptr, Wide(directory).c_str(), &startup,
                        &info))
        return ::testing::AssertionFailure()
               << "cannot start " << exePath << ": error " << GetLastError();
    if (suspended)
        suspendedThread_ = info.hThread;
    else
        CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SorvaneProcess::WaitForMainWindow()
{
    std::vector<HWND> windows;
    const bool found = PollUntil([&] {
        windows = TopLevelWindows(kMainClass, processId_, false);
        return !windows.empty() || !Running();
    });
    if (!found || windows.empty()) {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return ::testing::AssertionFailure()
               << "no window of class \"" << kMainClass << "\" from process " << processId_
               << (Running() ? " within the wait" : " (it exited with code " +
                                                        std::to_string(code) + ")")
               << "; its windows:\n"
               << DescribeWindows(processId_);
    }
    if (windows.size() > 1)
        return ::testing::AssertionFailure() << "process " << processId_ << " made "
                                             << windows.size() << " windows of class "
                                             << kMainClass << ":\n"
                                             << DescribeWindows(processId_);
    window_ = windows.front();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SorvaneProcess::WaitForExit(DWORD* exitCode, DWORD timeoutMs)
{
    if (!process_) return ::testing::AssertionFailure() << "no process was started";
    if (!PollUntil([&] { return !Running(); }, timeoutMs))
        return ::testing::AssertionFailure()
               << "process " << processId_ << " still runs after " << timeoutMs
               << " ms; its windows:\n"
               << DescribeWindows(processId_);
    GetExitCodeProcess(process_, exitCode);
    return ::testing::AssertionSuccess();
}

bool SorvaneProcess::Resume()
{
    if (!suspendedThread_) return false;
    const bool resumed = ResumeThread(suspendedThread_) != static_cast<DWORD>(-1);
    CloseHandle(suspendedThread_);
    suspendedThread_ = nullptr;
    return resumed;
}

bool SorvaneProcess::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void SorvaneProcess::Stop()
{
    if (suspendedThread_) {
        TerminateProcess(process_, 1);
        CloseHandle(suspendedThread_);
        suspendedThread_ = nullptr;
    }
    if (!process_) return;
    if (Running()) {
        HWND window = window_;
        if (!window || !IsWindow(window)) {
            const std::vector<HWND> windows = TopLevelWindows(kMainClass, processId_, false);
            window = windows.empty() ? nullptr : windows.front();
        }
        if (window) PostMessageA(window, WM_COMMAND, kCommandExit, 0);
        if (!PollUntil([&] { return !Running(); }, kExitWaitMs)) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kExitWaitMs);
        }
    }
    CloseHandle(process_);
    process_ = nullptr;
}

::testing::AssertionResult KillStraySorvane()
{
    for (int round = 0; round < 10; ++round) {
        const std::vector<HWND> windows = TopLevelWindows(kMainClass, 0, false);
        if (windows.empty()) return ::testing::AssertionSuccess();
        for (HWND window : windows) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(window));
            if (!process) continue;
            TerminateProcess(process, 1);
            WaitForSingleObject(process, kExitWaitMs);
            CloseHandle(process);
        }
        PollUntil([] { return TopLevelWindows(kMainClass, 0, false).empty(); }, 2000);
    }
    return ::testing::AssertionFailure() << "windows of class " << kMainClass
                                         << " remain after terminating their processes";
}

// ---- fixture

void SorvaneTest::SetUp()
{
    ASSERT_TRUE(KillStraySorvane());
    ASSERT_TRUE(DeleteSettingsKey());
    ASSERT_TRUE(ParkPointer());
}

void SorvaneTest::TearDown()
{
    probe.Detach();
    EXPECT_TRUE(KillStraySorvane());
    EXPECT_TRUE(DeleteSettingsKey());
    ParkPointer();
}

::testing::AssertionResult SorvaneTest::ParkPointer()
{
    return MovePointer(ScreenWidth() / 2, ScreenHeight() / 2);
}

::testing::AssertionResult SorvaneTest::StartSorvane(SorvaneProcess& sorvane,
                                                     const std::string& exePath,
                                                     const std::string& folder)
{
    ::testing::AssertionResult result = sorvane.Launch(exePath, folder);
    if (result) result = sorvane.WaitForMainWindow();
    if (result) result = WaitForStartupEnd(sorvane);
    return result;
}

::testing::AssertionResult SorvaneTest::StartSorvaneThroughWarning(SorvaneProcess& sorvane, const char* combination)
{
    ::testing::AssertionResult result = sorvane.Launch(SorvanePath());
    if (result) result = sorvane.WaitForMainWindow();
    HWND box = nullptr;
    if (result) result = WaitForMessageBox(sorvane, &box);
    if (!result) return result;
    if (TextOf(box) != "Sorvane" || TextOf(GetDlgItem(box, kMessageBoxTextId)) != ConflictWarning(combination))
        return ::testing::AssertionFailure() << "the warning \"" << TextOf(box) << "\" says \""
                                             << TextOf(GetDlgItem(box, kMessageBoxTextId)) << "\"";
    result = DismissMessageBox(box);
    if (result) result = WaitForStartupEnd(sorvane);
    return result;
}

::testing::AssertionResult SorvaneTest::WaitForStartupEnd(SorvaneProcess& sorvane)
{
    std::vector<HWND> boxes;
    const bool ready = PollUntil([&] {
        boxes = TopLevelWindows("#32770", sorvane.id(), true);
        return !boxes.empty() || TrayIconExists(sorvane.window()) || !sorvane.Running();
    });
    if (!boxes.empty())
        return ::testing::AssertionFailure()
               << "Sorvane shows an unexpected message box \"" << TextOf(boxes.front())
               << "\": \"" << TextOf(GetDlgItem(boxes.front(), kMessageBoxTextId)) << "\"";
    if (!sorvane.Running())
        return ::testing::AssertionFailure() << "Sorvane exited during start-up";
    if (!ready)
        return ::testing::AssertionFailure() << "Sorvane's tray icon did not appear; its windows:\n"
                                             << DescribeWindows(sorvane.id());
    return probe.Attach(sorvane.window());
}

::testing::AssertionResult SorvaneTest::ExitSorvane(SorvaneProcess& sorvane)
{
    if (!PostMessageA(sorvane.window(), WM_COMMAND, kCommandExit, 0))
        return ::testing::AssertionFailure() << "cannot post the Exit command: " << GetLastError();
    DWORD code = STILL_ACTIVE;
    ::testing::AssertionResult exited = sorvane.WaitForExit(&code);
    if (!exited) return exited;
    if (code != 0)
        return ::testing::AssertionFailure() << "Sorvane exited with code " << code << ", not 0";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SorvaneTest::WaitForMessageBox(const SorvaneProcess& sorvane, HWND* box,
                                                          HWND previous)
{
    *box = nullptr;
    PollUntil([&] {
        for (HWND window : TopLevelWindows("#32770", sorvane.id(), true))
            if (window != previous) *box = window;
        return *box != nullptr || !sorvane.Running() || TrayIconExists(sorvane.window());
    });
    if (*box) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "no message box from Sorvane"
           << (!sorvane.Running()                ? " (it exited)"
               : TrayIconExists(sorvane.window()) ? " (start-up went on to the tray icon)"
                                                  : " within the wait")
           << "; its windows:\n"
           << DescribeWindows(sorvane.id());
}

::testing::AssertionResult SorvaneTest::DismissMessageBox(HWND box)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    if (PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "message box \"" << TextOf(box) << "\" stayed open after OK";
}

::testing::AssertionResult SorvaneTest::MoveAndSettle(const SorvaneProcess& sorvane, int x, int y)
{
    // A gesture report also shows the move arrived: the Overview it opens parks the pointer at once.
    const size_t reports = probe.Hotkeys().size();
    ::testing::AssertionResult moved = MovePointerUntil(x, y, [&] { return probe.Hotkeys().size() > reports; });
    if (!moved) return moved;
    // The pointer is there only after the low-level hooks have passed the move on, so whatever
    // Sentrel's hook thread posted for it is queued already. A sent message of our own returns
    // after any sent message the move caused, and the marker then comes after all of it.
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(sorvane.window(), WM_NULL, 0, 0, SMTO_NORMAL, kMessageTimeoutMs,
                             &ignored))
        return ::testing::AssertionFailure() << "Sorvane did not answer WM_NULL";
    return probe.Flush();
}

::testing::AssertionResult SorvaneTest::CornerOpensTheEmptyOverview(const SorvaneProcess& sorvane)
{
    RECT covered{};
    return CornerOpensTheEmptyOverviewAt(sorvane, POINT{ScreenWidth() - 1, ScreenHeight() - 1}, &covered);
}

::testing::AssertionResult SorvaneTest::CornerOpensTheEmptyOverviewAt(const SorvaneProcess& sorvane, POINT corner,
                                                                      RECT* covered)
{
    *covered = RECT{};
    probe.TakeHotkeys();
    ::testing::AssertionResult result = MoveAndSettle(sorvane, corner.x, corner.y);
    const std::vector<WPARAM> reports = probe.TakeHotkeys();
    if (result && reports != std::vector<WPARAM>{kGestureHotkey})
        result = ::testing::AssertionFailure() << "the corner reported " << Probe::Describe(reports);
    HWND box = nullptr;
    if (result && !PollUntil([&] { return (box = FindWindowA("#32770", "No Active Window")) != nullptr; }))
        result = ::testing::AssertionFailure() << "no \"No Active Window\" box:\n" << DescribeWindows(sorvane.id());
    if (result) GetWindowRect(sorvane.window(), covered);
    if (result) result = DismissMessageBox(box);
    if (result && !PollUntil([&] { return !IsWindowVisible(sorvane.window()); }))
        result = ::testing::AssertionFailure() << "the Overview stayed open";
    ::testing::AssertionResult parked = ParkPointer();
    return result ? parked : result;
}

std::string ConflictWarning(const char* combination)
{
    return std::string("Sorvane cannot handle the ") + combination +
           " combination key.\n\nIt is currently being used for another purpose by Sorvane or by "
           "another application. Please use the \"Configure\" menu to select a different "
           "combination key. Alternatively, you may disable the key combination of that "
           "particular application.";
}

}  // namespace e2e
