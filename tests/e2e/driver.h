// The end-to-end driver's helpers: start the real Sorvane.exe in the shared desktop, and observe
// it from outside as any other program could (windows, tray icon, hotkeys, registry, pointer),
// plus the probe hook for what arrives in its message queue.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "config/hotkeys.h"  // DefaultAppKey: the App hotkey's default as Sorvane picks it

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// What Sorvane shows to the outside: fixed numbers other programs (and these tests) rely on.
constexpr char kMainClass[] = "SORVANE";
constexpr char kMainTitle[] = "Sorvane";
constexpr char kSettingsKey[] = "Software\\Sorvane";
constexpr WPARAM kCommandAbout = 104;
constexpr WPARAM kCommandExit = 105;
constexpr UINT kTrayIconId = 110;
constexpr UINT kTrayCallback = 0x8000;     // WM_APP: the tray icon's callback message
constexpr WPARAM kGestureHotkey = 112;     // what the mouse gesture posts as WM_HOTKEY
constexpr LPARAM kBalloonUserClick = 1029;  // NIN_BALLOONUSERCLICK
constexpr int kMessageBoxTextId = 0xFFFF;   // the static control holding a message box's text

// Every wait is bounded by this many milliseconds of polling.
constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollStepMs = 20;

// Handles what was posted to the driver's own thread (the probe's reports among it).
void PumpMessages();

// Calls condition() until it is true or the polls for timeoutMs have run out; pumps messages
// between polls. Counts polls instead of reading a clock.
template <typename Condition>
bool PollUntil(Condition condition, DWORD timeoutMs = kWaitMs)
{
    for (DWORD waited = 0;; waited += kPollStepMs) {
        PumpMessages();
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollStepMs, QS_ALLINPUT);
    }
}

// The driver keeps text in UTF-8 and hands the system UTF-16 where a name may leave the ANSI code
// page (paths, titles, command lines).
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);

// The folder of the driver's executable, with a trailing backslash; Sorvane.exe is built there.
std::string DriverDirectory();
std::string SorvanePath();

// A fresh folder under the temporary folder for one test, removed with what it holds. Its name
// ends with `suffix`, which may hold characters of any script.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& suffix = {});
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool created() const { return created_; }
    // With a trailing backslash.
    const std::string& path() const { return path_; }
    bool CopyIn(const std::string& source, const std::string& name);
    // A file something else may create there, removed with the folder.
    void Track(const std::string& name) { files_.push_back(name); }

private:
    std::string path_;
    bool created_ = false;
    std::vector<std::string> files_;
};

// ---- windows

std::string ClassOf(HWND window);
// The window's text, read as UTF-16.
std::string TextOf(HWND window);
DWORD ProcessOf(HWND window);
// Top-level windows of the class (any class when null), of the process (any when 0), visible
// ones only when asked.
std::vector<HWND> TopLevelWindows(const char* className, DWORD processId, bool visibleOnly);
// One line per top-level window of the process: handle, class, title, visibility.
std::string DescribeWindows(DWORD processId);
// The static control of a visible child with exactly this text, or null.
HWND FindChildWithText(HWND parent, const char* className, const char* text);

// ---- the notification area

// Whether the icon (window, id 110) exists: NIM_MODIFY with no flags succeeds exactly then.
bool TrayIconExists(HWND window);
bool RemoveTrayIcon(HWND window);

// ---- hotkeys

// "Alt+Tab", "Win+Z", "Ctrl+F9".
std::string ComboName(UINT modifiers, UINT key);
// Registers the combination on the driver's thread and releases it at once. Returns 0 when the
// combination was free, else RegisterHotKey's error (1409 when someone else holds it).
DWORD TryRegisterHotkey(UINT modifiers, UINT key);
::testing::AssertionResult HotkeyTaken(UINT modifiers, UINT key);
::testing::AssertionResult HotkeyFree(UINT modifiers, UINT key);

// Holds a combination on the driver's thread for its lifetime.
class HeldHotkey {
public:
    HeldHotkey(UINT modifiers, UINT key);
    ~HeldHotkey();
    HeldHotkey(const HeldHotkey&) = delete;
    HeldHotkey& operator=(const HeldHotkey&) = delete;
    bool held() const { return held_; }
    DWORD error() const { return error_; }
    void Release();

private:
    int id_;
    bool held_ = false;
    DWORD error_ = 0;
};

// Starts a program of the Unix side (by its Z: path), which leaves no handle to wait on: a caller
// watches for what it does.
::testing::AssertionResult StartUnixProgram(std::string command);
// Sets the X keyboard layout ("fr") for Wine processes started later (a running one keeps its own),
// and waits. KeyboardLayout holds one while it lives and puts "us" back however the test ends.
::testing::AssertionResult SetKeyboardLayout(const char* layout);
struct KeyboardLayout {
    explicit KeyboardLayout(const char* layout) : set(SetKeyboardLayout(layout)) {}
    ~KeyboardLayout() { SetKeyboardLayout("us"); }
    const ::testing::AssertionResult set;
};

// ---- registry (HKCU\Software\Sorvane)

::testing::AssertionResult DeleteSettingsKey();
bool SettingsKeyExists();
void WriteSetting(const char* name, DWORD type, const void* data, DWORD size);
void WriteDwordSetting(const char* name, DWORD value);
// Writes text with RegSetValueExW, its terminator included: a REG_MULTI_SZ gives its entries each
// ended by L'\0'.
void WriteTextSetting(const char* name, DWORD type, const std::wstring& text);

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};
StoredValue ReadSetting(const char* name);
// A value of any key under HKEY_CURRENT_USER.
StoredValue ReadUserValue(const char* keyPath, const char* name);
// A REG_SZ value of any key under HKEY_CURRENT_USER, read with RegQueryValueExW; "(no text value)"
// when there is none.
std::wstring ReadUserText(const char* keyPath, const char* name);
// Values and subkeys of the key; false when it cannot be opened.
bool CountSettings(DWORD* values, DWORD* subkeys);
std::string DescribeSettings();

// Stores LogPixels in HKCU\Control Panel\Desktop for the programs started while it lives, and
// puts back what was there, also when a test fails.
class LogPixelsGuard {
public:
    explicit LogPixelsGuard(DWORD dpi)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof previous_, type = 0;
        had_ = RegQueryValueExA(key_, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&previous_), &size) ==
                   ERROR_SUCCESS && type == REG_DWORD;
        set_ = RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }
    ~LogPixelsGuard()
    {
        if (!key_) return;
        if (had_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_), sizeof previous_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    LogPixelsGuard(const LogPixelsGuard&) = delete;
    LogPixelsGuard& operator=(const LogPixelsGuard&) = delete;
    bool set() const { return set_; }

private:
    HKEY key_ = nullptr;
    bool had_ = false, set_ = false;
    DWORD previous_ = 0;
};

// ---- pointer

int ScreenWidth();
int ScreenHeight();
// One absolute pointer move through SendInput; false when SendInput refused it. Does not wait.
bool SendPointerMove(int x, int y);
// Moves the pointer with an absolute SendInput move and waits until GetCursorPos says it is there.
::testing::AssertionResult MovePointer(int x, int y);
// The same, also done once arrivedOtherwise() says the move has had its effect.
::testing::AssertionResult MovePointerUntil(int x, int y, const std::function<bool()>& arrivedOtherwise);
// Moves the pointer as a hand on the mouse does, with the system's own move (SetCursorPos), and waits
// until it is there. Under Wine an injected move leaves the X pointer behind, and Wine takes the pointer
// back to it once the move is a tenth of a second old: a window that has not handled the injected move
// by then gets only the move back.
::testing::AssertionResult PlacePointer(int x, int y);

// ---- the probe hook in Sorvane's GUI thread

class Probe {
public:
    Probe() = default;
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    // Hooks the thread of `target` and waits until the hook reports a first marker.
    ::testing::AssertionResult Attach(HWND target);
    void Detach();
    // Posts a marker to the target and waits until the hook reports it: everything posted to
    // that thread before has then been taken from its queue and handled.
    ::testing::AssertionResult Flush();
    // The WM_HOTKEY identifiers reported so far, in order; Take also forgets them.
    const std::vector<WPARAM>& Hotkeys() const { return hotkeys_; }
    std::vector<WPARAM> TakeHotkeys();
    // The text of the tooltip that the target window owns, read inside Sorvane's process.
    ::testing::AssertionResult ReadTipText(std::string* text);
    // The texts under a window of Sorvane's GUI thread, one per line, misfits marked (probe.h).
    ::testing::AssertionResult ReadTexts(HWND window, std::vector<std::string>* lines);
    // Makes Sorvane's GUI thread sleep for `milliseconds` and waits until the sleep has begun.
    ::testing::AssertionResult HoldThread(DWORD milliseconds);
    static std::string Describe(const std::vector<WPARAM>& ids);

private:
    static LRESULT CALLBACK SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND target_ = nullptr;
    HWND sink_ = nullptr;
    HHOOK hook_ = nullptr;
    WPARAM markerSent_ = 0;
    WPARAM markerSeen_ = 0;
    std::vector<WPARAM> hotkeys_;
    std::vector<HWND> hotkeyWindows_;  // the window each hotkey was addressed to
    bool tipTextSeen_ = false;
    int holdsSeen_ = 0;  // sleeps the probe has begun
    std::string tipText_;
    std::vector<std::string> texts_;
    bool textsSeen_ = false;
};

// Sorvane's own texts as Windows picks them for a user of `language` (that language's, its neutral
// form's or English's), read from Sorvane.exe: a string, a menu's items, a dialog's labels and buttons.
std::string SorvaneString(LANGID language, UINT id);
std::vector<std::string> SorvaneMenu(LANGID language, UINT id);
std::vector<std::string> SorvaneDialog(LANGID language, UINT id);

// ---- Sorvane's process

class SorvaneProcess {
public:
    SorvaneProcess() = default;
    ~SorvaneProcess() { Stop(); }
    SorvaneProcess(const SorvaneProcess&) = delete;
    SorvaneProcess& operator=(const SorvaneProcess&) = delete;

    // Starts the executable with the given current folder (the executable's own when empty) and
    // arguments, all UTF-8. A suspended start runs nothing of it until Resume.
    ::testing::AssertionResult Launch(const std::string& exePath, const std::string& folder = {},
                                      bool suspended = false, const std::string& arguments = {});
    bool Resume();
    // Waits for its top-level window of class "SORVANE".
    ::testing::AssertionResult WaitForMainWindow();
    ::testing::AssertionResult WaitForExit(DWORD* exitCode, DWORD timeoutMs = kWaitMs);
    bool Running() const;
    // Posts the Exit command, waits, and terminates the process as a last resort. Never fails.
    void Stop();

    HWND window() const { return window_; }
    DWORD id() const { return processId_; }

private:
    HANDLE process_ = nullptr;
    HANDLE suspendedThread_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// Terminates every process that owns a window of class "SORVANE".
::testing::AssertionResult KillStraySorvane();

// Each test starts from a clean desktop: no Sorvane, no settings key, the pointer mid-screen;
// and leaves one behind.
class SorvaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Launch, main window, end of start-up (see WaitForStartupEnd).
    ::testing::AssertionResult StartSorvane(SorvaneProcess& sorvane,
                                            const std::string& exePath = SorvanePath(),
                                            const std::string& folder = {});
    // Launch and main window; then the one conflict warning start-up shows for the combination
    // ("Win-Z"), checked and dismissed; then the end of start-up (a second warning fails it).
    ::testing::AssertionResult StartSorvaneThroughWarning(SorvaneProcess& sorvane, const char* combination);
    // Start-up is over when the tray icon exists and the message loop handles a probe marker.
    // A warning box during the wait is a failure that quotes it.
    ::testing::AssertionResult WaitForStartupEnd(SorvaneProcess& sorvane);
    // Posts the Exit command and expects the process to end with exit code 0.
    ::testing::AssertionResult ExitSorvane(SorvaneProcess& sorvane);

    // Waits for a visible message box of the process, other than `previous`.
    ::testing::AssertionResult WaitForMessageBox(const SorvaneProcess& sorvane, HWND* box,
                                                 HWND previous = nullptr);
    // Presses OK and waits until the box is gone.
    ::testing::AssertionResult DismissMessageBox(HWND box);

    // Moves the pointer and waits until Sorvane has handled whatever the move made it post.
    ::testing::AssertionResult MoveAndSettle(const SorvaneProcess& sorvane, int x, int y);
    // Pushes the pointer into the bottom-right corner: one gesture report, and the Overview it
    // opens, with nothing to list, says so in its "No Active Window" box; OK closes both. Parks
    // the pointer again.
    ::testing::AssertionResult CornerOpensTheEmptyOverview(const SorvaneProcess& sorvane);
    // The same at a given point; *covered gets the Overview's window rectangle while it is open.
    ::testing::AssertionResult CornerOpensTheEmptyOverviewAt(const SorvaneProcess& sorvane, POINT corner,
                                                             RECT* covered);
    ::testing::AssertionResult ParkPointer();

    Probe probe;
};

// The warning a refused combination gets, with its name as "Win-Z".
std::string ConflictWarning(const char* combination);

}  // namespace e2e
