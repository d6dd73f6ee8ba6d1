// The tiles' images, which the GUI thread and the snapshot worker share, and the lock they share
// them under. The rules are stated here once:
//
// Each listed entry has four images (windows/windowlist.h): its two looks, highlightTile and
// normalTile, its title label and the label's backdrop. A bitmap fits in one device context at a
// time, and both threads select tile images into contexts of their own, so:
// - The GUI thread makes the two looks before the worker is created (MakeTileLooks,
//   overview/prerender.h), draws them and makes the labels (PrerenderTiles) under tileImagesLock
//   while the worker may already capture, and frees all four only after the worker has ended
//   (ReleaseShowing).
// - The worker touches only the two looks of the tiles it was handed (TileImages below), and only
//   once the GUI thread has drawn them (LetWorkerDraw, overview/worker.h); it draws into them
//   under tileImagesLock (DrawSnapshotIntoTile, overview/tiledraw.h).
// - The GUI thread copies any of the four to the screen or the frame under tileImagesLock
//   (overview/present.h; a function named ...Locked leaves taking it to its caller).
// - What presenting reads besides the images is changed under tileImagesLock as well, by the GUI
//   thread alone: the showing's labelOwner and dimming tools, the entries' dimmed flags and the
//   list's selection.
#pragma once

#include <windows.h>

#include <mutex>

// Guards every entry's four images and what presenting reads with them (the rules above).
extern std::mutex tileImagesLock;

// The two images of one tile that its snapshot is drawn into, and the tile's size.
struct TileImages {
    HBITMAP highlightTile;
    HBITMAP normalTile;
    SIZE size;
};
