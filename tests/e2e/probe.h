// The contract between the end-to-end driver and SorvaneProbe.dll, the message hook the driver
// installs on Sorvane's GUI thread to see which messages that thread takes from its queue.
#pragma once

#include <windows.h>

// The driver's message-only window that receives the probe's reports.
constexpr char kProbeSinkClass[] = "SorvaneProbeSink";

// A WM_HOTKEY was taken from the queue. wParam: the hotkey identifier; lParam: the target window.
constexpr UINT kProbeHotkeyReport = WM_APP + 1;
// A marker was taken from the queue. wParam: the marker's sequence number; lParam: its window.
constexpr UINT kProbeMarkerReport = WM_APP + 2;
// Sorvane's thread starts to sleep (see kProbeBusyTag). wParam: how long, in milliseconds.
constexpr UINT kProbeBusyReport = WM_APP + 3;

// A marker is a WM_NULL with this wParam and a sequence number in lParam. Sorvane ignores it
// (WM_NULL does nothing); seeing it come back proves every message posted before it was handled.
constexpr WPARAM kProbeMarkerTag = 0x5EB0;

// A WM_NULL with this wParam posted to Sorvane's main window asks the probe for the text of the
// tooltip the window owns; the probe sends it to the sink as WM_COPYDATA with this dwData.
constexpr WPARAM kProbeTipTextTag = 0x5EB1;

// A WM_NULL with this wParam posted to Sorvane's main window makes the probe hold Sorvane's GUI
// thread for lParam milliseconds (at most kProbeBusyLimitMs), as a long screen grab would. The
// probe reports before it sleeps.
constexpr WPARAM kProbeBusyTag = 0x5EB2;
constexpr DWORD kProbeBusyLimitMs = 10000;

// A WM_NULL with this wParam posted to a window of Sorvane's GUI thread asks the probe for the texts
// under it, one per line, in UTF-16 as WM_COPYDATA with this dwData: a menu window's items, or the
// window's and each descendant's. A static text, button, check box, radio button or drop-down list
// (its widest item) whose text does not fit it, measured in its own font, gets "!" before its line and what it needs after it.
constexpr WPARAM kProbeTextsTag = 0x5EB3;

// The hook procedure's export; i686 decorates the stdcall name as "ProbeGetMsg@12".
constexpr char kProbeProcName[] = "ProbeGetMsg";
constexpr char kProbeProcDecoratedName[] = "ProbeGetMsg@12";
