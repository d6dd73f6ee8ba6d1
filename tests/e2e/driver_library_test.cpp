// Libraries loaded at run time come from the system folder: a library of the same name planted
// beside Sorvane.exe is never loaded, through a showing and a quick switch.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
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

std::string Lower(std::string text)
{
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The full paths of the modules of that file name in the process.
std::vector<std::string> ModulePaths(DWORD processId, const char* fileName)
{
    std::vector<std::string> found;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return found;
    HMODULE modules[512] = {};
    DWORD bytes = 0;
    if (EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        const DWORD count = std::min<DWORD>(bytes / sizeof(HMODULE), 512);
        for (DWORD i = 0; i < count; ++i) {
            char path[MAX_PATH] = {};
            if (!GetModuleFileNameExA(process, modules[i], path, sizeof path)) continue;
            const std::string text = path;
            const size_t slash = text.find_last_of("\\/");
            if (Lower(text.substr(slash + 1)) == Lower(fileName)) found.push_back(text);
        }
    }
    CloseHandle(process);
    return found;
}

std::string FileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char text[MAX_PATH + 1] = {};
    DWORD read = 0;
    ReadFile(file, text, MAX_PATH, &read, nullptr);
    CloseHandle(file);
    return std::string(text, read);
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
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    PostMessageA(sorvane.window(), WM_HOTKEY, kRecentHotkey, 0);
    ASSERT_TRUE(probe.Flush());

    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted " << kPlantedName << " was loaded by " << FileText(marker);

    // The library was loaded all the same, from the system folder.
    char systemFolder[MAX_PATH] = {};
    GetSystemDirectoryA(systemFolder, sizeof systemFolder);
    const std::vector<std::string> loaded = ModulePaths(sorvane.id(), kPlantedName);
    ASSERT_EQ(loaded.size(), 1u) << "copies of " << kPlantedName << " in Sorvane: " << loaded.size();
    EXPECT_EQ(Lower(loaded.front()), Lower(std::string(systemFolder) + "\\" + kPlantedName));

    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
