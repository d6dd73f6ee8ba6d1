// SorvaneProbe.dll: a WH_GETMESSAGE hook that runs inside Sorvane's GUI thread. It reports each
// WM_HOTKEY and each driver marker the thread removes from its queue to the driver's sink window,
// and changes nothing, except that on the driver's request it keeps the thread busy for a while.
#include <windows.h>
#include <commctrl.h>

#include "tests/e2e/probe.h"

namespace {

void Report(UINT kind, WPARAM wParam, HWND window)
{
    if (HWND sink = FindWindowExA(HWND_MESSAGE, nullptr, kProbeSinkClass, nullptr))
        PostMessageA(sink, kind, wParam, reinterpret_cast<LPARAM>(window));
}

// Inside Sorvane: the text of the tooltip that `owner` owns, sent to the driver's sink.
void ReportTipText(HWND owner)
{
    HWND sink = FindWindowExA(HWND_MESSAGE, nullptr, kProbeSinkClass, nullptr);
    if (!sink) return;
    char text[512] = {};
    for (HWND tip = nullptr; (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr));) {
        if (GetWindow(tip, GW_OWNER) != owner) continue;
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = owner;
        tool.uId = reinterpret_cast<UINT_PTR>(tip);
        tool.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        break;
    }
    COPYDATASTRUCT data{kProbeTipTextTag, static_cast<DWORD>(lstrlenA(text) + 1), text};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(sink, WM_COPYDATA, reinterpret_cast<WPARAM>(owner), reinterpret_cast<LPARAM>(&data),
                        SMTO_NORMAL, 5000, &ignored);
}

// Holds Sorvane's GUI thread: nothing in its queue, and no message sent to it, is handled meanwhile.
void KeepBusy(DWORD milliseconds)
{
    if (milliseconds > kProbeBusyLimitMs) milliseconds = kProbeBusyLimitMs;
    Report(kProbeBusyReport, milliseconds, nullptr);
    Sleep(milliseconds);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMsg(int code, WPARAM removal, LPARAM data)
{
    // PM_NOREMOVE peeks would count one message several times.
    if (code == HC_ACTION && removal == PM_REMOVE && data != 0) {
        const MSG* message = reinterpret_cast<const MSG*>(data);
        if (message->message == WM_HOTKEY)
            Report(kProbeHotkeyReport, message->wParam, message->hwnd);
        else if (message->message == WM_NULL && message->wParam == kProbeMarkerTag)
            Report(kProbeMarkerReport, static_cast<WPARAM>(message->lParam), message->hwnd);
        else if (message->message == WM_NULL && message->wParam == kProbeTipTextTag)
            ReportTipText(message->hwnd);
        else if (message->message == WM_NULL && message->wParam == kProbeBusyTag)
            KeepBusy(static_cast<DWORD>(message->lParam));
    }
    return CallNextHookEx(nullptr, code, removal, data);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
