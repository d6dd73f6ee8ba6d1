// Which program a window belongs to. Most windows are their own process's. A packaged (store) app
// is shown in a frame (kStoreAppFrameClass) that one host process makes for every such app, while
// the app itself runs in a process of its own that owns the window the frame hosts: the frame is
// that app's. Everything that names a window's program (the application Overview, grouping, find
// by file name, the InfoTip, the exclusion list) asks here, so that they agree.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The class of the window a packaged app shows itself in, a child of its frame.
constexpr wchar_t kHostedAppClass[] = L"Windows.UI.Core.CoreWindow";

struct WindowProgram {
    DWORD processId = 0;          // the program's process: for a frame, the hosted app's, else the host's
    std::wstring path;            // that process's executable, a full path; empty when unreadable
    std::wstring appUserModelId;  // a frame's: the app's id, where the frame carries one; else empty
    bool knownByIdOnly = false;   // a frame hosting no app (a suspended one): only the id tells its app
};

// What is read of a window to name its program.
struct ProgramFacts {
    bool storeAppFrame;             // its class is kStoreAppFrameClass
    DWORD windowProcess;            // the process that made it
    DWORD hostedProcess;            // a frame's: the process of its kHostedAppClass child; 0: none
    const wchar_t* appUserModelId;  // a frame's AppUserModelID; null: none
};

// The program over the facts (its path left empty): a window's own process; for a frame the
// hosted app's process, else its AppUserModelID (with the host's process), else the host's; a
// frame keeps its id either way.
WindowProgram ChooseProgram(const ProgramFacts& facts);

// Whether two processes' executables (full paths) are one application: the same path, letter case
// aside, as file systems compare paths. Several processes of one executable are one application;
// two programs that share a file name in different folders are not. An unknown (empty) path is
// nobody's.
bool SameApplication(const wchar_t* path, const wchar_t* other);

// Whether two windows' programs are one: by the AppUserModelID when both carry one (letter case
// aside), never when either is known by its id only and the other carries none, else one process
// or one executable's path.
bool SameProgram(const WindowProgram& a, const WindowProgram& b);

// Whether the class name is that of a packaged app's frame (as the class was registered).
bool IsStoreAppFrameClass(const wchar_t* className);

// The executables' paths read during one pass over the windows, one per process.
using ProgramPaths = std::vector<std::pair<DWORD, std::wstring>>;

// The program of the window, as the system tells it now. Sends nothing to the window: a frame's
// hosted app is found with FindWindowEx, its id read from the frame's property store. With
// `paths`, each process's path is read once for all the calls that share it. Only a frame pays
// for more than its class name and its process's path.
WindowProgram ProgramOfWindow(HWND window, ProgramPaths* paths = nullptr);
