// SorvaneProbe.dll: a WH_GETMESSAGE hook that runs inside Sorvane's GUI thread. It reports each
// WM_HOTKEY and each driver marker the thread removes from its queue to the driver's sink window,
// and changes nothing, except that on the driver's request it keeps the thread busy for a while.
#include <windows.h>
#include <commctrl.h>

#include <string>

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

// A control's text, marked when it does not fit: in the control's font, in its width less a check
// box's square, a button's edges or a drop-down list's arrow, and on as many lines as its height
// holds where it wraps. A drop-down list's text is its widest item.
std::wstring TextLine(HWND control)
{
    wchar_t text[1024] = {}, kind[32] = {};
    GetWindowTextW(control, text, 1024);
    GetClassNameW(control, kind, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool button = lstrcmpiW(kind, L"Button") == 0, label = lstrcmpiW(kind, L"Static") == 0;
    const LONG type = style & (button ? BS_TYPEMASK : SS_TYPEMASK);
    const bool combo = lstrcmpiW(kind, L"ComboBox") == 0;
    if (!combo && (!text[0] || !(button ? type <= BS_AUTO3STATE || type == BS_AUTORADIOBUTTON
                                        : label && (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP))))
        return text;
    RECT have{};
    GetClientRect(control, &have);
    HDC dc = GetDC(control);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    if (button) have.right -= MulDiv(type <= BS_DEFPUSHBUTTON ? 8 : 18, dpi, 96);
    // A drop-down list shows its widest item beside the arrow.
    if (combo) have.right -= GetSystemMetrics(SM_CXVSCROLL) + MulDiv(6, dpi, 96);
    for (LRESULT item = 0, widest = 0; combo && item < SendMessageW(control, CB_GETCOUNT, 0, 0); ++item) {
        wchar_t name[1024] = {};
        SIZE size{};
        if (SendMessageW(control, CB_GETLBTEXTLEN, item, 0) >= 1024) continue;
        SendMessageW(control, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(name));
        GetTextExtentPoint32W(dc, name, lstrlenW(name), &size);
        if (size.cx <= widest) continue;
        lstrcpyW(text, name);
        widest = size.cx;
    }
    const bool wraps = button ? (style & BS_MULTILINE) != 0 : label && type <= SS_RIGHT;
    RECT need{0, 0, have.right, 0};
    DrawTextW(dc, text, -1, &need,
              DT_CALCRECT | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE) | (style & SS_NOPREFIX && label ? DT_NOPREFIX : 0));
    SelectObject(dc, font);
    ReleaseDC(control, dc);
    if (need.right <= have.right && (!wraps || need.bottom <= have.bottom)) return text;
    wchar_t sizes[64];
    wsprintfW(sizes, L" (needs %dx%d, has %dx%d)", need.right, need.bottom, have.right, have.bottom);
    return std::wstring(L"!") + text + sizes;
}

BOOL CALLBACK AddTextLine(HWND control, LPARAM lines)
{
    reinterpret_cast<std::wstring*>(lines)->append(TextLine(control)).append(L"\n");
    return TRUE;
}

// Inside Sorvane: the texts under `window` (see kProbeTextsTag), sent to the driver's sink.
void ReportTexts(HWND window)
{
    std::wstring lines;
    wchar_t kind[32] = {};
    GetClassNameW(window, kind, 32);
    if (lstrcmpW(kind, L"#32768") == 0) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int item = 0; item < GetMenuItemCount(menu); ++item) {
            wchar_t text[256] = {};
            if (GetMenuStringW(menu, item, text, 256, MF_BYPOSITION) > 0) lines.append(text).append(L"\n");
        }
    } else {
        AddTextLine(window, reinterpret_cast<LPARAM>(&lines));
        EnumChildWindows(window, AddTextLine, reinterpret_cast<LPARAM>(&lines));
    }
    COPYDATASTRUCT data{kProbeTextsTag, static_cast<DWORD>(lines.size() * sizeof(wchar_t)), lines.data()};
    DWORD_PTR ignored = 0;
    if (HWND sink = FindWindowExA(HWND_MESSAGE, nullptr, kProbeSinkClass, nullptr))
        SendMessageTimeoutW(sink, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&data),
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
        else if (message->message == WM_NULL && message->wParam == kProbeTextsTag)
            ReportTexts(message->hwnd);
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
