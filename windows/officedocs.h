// Office documents: an Office application's document window is shown without activation, given a
// moment to draw and printed; then its application's frame whose title holds the document's (among
// the frames listing set aside, windows/collect.h) is printed in its stead.
#pragma once

#include <windows.h>

#include "common/owners.h"
#include "windows/capture.h"
#include "windows/captureparts.h"

// Whether a window of that class is an Office document (MS-SDIa, MS-SDIb).
bool IsDocumentClass(const wchar_t* className);

// Office document windows print their application's frame in their stead.
PrintOutcome PrintDocumentWindow(HWND window, HDC reference, HDC memory, UniqueBitmap* bitmap, int* width,
                                 int* height, const CaptureContext& context);
