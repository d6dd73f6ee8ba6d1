// Helpers shared by the unit tests: the settings key, plain test windows, message pumping and a
// watcher that answers message boxes.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/owners.h"

// UTF-16 to UTF-8 and back: the tests keep their texts as UTF-8 in std::string.
std::string Narrow(const std::wstring& text);
std::wstring Wide(const std::string& text);

// Deletes HKCU\Software\Sorvane with every value in it.
void DeleteSettingsKey();
void SetDwordSetting(const char* name, DWORD value);
void SetRawSetting(const char* name, DWORD type, const void* data, DWORD size);
// The same through the wide call: the data are stored byte for byte, as a Unicode program writes them.
void SetRawSettingW(const char* name, DWORD type, const void* data, DWORD size);
bool SettingExists(const char* name);
bool SettingsKeyExists();
DWORD CountSettingValues();
// Reads a value's type and data; false when it is missing.
bool ReadRawSetting(const char* name, DWORD* type, std::string* data);

// The value "Sorvane" under HKCU's Run key, as the sign-in tests see it.
bool ReadRunValue(DWORD* type, std::string* data);
void SetRunValue(DWORD type, const void* data, DWORD size);
void SetRunValue(const std::string& text);  // REG_SZ with its terminator
void DeleteRunValue();
// Keeps the Run value as it was before the test and puts it back when the test ends.
class RunValueKeeper {
public:
    RunValueKeeper();
    ~RunValueKeeper();
    RunValueKeeper(const RunValueKeeper&) = delete;
    RunValueKeeper& operator=(const RunValueKeeper&) = delete;

private:
    bool present_ = false;
    DWORD type_ = 0;
    std::string data_;
};
// This test program's own path, as GetModuleFileName gives it.
std::string OwnExecutablePath();

// A plain top-level window of the given class, destroyed with the owner.
HWND CreateTestWindow(const char* className = "SorvaneTestWindow");
// A window handle that is only a number, for list records that never reach the system.
inline HWND FakeHandle(size_t number) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(number)); }

// Handles this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// Answers every message box with the given caption that appears while it lives, recording each
// box's text in order, and pressing OK.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::string caption);
    ~MessageBoxWatcher();
    std::vector<std::string> Texts();

private:
    void Watch();
    std::string caption_;
    std::atomic<bool> stop_{false};
    std::mutex textsLock_;  // guards texts_
    std::vector<std::string> texts_;
    std::thread thread_;
};

// A 32-bit top-down DIB selected into a memory context, filled with RGB(1, 2, 3), read back pixel
// by pixel.
struct Canvas {
    Canvas(int w, int h);
    ~Canvas();
    void Fill(COLORREF colour);
    COLORREF At(int x, int y);
    int width, height;
    DWORD* bits = nullptr;
    UniqueBitmap bitmap;
    UniqueMemoryDc dc;
};
