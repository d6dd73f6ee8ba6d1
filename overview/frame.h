// The Overview's frame (background, wallpaper, bands, logo, help text), composed off screen with
// the tiles' first images before the window shows.
#pragma once

#include <windows.h>

struct Showing;

// Composes the frame off screen, lays out the tiles, creates the snapshot worker (unless a stop was
// requested meanwhile), pre-renders the tiles and lets the worker draw into them, and selects the
// first one. The worker is left suspended on one processor (overview/worker.h: FillsBeforeShowing).
// Draws nothing on screen: the window's next paint shows it all.
void BuildOverview(Showing& current, HWND window);

// Deletes the composed frame.
void DeleteOverviewBuffer(Showing& current);
