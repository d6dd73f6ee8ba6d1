// The list object is a plain record whose first member is the interface's function table, written
// against the C form of the COM headers: no class, no virtual function.
#define CINTERFACE
#define COBJMACROS
#include "overview/accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <new>

#include "common/language.h"
#include "common/system.h"
#include "overview/announce.h"
#include "overview/find.h"
#include "overview/selection.h"
#include "overview/showing.h"
#include "resources/resource.h"
#include "windows/windowlist.h"

// One showing's list object. Its calls arrive on the GUI thread (the object lives in that thread's
// apartment), as do its references' releases.
struct AccessibleTileList {
    IAccessible face;  // the function table: a pointer to `face` is the object's COM identity
    LONG references;
    Showing* current;  // null once the showing has ended: every call then fails
    HWND window;
};

namespace {

// IAccessible's interface id, spelled out: the 64-bit import library gives its name to a code thunk
// of oleacc.dll, not to the id.
constexpr IID kAccessibleInterface{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// What only a screen reader needs: COM in the GUI thread and five calls of the COM, automation and
// accessibility libraries. Loaded from the system folder when a reader first asks for the Overview,
// and kept to the end: a program that no reader asks costs nothing of them. GUI thread only.
struct ReaderSupport {
    bool tried = false;
    bool ready = false;      // every call found and COM initialised on the GUI thread
    bool comInitialised = false;
    decltype(&CoUninitialize) coUninitialize = nullptr;
    decltype(&CoDisconnectObject) coDisconnectObject = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
};
ReaderSupport reader;

bool ReaderSupportReady()
{
    if (reader.tried) return reader.ready;
    reader.tried = true;
    // Kept loaded for the life of the process.
    HMODULE ole = LoadSystemLibrary(L"ole32.dll");
    HMODULE automation = LoadSystemLibrary(L"oleaut32.dll");
    HMODULE accessibility = LoadSystemLibrary(L"oleacc.dll");
    auto initialise = ProcedureOf<decltype(&CoInitializeEx)>(ole, "CoInitializeEx");
    reader.coUninitialize = ProcedureOf<decltype(&CoUninitialize)>(ole, "CoUninitialize");
    reader.coDisconnectObject = ProcedureOf<decltype(&CoDisconnectObject)>(ole, "CoDisconnectObject");
    reader.sysAllocString = ProcedureOf<decltype(&SysAllocString)>(automation, "SysAllocString");
    reader.lresultFromObject = ProcedureOf<decltype(&LresultFromObject)>(accessibility, "LresultFromObject");
    reader.accessibleObjectFromWindow =
        ProcedureOf<decltype(&AccessibleObjectFromWindow)>(accessibility, "AccessibleObjectFromWindow");
    if (!initialise || !reader.coUninitialize || !reader.coDisconnectObject || !reader.sysAllocString ||
        !reader.lresultFromObject || !reader.accessibleObjectFromWindow)
        return false;
    // The list object lives in the GUI thread's apartment.
    reader.comInitialised = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED));
    reader.ready = reader.comInitialised;
    return reader.ready;
}

AccessibleTileList* ObjectOf(IAccessible* face) { return reinterpret_cast<AccessibleTileList*>(face); }

// Only called by a reader, so only once the support is loaded.
HRESULT Text(const wchar_t* text, BSTR* out)
{
    *out = reader.sysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChildVariant(VARIANT* out, long id)
{
    *out = VARIANT{};
    out->vt = VT_I4;
    out->lVal = id;
}

// What a call's child id names in the live object's showing.
struct Resolved {
    HRESULT result;  // E_FAIL once cut off, E_INVALIDARG for an id that names nothing, else S_OK
    Showing* current;
    AccessibleChild target;
    WindowEntry* entry;  // the tile's entry, or null for the list
};

Resolved Resolve(IAccessible* face, const VARIANT& child)
{
    Resolved resolved{E_FAIL, ObjectOf(face)->current, {}, nullptr};
    if (!resolved.current) return resolved;
    const WindowList& list = resolved.current->windowList;
    resolved.target = ResolveChildId(child.vt == VT_I4, child.vt == VT_I4 ? child.lVal : 0, list.count);
    if (resolved.target.kind == AccessibleChild::Invalid) {
        resolved.result = E_INVALIDARG;
    } else {
        resolved.result = S_OK;
        if (resolved.target.kind == AccessibleChild::Tile) resolved.entry = EntryAtIndex(list, resolved.target.index);
    }
    return resolved;
}

ULONG STDMETHODCALLTYPE AddRef(IAccessible* face) { return InterlockedIncrement(&ObjectOf(face)->references); }

ULONG STDMETHODCALLTYPE Release(IAccessible* face)
{
    const LONG left = InterlockedDecrement(&ObjectOf(face)->references);
    if (left == 0) delete ObjectOf(face);
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE QueryInterface(IAccessible* face, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, kAccessibleInterface))
        return E_NOINTERFACE;
    *out = face;
    AddRef(face);
    return S_OK;
}

// IDispatch: readers call the interface directly; there is no type information.
HRESULT STDMETHODCALLTYPE GetTypeInfoCount(IAccessible*, UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE GetTypeInfo(IAccessible*, UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE GetIDsOfNames(IAccessible*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE Invoke(IAccessible*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccParent(IAccessible* face, IDispatch** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!ObjectOf(face)->current) return E_FAIL;
    return reader.accessibleObjectFromWindow(ObjectOf(face)->window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                             reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE AccChildCount(IAccessible* face, long* count)
{
    if (!count) return E_POINTER;
    const Showing* current = ObjectOf(face)->current;
    if (!current) return E_FAIL;
    *count = static_cast<long>(current->windowList.count);
    return S_OK;
}

// The tiles are simple elements: they have no object of their own.
HRESULT STDMETHODCALLTYPE AccChild(IAccessible* face, VARIANT child, IDispatch** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    return r.target.kind == AccessibleChild::Tile ? S_FALSE : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE AccName(IAccessible* face, VARIANT child, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    if (!r.entry) return Text(LoadText(IDS_READER_LIST).c_str(), out);
    ReadFileNames(*r.current);
    return Text(TileAccessibleName(r.entry->title, r.entry->fileName).c_str(), out);
}

// The list's value is the find text typed so far.
HRESULT STDMETHODCALLTYPE AccValue(IAccessible* face, VARIANT child, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    if (r.target.kind == AccessibleChild::Tile) return DISP_E_MEMBERNOTFOUND;
    return Text(FindText(*r.current), out);
}

// Description, help and keyboard shortcut: none, for the list or a tile.
HRESULT STDMETHODCALLTYPE AccNoText(IAccessible* face, VARIANT child, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    return DISP_E_MEMBERNOTFOUND;
}

long RoleOf(const Resolved& r) { return r.entry ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_LIST; }

long StateOf(const Resolved& r)
{
    if (!r.entry) return STATE_SYSTEM_FOCUSABLE;
    return static_cast<long>(TileAccessibleState(r.entry == r.current->windowList.selected, r.entry->dimmed));
}

// Role and state: a number worked out from what the child id names.
template <long (*Of)(const Resolved&)>
HRESULT STDMETHODCALLTYPE AccNumber(IAccessible* face, VARIANT child, VARIANT* out)
{
    if (!out) return E_POINTER;
    *out = VARIANT{};
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    SetChildVariant(out, Of(r));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccHelpTopic(IAccessible* face, BSTR* file, VARIANT child, long* topic)
{
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    return DISP_E_MEMBERNOTFOUND;
}

// The focus and the selection are the selected tile (the focus only while the Overview is in front).
HRESULT STDMETHODCALLTYPE AccFocus(IAccessible* face, VARIANT* out)
{
    if (!out) return E_POINTER;
    *out = VARIANT{};
    const AccessibleTileList* object = ObjectOf(face);
    if (!object->current) return E_FAIL;
    if (GetForegroundWindow() != object->window) return S_FALSE;
    SetChildVariant(out, AccessibleChildId(*object->current, object->current->windowList.selected));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccSelection(IAccessible* face, VARIANT* out)
{
    if (!out) return E_POINTER;
    *out = VARIANT{};
    const Showing* current = ObjectOf(face)->current;
    if (!current) return E_FAIL;
    if (!current->windowList.selected) return S_FALSE;
    SetChildVariant(out, AccessibleChildId(*current, current->windowList.selected));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccDefaultAction(IAccessible* face, VARIANT child, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    return r.target.kind == AccessibleChild::Tile ? Text(LoadText(IDS_READER_SWITCH).c_str(), out) : DISP_E_MEMBERNOTFOUND;
}

// Taking the selection or the focus moves the selection there; a dimmed tile cannot take it.
HRESULT STDMETHODCALLTYPE AccSelect(IAccessible* face, long flags, VARIANT child)
{
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    if (!r.entry || (flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) == 0) return E_INVALIDARG;
    if (r.entry->dimmed || r.current->overviewBuilding) return S_FALSE;
    if (r.entry != r.current->windowList.selected) MoveSelection(*r.current, ObjectOf(face)->window, r.entry);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccLocation(IAccessible* face, long* x, long* y, long* width, long* height, VARIANT child)
{
    if (!x || !y || !width || !height) return E_POINTER;
    *x = *y = *width = *height = 0;
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    RECT area{};
    if (r.entry) {
        area = r.entry->tile;  // client coordinates start at the monitor's corner
        OffsetRect(&area, r.current->overviewMonitor.left, r.current->overviewMonitor.top);
    } else if (!GetWindowRect(ObjectOf(face)->window, &area)) {
        return E_FAIL;
    }
    *x = area.left;
    *y = area.top;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
}

// Next and previous among the tiles; the list's first and last child.
HRESULT STDMETHODCALLTYPE AccNavigate(IAccessible* face, long direction, VARIANT start, VARIANT* out)
{
    if (!out) return E_POINTER;
    *out = VARIANT{};
    const Resolved r = Resolve(face, start);
    if (FAILED(r.result)) return r.result;
    const long count = static_cast<long>(r.current->windowList.count);
    long id = CHILDID_SELF;
    if (r.target.kind == AccessibleChild::List && direction == NAVDIR_FIRSTCHILD) id = count > 0 ? 1 : 0;
    if (r.target.kind == AccessibleChild::List && direction == NAVDIR_LASTCHILD) id = count;
    if (r.target.kind == AccessibleChild::Tile && direction == NAVDIR_NEXT && r.target.index + 1 < count)
        id = r.target.index + 2;
    if (r.target.kind == AccessibleChild::Tile && direction == NAVDIR_PREVIOUS && r.target.index > 0) id = r.target.index;
    if (id == CHILDID_SELF) return S_FALSE;
    SetChildVariant(out, id);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccHitTest(IAccessible* face, long x, long y, VARIANT* out)
{
    if (!out) return E_POINTER;
    *out = VARIANT{};
    const AccessibleTileList* object = ObjectOf(face);
    if (!object->current) return E_FAIL;
    const RECT& monitor = object->current->overviewMonitor;
    RECT area{};
    const POINT point{x, y};
    if (!GetWindowRect(object->window, &area) || !PtInRect(&area, point)) return S_FALSE;
    SetChildVariant(out, AccessibleChildId(*object->current,
                                   TileAtPoint(*object->current, x - monitor.left, y - monitor.top)));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccDoDefaultAction(IAccessible* face, VARIANT child)
{
    const Resolved r = Resolve(face, child);
    if (FAILED(r.result)) return r.result;
    if (!r.entry) return DISP_E_MEMBERNOTFOUND;
    if (r.entry->dimmed) return E_FAIL;
    // The switch hides the Overview: not inside the reader's call.
    return PostMessageW(ObjectOf(face)->window, WM_ACCESSIBLE_SWITCH, r.current->showingNumber, r.target.index + 1)
               ? S_OK
               : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AccPutText(IAccessible*, VARIANT, BSTR) { return E_NOTIMPL; }

IAccessibleVtbl tileListFunctions = {
    QueryInterface,   AddRef,           Release,      GetTypeInfoCount, GetTypeInfo,  GetIDsOfNames,
    Invoke,           AccParent,        AccChildCount, AccChild,        AccName,      AccValue,
    AccNoText,        AccNumber<RoleOf>, AccNumber<StateOf>,     AccNoText,        AccHelpTopic, AccNoText,
    AccFocus,         AccSelection,     AccDefaultAction, AccSelect,    AccLocation,  AccNavigate,
    AccHitTest,       AccDoDefaultAction, AccPutText, AccPutText,
};

}  // namespace

AccessibleChild ResolveChildId(bool isInteger, long id, unsigned count)
{
    if (!isInteger) return {};
    if (id == CHILDID_SELF) return {AccessibleChild::List, -1};
    if (id >= 1 && static_cast<unsigned long>(id) <= count) return {AccessibleChild::Tile, static_cast<int>(id - 1)};
    return {};
}

DWORD TileAccessibleState(bool selected, bool dimmed)
{
    DWORD state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (selected) state |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    if (dimmed) state |= STATE_SYSTEM_UNAVAILABLE;
    return state;
}

std::wstring TileAccessibleName(const wchar_t* title, const wchar_t* fileName)
{
    std::wstring name = title ? title : L"";
    if (fileName && fileName[0] != L'\0') name += (name.empty() ? L"" : L" \u2014 ") + std::wstring(fileName);
    return name;
}

bool AnswerAccessibleObject(Showing& current, HWND window, WPARAM flags, LPARAM objectId, LRESULT* result)
{
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || !ReaderSupportReady()) return false;
    if (!current.accessibleList) {
        current.accessibleList = new (std::nothrow) AccessibleTileList{{&tileListFunctions}, 1, &current, window};
        if (!current.accessibleList) return false;
    }
    *result = reader.lresultFromObject(kAccessibleInterface, flags,
                                       reinterpret_cast<IUnknown*>(&current.accessibleList->face));
    return true;
}

void CutOffAccessibleObject(Showing& current)
{
    AccessibleTileList* object = current.accessibleList;
    if (!object) return;
    current.accessibleList = nullptr;
    object->current = nullptr;
    reader.coDisconnectObject(reinterpret_cast<IUnknown*>(&object->face), 0);  // loaded: an object was made
    Release(&object->face);
}

void EndReaderSupport()
{
    if (reader.comInitialised) reader.coUninitialize();
    reader.comInitialised = false;
}
