// Stands in for the browser in the Help tests: the test registers it as the program that opens
// .html files, and it writes the first argument it was given, then its whole command line, to
// help-recorder.txt beside itself. The file appears whole (written aside, then renamed).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char own[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string folder(own, length);
    folder.erase(folder.find_last_of('\\') + 1);
    const std::string aside = folder + "help-recorder.tmp";
    FILE* file = fopen(aside.c_str(), "wb");
    if (!file) return 1;
    fprintf(file, "%s\n%s\n", __argc > 1 ? __argv[1] : "", GetCommandLineA());
    fclose(file);
    return MoveFileExA(aside.c_str(), (folder + "help-recorder.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
