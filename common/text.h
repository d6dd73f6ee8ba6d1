// Bounded string operations: every result is cut at the buffer's capacity and always terminated.
// Text from and to the system is UTF-16 (wchar_t), never cut inside a surrogate pair.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <iterator>  // std::size for buffers

// A path of the system's classic length (MAX_PATH and its terminator): the exclusion list's
// entries and the texts built around them. Paths the system gives longer are read into buffers
// that grow (kLongPathCapacity at most).
constexpr size_t kPathCapacity = 261;
// The longest path read from the system: the limit of the \\?\ form.
constexpr size_t kLongPathCapacity = 32768;
// A window class name and its terminator.
constexpr size_t kClassBuffer = 64;

// Whether the UTF-16 unit is the first, or the second, half of a surrogate pair.
constexpr bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The length of the first `length` units of text, less a first half of a pair left alone at the
// end by a cut.
size_t WholeCharactersIn(const wchar_t* text, size_t length);

// Copies at most capacity - 1 characters of source; returns the length copied.
size_t CopyBounded(wchar_t* destination, size_t capacity, const wchar_t* source);

// Appends to the text already in destination within the same capacity; returns the new length.
size_t AppendBounded(wchar_t* destination, size_t capacity, const wchar_t* source);

// snprintf that tolerates a zero capacity; returns the length written (after cutting). A wide
// text argument is written %ls.
size_t FormatBounded(wchar_t* destination, size_t capacity, const wchar_t* format, ...);

// Whether two texts of the given lengths are the same letter case aside, as the file system
// compares file names and paths: unit by unit, each in capitals by the system's table, neither
// linguistic nor bound to a locale ("ß" is no "SS", a ligature no pair of letters, "e" and a
// combining accent no "é"). CompareStringOrdinal where the system has it (Vista and later), else
// EqualInCapitalsByUnit. Null texts are empty.
bool EqualIgnoringCaseOrdinal(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength);
// The same for terminated texts.
bool EqualIgnoringCaseOrdinal(const wchar_t* a, const wchar_t* b);
// The comparison where CompareStringOrdinal is missing (Windows XP): each unit in capitals by the
// system's own (not linguistic) table, then compared unit by unit.
bool EqualInCapitalsByUnit(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength);
