// Sorvane's own texts, menu and dialogs, in the language in force: the one the user chose on the
// Advanced page, else Windows' pick for the user (the user's UI language), and English where a
// language lacks something. Every text the user sees is loaded through these at its use, never kept
// from an earlier one, so a language chosen shows at once.
#pragma once

#include <windows.h>

#include <string>

// The language of record, which every other falls back to.
constexpr LANGID kEnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// A language Sorvane speaks: the Language setting's value (also its name for the system), its
// language identifier, the suffix of its help page (Sorvane.<help>.html; null: Sorvane.html), and
// whether only its own country's variant is spoken (its texts are that country's). Each one's own
// name, the same in every language, is string IDS_LANGUAGE_NAMES + its place here.
struct ShippedLanguage {
    const wchar_t* locale;
    LANGID id;
    const wchar_t* help;
    bool countryOnly;
};
// In the order the Advanced page lists them after "System default": English first.
inline constexpr ShippedLanguage kShippedLanguages[] = {
    {L"en-US", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), nullptr, false},
    {L"de-DE", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), L"de", false},
    {L"fr-FR", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), L"fr", false},
    {L"es-ES", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), L"es", false},
    {L"it-IT", MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), L"it", false},
    {L"pt-BR", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), L"pt-BR", true},
    {L"ru-RU", MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), L"ru", false},
    {L"pl-PL", MAKELANGID(LANG_POLISH, SUBLANG_POLISH_POLAND), L"pl", false},
    {L"ja-JP", MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), L"ja", false},
    {L"ko-KR", MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), L"ko", false},
    {L"zh-CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), L"zh-CN", true},
};

// The shipped language a Language setting names (letter case aside); null for an empty or
// unknown name: the system's language is used.
const ShippedLanguage* ShippedLanguageNamed(const wchar_t* locale);
// The shipped language that speaks to users of `language` (a country's variant: German for de-AT,
// Portuguese only for pt-BR); null when none does.
const ShippedLanguage* ShippedLanguageFor(LANGID language);

// Puts a language in force for every text the calling (GUI) thread loads from now on: a shipped
// one, or null for the system's pick. The thread's preferred UI languages and UI language are set
// (Vista on, looked up at run time); where the system then does not answer that language as the
// thread's (Wine, Windows XP), every resource is looked up in that language by hand, as the system
// would: the language, its neutral form, English.
void UseLanguage(const ShippedLanguage* language);
// The language put in force by UseLanguage, or null: the system's.
const ShippedLanguage* ChosenLanguage();
// The UI language texts are shown in: the chosen one, else the user's.
LANGID UiLanguage();

// The text of string `id`; where the language in force lacks it, English's; empty when neither
// has it.
std::wstring LoadText(UINT id);
// String `id` of that language's own strings, without falling back to another; empty when missing.
std::wstring LoadTextIn(LANGID language, UINT id);
// String `id` as a format, filled with the arguments (texts as %ls), whole however long. A
// translation whose placeholders differ from English's is not used: English's format is.
std::wstring FormatText(UINT id, ...);
// A format's placeholders in order, each its conversion with its size ("ls", "d", "lu") and a
// space after it; "%%" is none, and a "%" that ends the format is "%".
std::wstring PlaceholdersOf(const std::wstring& format);

// The menu `id`; the caller destroys it. Null when there is none.
HMENU LoadMenuInLanguage(UINT id);
// The dialog template `id`, which lives as long as the executable; null when there is none.
const DLGTEMPLATE* DialogTemplateInLanguage(UINT id);
// DialogBoxParam and CreateDialogParam of the template `id`.
INT_PTR ShowDialogInLanguage(UINT id, HWND owner, DLGPROC procedure, LPARAM parameter);
HWND CreateDialogInLanguage(UINT id, HWND owner, DLGPROC procedure, LPARAM parameter);
