// The Help command: the help page Sorvane.html, kept in Sorvane's own folder.
#pragma once

#include <cstddef>

constexpr wchar_t kHelpPageName[] = L"Sorvane.html";

// How many characters of a path are its folder: up to and including the last backslash or slash
// (0 for a bare file name).
size_t FolderPartLength(const wchar_t* path);

// The help page beside the executable at modulePath. False, with an empty path, when the result
// does not fit into capacity.
bool HelpPagePathFor(const wchar_t* modulePath, wchar_t* path, size_t capacity);

// Opens the help page with the shell's "open" verb; when it is missing, tells the user where it
// was expected, and nothing else happens.
void OpenHelpPage();
