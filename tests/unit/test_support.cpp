#include "test_support.h"

#include "config/settings.h"
#include "config/signin.h"

namespace {

std::string RunValueName() { return Narrow(kRunValueName); }

}  // namespace

std::string Narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), size, nullptr,
                            nullptr);
    return narrow;
}

std::wstring Wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

bool ReadRunValue(DWORD* type, std::string* data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, RunValueName().c_str(), nullptr, type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        data->assign(size, '\0');
        found = RegQueryValueExA(key, RunValueName().c_str(), nullptr, type, reinterpret_cast<BYTE*>(data->data()),
                                 &size) == ERROR_SUCCESS;
        data->resize(size);
    }
    RegCloseKey(key);
    return found;
}

void SetRunValue(DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, RunValueName().c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetRunValue(const std::string& text)
{
    SetRunValue(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void DeleteRunValue()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, RunValueName().c_str());
    RegCloseKey(key);
}

RunValueKeeper::RunValueKeeper() { present_ = ReadRunValue(&type_, &data_); }

RunValueKeeper::~RunValueKeeper()
{
    if (present_)
        SetRunValue(type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
        DeleteRunValue();
}

std::string OwnExecutablePath()
{
    char path[MAX_PATH + 1] = {};
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

void DeleteSettingsKey()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        char name[512];
        for (;;) {
            DWORD length = sizeof name;
            if (RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            RegDeleteValueA(key, name);
        }
        RegCloseKey(key);
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKeyPath);
}

void SetRawSetting(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetRawSettingW(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetDwordSetting(const char* name, DWORD value)
{
    SetRawSetting(name, REG_DWORD, &value, sizeof value);
}

bool SettingsKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ReadRawSetting(const char* name, DWORD* type, std::string* data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data->assign(size, '\0');
        result = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data->data()),
                                  &size);
        data->resize(size);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SettingExists(const char* name)
{
    DWORD type = 0;
    std::string data;
    return ReadRawSetting(name, &type, &data);
}

DWORD CountSettingValues()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return values;
}

HWND CreateTestWindow(const char* className)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    return CreateWindowExA(0, className, "test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

MessageBoxWatcher::MessageBoxWatcher(std::string caption)
    : caption_(std::move(caption)), thread_([this] { Watch(); })
{
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    stop_ = true;
    thread_.join();
}

std::vector<std::string> MessageBoxWatcher::Texts()
{
    std::lock_guard<std::mutex> hold(textsLock_);
    return texts_;
}

void MessageBoxWatcher::Watch()
{
    while (!stop_) {
        HWND box = FindWindowA("#32770", caption_.c_str());
        if (box && IsWindowVisible(box)) {
            char text[1024] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            {
                std::lock_guard<std::mutex> hold(textsLock_);
                texts_.push_back(text);
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
        }
        Sleep(20);
    }
}

Canvas::Canvas(int w, int h) : width(w), height(h)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc.reset(CreateCompatibleDC(nullptr));
    bitmap.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
    SelectObject(dc.get(), bitmap.get());
    Fill(RGB(1, 2, 3));
}

Canvas::~Canvas() { SelectObject(dc.get(), GetStockObject(DEFAULT_GUI_FONT)); }

void Canvas::Fill(COLORREF colour)
{
    GdiFlush();
    for (int i = 0; i < width * height; ++i)
        bits[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF Canvas::At(int x, int y)
{
    GdiFlush();
    const DWORD pixel = bits[y * width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
