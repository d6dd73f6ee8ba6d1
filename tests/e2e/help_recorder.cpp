// Stands in for the browser in the Help tests: the test registers it as the program that opens
// .html files, and it writes the first argument it was given, then its whole command line, to
// help-recorder.txt beside itself, in UTF-8. The file appears whole (written aside, then renamed).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text)
{
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    return utf8;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t own[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring folder(own, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    const std::wstring aside = folder + L"help-recorder.tmp";
    FILE* file = _wfopen(aside.c_str(), L"wb");
    if (!file) return 1;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    fprintf(file, "%s\n%s\n", Utf8(argv && argc > 1 ? argv[1] : L"").c_str(), Utf8(GetCommandLineW()).c_str());
    fclose(file);
    return MoveFileExW(aside.c_str(), (folder + L"help-recorder.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
