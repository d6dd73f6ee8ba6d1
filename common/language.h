// Sorvane's own texts, menu and dialogs, in the language in force: Windows' pick for the user (the
// user's UI language), English where a language lacks something. Every text the user sees is
// loaded through these at its use, never kept from an earlier one.
#pragma once

#include <windows.h>

#include <string>

// The language of record, which every other falls back to.
constexpr LANGID kEnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The text of string `id`; where the language in force lacks it, English's; empty when neither
// has it.
std::wstring LoadText(UINT id);
// String `id` as a format, filled with the arguments (texts as %ls), whole however long. A
// translation whose placeholders differ from English's is not used: English's format is.
std::wstring FormatText(UINT id, ...);
// A format's placeholders in order, each its conversion with its size ("ls", "d", "lu") and a
// space after it; "%%" is none.
std::wstring PlaceholdersOf(const std::wstring& format);

// The menu `id`; the caller destroys it. Null when there is none.
HMENU LoadMenuInLanguage(UINT id);
// The dialog template `id`, which lives as long as the executable; null when there is none.
const DLGTEMPLATE* DialogTemplateInLanguage(UINT id);
// DialogBoxParam and CreateDialogParam of the template `id`.
INT_PTR ShowDialogInLanguage(UINT id, HWND owner, DLGPROC procedure, LPARAM parameter);
HWND CreateDialogInLanguage(UINT id, HWND owner, DLGPROC procedure, LPARAM parameter);
