// Starting Sorvane when the user signs in: the value "Sorvane" under the current user's Run key.
// It is the only value Sorvane keeps outside Software\Sorvane, written only when the user asks.
#pragma once

#include <cstddef>

#include "common/text.h"

constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValueName[] = L"Sorvane";

// Whether a stored Run value names the executable: the whole value, or what stands between a
// leading and a trailing double quote, is the path in any letter case.
bool RunValueNamesExecutable(const wchar_t* stored, const wchar_t* executablePath);

// The value that starts the executable: its path in double quotes. False (and an empty value)
// when the path is empty or the quoted path does not fit.
bool FormatRunValue(const wchar_t* executablePath, wchar_t* value, size_t capacity);

// Whether the Run value names this program's own executable.
bool StartsAtSignIn();
// Writes the Run value for this executable, or removes it. Returns whether that succeeded.
bool SetStartAtSignIn(bool start);
