// Presenting tiles on screen: the GUI thread's side of the tiles. Each tile is copied in its look
// from the images the prerendering and the snapshot worker drew, a dimmed one darkened on the way;
// the title label follows the selection. Every function works on the showing given: its list,
// selection, label owner, dimming tools and DPI. The images are touched under tileImagesLock
// (overview/tileimages.h).
#pragma once

#include <windows.h>

#include <vector>

struct WindowEntry;
struct DimmingTools;
struct Showing;

// A tile's two looks: plain, and selected (framed, with its buttons and its title label).
enum class TileLook { Plain, Selected };
// The look of the entry in the list: selected when it is the list's selection.
TileLook LookOf(const Showing& current, const WindowEntry* entry);

// Copies the entry's tile (and, selected, its title label) to the device context; a plain tile
// that does not match the find text is drawn darkened, and a selected one gets a focus rectangle
// while the showing shows keyboard cues.
void PresentTile(Showing& current, HDC dc, WindowEntry* entry, TileLook look);
// The same, for a caller that holds tileImagesLock; through the memory context `source` (one that
// holds nothing else) when given, else through short-lived ones.
void PresentTileLocked(Showing& current, HDC dc, WindowEntry* entry, TileLook look, HDC source = nullptr);
// Presents the entries in their current looks in one batch: one source context for all of them and
// one flush at the end.
void PresentTiles(Showing& current, HDC dc, const std::vector<WindowEntry*>& entries);
// Lets go of what darkens dimmed tiles, each context before the bitmap selected into it (a bitmap
// still selected would not be deleted). The caller holds tileImagesLock.
void ReleaseDimmingTools(DimmingTools& tools);
// The user has used the keyboard: the selected tile shows its focus rectangle from now on.
void ShowKeyboardCues(Showing& current, HWND window);
// Presents every entry, the selected one highlighted.
void RepaintAllTiles(Showing& current, HDC dc);
// Blinks the chosen tile twice (320 ms), ending in its selected look.
void BlinkChosenTile(Showing& current, HWND window, WindowEntry* entry);
