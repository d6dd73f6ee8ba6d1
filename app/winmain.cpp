#include <windows.h>

#include "app/app.h"
#include "common/system.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Before anything can load a library by bare name: none may come from our folder or the
    // current one.
    RestrictLibrarySearch();
    return RunSorvane(instance);
}
