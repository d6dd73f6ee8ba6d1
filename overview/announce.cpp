#include "overview/announce.h"

#include "overview/showing.h"
#include "windows/windowlist.h"

long AccessibleChildId(const Showing& current, const WindowEntry* entry)
{
    const int index = entry ? IndexOfEntry(current.windowList, entry) : -1;
    return index < 0 ? CHILDID_SELF : index + 1;
}

void AnnounceSelection(const Showing& current, HWND window)
{
    if (!current.windowList.selected) return;
    const long id = AccessibleChildId(current, current.windowList.selected);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, id);
    if (GetForegroundWindow() == window) NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, id);
}

void AnnounceFindText(HWND window) { NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF); }
