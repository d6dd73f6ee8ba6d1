// The bare Win32 processes the benchmark measures Sorvane's idle memory against: the same runtime and
// manifest, one hidden window and a message loop, nothing else. With "threaded" it also has a second
// thread waiting in a message loop, as an idle Sorvane has for its hot corner: Wine gives every
// thread about 1 MB of its own whatever the thread does, which this one shows apart from Sorvane's
// weight. Ends when its window is closed.
#include <windows.h>

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
    if (commandLine && strstr(commandLine, "threaded"))
        CloseHandle(CreateThread(nullptr, 64 * 1024, WaitingThread, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
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
