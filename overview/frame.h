// The Overview's frame (background, wallpaper, bands, logo, help text), composed off screen with
// the tiles' first images before the window shows.
#pragma once

#include <windows.h>

struct Showing;

// Composes the frame off screen, lays out and pre-renders the tiles, selects the first one and
// creates the snapshot worker suspended (unless a stop was requested meanwhile). Draws nothing on
// screen: the window's next paint shows it all.
void BuildOverview(Showing& current, HWND window);

// Deletes the composed frame.
void DeleteOverviewBuffer(Showing& current);
