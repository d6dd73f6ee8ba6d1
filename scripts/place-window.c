/* Moves a top-level window of the Wine desktop it runs in, for the demo of run.sh.
 *   place-window.exe TITLE X Y [WIDTH HEIGHT]
 * Waits up to 10 s for a window with exactly that title, then moves it (and sizes it when a
 * width and height are given) without activating it. Exit code 0 when the window was placed. */
#include <windows.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6) return 2;
    HWND window = NULL;
    for (int i = 0; i < 100 && !(window = FindWindowA(NULL, argv[1])); ++i) Sleep(100);
    if (!window) return 1;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int width = 0, height = 0;
    if (argc == 6) {
        width = atoi(argv[4]);
        height = atoi(argv[5]);
    } else {
        flags |= SWP_NOSIZE;
    }
    return SetWindowPos(window, NULL, atoi(argv[2]), atoi(argv[3]), width, height, flags) ? 0 : 1;
}
