#include "common/instance.h"

HINSTANCE appInstance;
char appTitle[kAppTextCapacity];
HWND mainWindow;
DWORD processorMHz;
bool exitRequested;
