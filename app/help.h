// The Help command: the help page Sorvane.html, kept in Sorvane's own folder, and the same page in
// each language Sorvane speaks beside it (Sorvane.de.html, ...).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

constexpr wchar_t kHelpPageName[] = L"Sorvane.html";

// The help page's name for a UI language: Sorvane.<suffix>.html for a language Sorvane speaks
// (ShippedLanguageFor), else Sorvane.html.
std::wstring HelpPageNameFor(LANGID language);

// How many characters of a path are its folder: up to and including the last backslash or slash
// (0 for a bare file name).
size_t FolderPartLength(const wchar_t* path);

// The help page of that name beside the executable at modulePath. False, with an empty path, when
// the result does not fit into capacity.
bool HelpPagePathFor(const wchar_t* modulePath, wchar_t* path, size_t capacity,
                     const wchar_t* pageName = kHelpPageName);

// Opens the help page of the UI language in force (UiLanguage), or Sorvane.html where that one is
// missing, with the shell's "open" verb; when both are missing, tells the user where Sorvane.html
// was expected, and nothing else happens.
void OpenHelpPage();
