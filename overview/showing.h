// One showing of the Overview: what lives from the show request to the tear-down, in one record.
#pragma once

#include "windows/windowlist.h"

struct Showing {
    // The listed windows in the order of their tiles, and the heap their records come from. The
    // snapshot worker reads the entries (their images under tileImagesLock, overview/tiles.h).
    WindowList windowList;
};

// The Overview's showing; empty between showings. Owned by the GUI thread (overview/lifecycle).
extern Showing showing;
