// The bare Win32 processes the benchmark measures Sorvane's idle memory against: the same runtime and
// manifest, one hidden window and a message loop, nothing else. With "shaped" it also holds what
// every Sorvane holds whatever its own code does: the common controls (loaded as its manifest asks,
// as its tooltip, buttons and sheet need them) and a second thread waiting in a message loop (the
// mouse hook's). Ends when its window is closed.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI WaitingThread(LPVOID)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine && strstr(commandLine, "shaped")) {
        // By its bare name, so that the manifest's version 6 is the one loaded.
        using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        HMODULE controls = LoadLibraryW(L"comctl32.dll");
        auto initialise = reinterpret_cast<Initialise>(
            reinterpret_cast<void (*)()>(GetProcAddress(controls, "InitCommonControlsEx")));
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
        if (initialise) initialise(&classes);
        CloseHandle(CreateThread(nullptr, 64 * 1024, WaitingThread, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"SorvaneBareProcess";
    RegisterClassW(&windowClass);
    CreateWindowExW(0, windowClass.lpszClassName, L"Bare process", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                    nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
