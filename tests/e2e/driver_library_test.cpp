// Libraries loaded at run time come from the system folder: a library of the same name planted
// beside Sorvane.exe is never loaded, through a showing and a quick switch. And they come when
// first needed: an idle Sorvane holds neither the common controls nor a screen reader's libraries.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

using PlantedLibrary = OverviewTest;

constexpr WPARAM kRecentHotkey = 32830;
constexpr char kPlantedName[] = "dwmapi.dll";
constexpr char kMarkerName[] = "planted.loaded";  // written by the planted library when loaded

// The full paths, in lower case, of the modules of that file name in the process.
std::vector<std::string> ModulePaths(DWORD processId, std::string fileName)
{
    std::vector<std::string> found;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    HMODULE modules[512] = {};
    DWORD bytes = 0;
    if (process && EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        CharLowerA(fileName.data());
        for (DWORD i = 0; i < std::min<DWORD>(bytes / sizeof(HMODULE), 512); ++i) {
            char path[MAX_PATH] = {};
            if (!GetModuleFileNameExA(process, modules[i], path, sizeof path)) continue;
            CharLowerA(path);
            const char* name = strrchr(path, '\\');
            if (name && fileName == name + 1) found.push_back(path);
        }
    }
    if (process) CloseHandle(process);
    return found;
}

TEST_F(PlantedLibrary, TheOneBesideTheProgramIsNeverLoaded)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.created()) << folder.path();
    ASSERT_TRUE(folder.CopyIn(SorvanePath(), "Sorvane.exe")) << "error " << GetLastError();
    ASSERT_TRUE(folder.CopyIn(DriverDirectory() + "Sentrel.dll", "Sentrel.dll")) << "error " << GetLastError();
    ASSERT_TRUE(folder.CopyIn(DriverDirectory() + "planted\\" + kPlantedName, kPlantedName))
        << "error " << GetLastError();
    folder.Track(kMarkerName);
    const std::string marker = folder.path() + kMarkerName;
    ASSERT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(windows.Open(2));
    // Started from its folder, which is also its current folder: both are where a planted
    // library would be found by a search.
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder.path() + "Sorvane.exe"));

    // A showing and a quick switch: both list windows, and asking whether a window is cloaked
    // takes the compositor's library.
    const std::vector<RECT> tiles = ExpectedTiles(2);
    EXPECT_TRUE(ModulePaths(sorvane.id(), "comctl32.dll").empty());
    EXPECT_TRUE(ModulePaths(sorvane.id(), "oleacc.dll").empty());
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    PostMessageA(sorvane.window(), WM_HOTKEY, kRecentHotkey, 0);
    ASSERT_TRUE(probe.Flush());

    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted " << kPlantedName << " was loaded";

    // The library was loaded all the same, from the system folder.
    char expected[MAX_PATH] = {};
    GetSystemDirectoryA(expected, sizeof expected);
    lstrcatA(expected, "\\dwmapi.dll");
    CharLowerA(expected);
    EXPECT_EQ(ModulePaths(sorvane.id(), kPlantedName), std::vector<std::string>{expected});

    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
