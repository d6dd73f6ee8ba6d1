// The Overview as a screen reader meets it, from another process: the WinEvents Sorvane raises,
// and its tiles read through MSAA as the system hands them out.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

struct SeenEvent {
    DWORD event;
    LONG child;
};
// Filled by the hook's callback, which only records: reading the object there would pump messages
// inside the callback.
std::vector<SeenEvent> seen;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD)
{
    const bool heard = event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_SELECTION ||
                       event == EVENT_OBJECT_NAMECHANGE || event == EVENT_OBJECT_VALUECHANGE;
    if (object == OBJID_CLIENT && heard) seen.push_back({event, child});
}

bool Heard(DWORD event, LONG child)
{
    for (const SeenEvent& one : seen)
        if (one.event == event && one.child == child) return true;
    return false;
}

VARIANT Child(LONG id)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

class ScreenReader : public OverviewTest {
protected:
    void SetUp() override
    {
        OverviewTest::SetUp();
        comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override
    {
        if (list) list->Release();
        if (hook) UnhookWinEvent(hook);
        if (comReady) CoUninitialize();
        OverviewTest::TearDown();
    }
    // Waits for SELECTION and then FOCUS on the child.
    ::testing::AssertionResult SelectionAndFocusOn(LONG id)
    {
        if (PollUntil([&] {
                for (size_t i = 0; i + 1 < seen.size(); ++i)
                    if (seen[i].event == EVENT_OBJECT_SELECTION && seen[i].child == id &&
                        seen[i + 1].event == EVENT_OBJECT_FOCUS && seen[i + 1].child == id)
                        return true;
                return false;
            }))
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure() << "events:";
        for (const SeenEvent& event : seen) failure << " " << std::hex << event.event << std::dec << "/" << event.child;
        return failure;
    }
    std::string Name(LONG id)
    {
        BSTR name = nullptr;
        if (FAILED(list->get_accName(Child(id), &name)) || !name) return "<no name>";
        std::string text = Utf8(name);
        SysFreeString(name);
        return text;
    }
    LONG Role(LONG id) { return Integer(false, id); }
    LONG State(LONG id) { return Integer(true, id); }
    LONG Integer(bool state, LONG id)
    {
        VARIANT value;
        VariantInit(&value);
        const HRESULT result = state ? list->get_accState(Child(id), &value) : list->get_accRole(Child(id), &value);
        return SUCCEEDED(result) && value.vt == VT_I4 ? value.lVal : -1;
    }
    bool comReady = false;
    HWINEVENTHOOK hook = nullptr;
    IAccessible* list = nullptr;
};

TEST_F(ScreenReader, HearsTheSelectionReadsTheTilesAndSwitchesByTheDefaultAction)
{
    ASSERT_TRUE(windows.Open(4));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(4);  // tile i is "Test window 4 - i"
    seen.clear();
    hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, RecordEvent, sorvane.id(), 0,
                           WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hook);

    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    EXPECT_TRUE(SelectionAndFocusOn(1)) << "the Overview came up";
    ASSERT_EQ(S_OK, AccessibleObjectFromWindow(sorvane.window(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&list)));
    EXPECT_EQ("Sorvane", Name(CHILDID_SELF));
    EXPECT_EQ(ROLE_SYSTEM_LIST, Role(CHILDID_SELF));
    long count = 0;
    EXPECT_EQ(S_OK, list->get_accChildCount(&count));
    EXPECT_EQ(4, count);
    EXPECT_EQ("Test window 4 \xE2\x80\x94 SorvaneTestWindows.exe", Name(1));
    EXPECT_EQ(ROLE_SYSTEM_LISTITEM, Role(1));
    const LONG chosen = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    EXPECT_EQ(chosen, State(1));
    for (int i = 0; i < 4; ++i) {
        long x = 0, y = 0, width = 0, height = 0;
        EXPECT_EQ(S_OK, list->accLocation(&x, &y, &width, &height, Child(i + 1)));
        EXPECT_EQ(RectText(tiles[i]), RectText(RECT{x, y, x + width, y + height})) << "tile " << i;
    }
    VARIANT hit;
    VariantInit(&hit);
    EXPECT_EQ(S_OK, list->accHitTest(tiles[3].left + 5, tiles[3].top + 5, &hit));
    EXPECT_EQ(4, hit.vt == VT_I4 ? hit.lVal : -1);

    // Tab: the reader hears the next tile, and the states follow.
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectionAndFocusOn(2)) << "Tab";
    EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE, State(1));
    EXPECT_EQ(chosen, State(2));
    VARIANT focus;
    VariantInit(&focus);
    EXPECT_EQ(S_OK, list->get_accFocus(&focus));
    EXPECT_EQ(2, focus.vt == VT_I4 ? focus.lVal : -1);

    // Typing: the list's value is the typed text, and its change is heard as such.
    PressKey('2');
    EXPECT_TRUE(PollUntil([] { return Heard(EVENT_OBJECT_VALUECHANGE, CHILDID_SELF); })) << "the typed text";
    EXPECT_FALSE(Heard(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF)) << "the list's name did not change";
    BSTR value = nullptr;
    EXPECT_EQ(S_OK, list->get_accValue(Child(CHILDID_SELF), &value));
    EXPECT_EQ("2", value ? Utf8(value) : "<no value>");
    SysFreeString(value);

    // The default action on the third tile switches to its window; the old object then fails.
    EXPECT_EQ(S_OK, list->accDoDefaultAction(Child(3)));
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    HWND third = nullptr;
    for (HWND window : windows.windows())
        if (TextOf(window) == "Test window 2") third = window;
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == third; }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    EXPECT_TRUE(FAILED(list->get_accChildCount(&count))) << "a reference from an ended showing still answers";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
