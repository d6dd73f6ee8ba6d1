// SorvaneProbe.dll: a WH_GETMESSAGE hook that runs inside Sorvane's GUI thread. It reports each
// WM_HOTKEY and each driver marker the thread removes from its queue to the driver's sink window,
// and changes nothing.
#include <windows.h>

#include "tests/e2e/probe.h"

namespace {

void Report(UINT kind, WPARAM wParam, HWND window)
{
    if (HWND sink = FindWindowExA(HWND_MESSAGE, nullptr, kProbeSinkClass, nullptr))
        PostMessageA(sink, kind, wParam, reinterpret_cast<LPARAM>(window));
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
    }
    return CallNextHookEx(nullptr, code, removal, data);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
