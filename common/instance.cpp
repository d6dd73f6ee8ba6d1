#include "common/instance.h"

HINSTANCE appInstance;
wchar_t appTitle[kAppTextCapacity];
HWND mainWindow;
DWORD processorMHz;
bool exitRequested;
