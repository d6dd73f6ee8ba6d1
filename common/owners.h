// Move-only owners for Win32 handles: one type per kind of handle, the release function fixed at
// compile time. An owner releases what it holds when it dies or is reset; it is never copied.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, auto Release>
class UniqueAny {
public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.value_, T{}));
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{})
    {
        T old = std::exchange(value_, value);
        if (old != T{}) Release(old);
    }
    // For out-parameters: releases what is held and hands out the slot.
    T* put()
    {
        reset();
        return &value_;
    }

private:
    T value_{};
};

inline void FreeProcessHeapBlock(void* block) { HeapFree(GetProcessHeap(), 0, block); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }

using UniqueHkey = UniqueAny<HKEY, &RegCloseKey>;
using UniqueHandle = UniqueAny<HANDLE, &CloseHandle>;  // kernel handles whose failure value is null
using UniqueModule = UniqueAny<HMODULE, &FreeLibrary>;
using UniqueIcon = UniqueAny<HICON, &DestroyIcon>;
using UniqueMenu = UniqueAny<HMENU, &DestroyMenu>;
using UniqueMemoryDc = UniqueAny<HDC, &DeleteDC>;
using UniqueBitmap = UniqueAny<HBITMAP, &DeleteGdiObject>;
using UniqueBrush = UniqueAny<HBRUSH, &DeleteGdiObject>;
using UniquePen = UniqueAny<HPEN, &DeleteGdiObject>;
using UniqueFont = UniqueAny<HFONT, &DeleteGdiObject>;
using UniqueHeapText = UniqueAny<wchar_t*, &FreeProcessHeapBlock>;  // zero-filled process-heap text

// A zero-filled text of `characters` UTF-16 units (terminator included) on the process heap, or an
// empty owner when memory cannot be had.
inline UniqueHeapText AllocateHeapText(size_t characters)
{
    return UniqueHeapText(
        static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, characters * sizeof(wchar_t))));
}

// A window's device context, released with the window it came from.
class UniqueWindowDc {
public:
    UniqueWindowDc() = default;
    explicit UniqueWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    // Adopts a context from GetDC or GetWindowDC of the window.
    UniqueWindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    UniqueWindowDc(UniqueWindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueWindowDc& operator=(UniqueWindowDc&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    UniqueWindowDc(const UniqueWindowDc&) = delete;
    UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;
    ~UniqueWindowDc() { reset(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset()
    {
        if (dc_) ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Puts back what SelectObject replaced when the guard dies.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard()
    {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
