#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <tuple>

#include "common/text.h"
#include "test_support.h"

TEST(BoundedText, CopyCutsAndAlwaysTerminates)
{
    wchar_t buffer[6];
    wmemset(buffer, L'x', std::size(buffer));
    EXPECT_EQ(5u, CopyBounded(buffer, std::size(buffer), L"Sorvane"));
    EXPECT_STREQ(L"Sorva", buffer);
    EXPECT_EQ(3u, CopyBounded(buffer, std::size(buffer), L"Tab"));
    EXPECT_STREQ(L"Tab", buffer);
    EXPECT_EQ(0u, CopyBounded(buffer, 1, L"Tab"));
    EXPECT_STREQ(L"", buffer);
    EXPECT_EQ(0u, CopyBounded(buffer, std::size(buffer), nullptr));
    EXPECT_STREQ(L"", buffer);
    buffer[0] = L'q';
    EXPECT_EQ(0u, CopyBounded(buffer, 0, L"Tab"));  // nothing written at all
    EXPECT_EQ(L'q', buffer[0]);
}

TEST(BoundedText, AppendStaysInsideTheSameCapacity)
{
    wchar_t buffer[8] = L"Alt";
    EXPECT_EQ(4u, AppendBounded(buffer, std::size(buffer), L"-"));
    EXPECT_EQ(7u, AppendBounded(buffer, std::size(buffer), L"Tabulator"));
    EXPECT_STREQ(L"Alt-Tab", buffer);
    EXPECT_EQ(7u, AppendBounded(buffer, std::size(buffer), L"more"));
    EXPECT_STREQ(L"Alt-Tab", buffer);
}

TEST(BoundedText, FormatCutsAtCapacity)
{
    wchar_t buffer[10];
    EXPECT_EQ(9u, FormatBounded(buffer, std::size(buffer), L"%ls-%ls!", L"Ctrl", L"F11"));
    EXPECT_STREQ(L"Ctrl-F11!", buffer);
    EXPECT_EQ(9u, FormatBounded(buffer, std::size(buffer), L"%ls-%ls combination", L"Shift", L"Tab"));
    EXPECT_STREQ(L"Shift-Tab", buffer);
    EXPECT_EQ(0u, FormatBounded(buffer, 0, L"%d", 12345));
}

TEST(BoundedText, AWideCutNeverSplitsAPair)
{
    wchar_t buffer[4];
    EXPECT_EQ(2u, CopyBounded(buffer, std::size(buffer), L"ab\U0001F3B5"));
    EXPECT_STREQ(L"ab", buffer);
    EXPECT_EQ(3u, CopyBounded(buffer, std::size(buffer), L"a\U0001F3B5"));  // fits whole
    EXPECT_EQ(2u, FormatBounded(buffer, std::size(buffer), L"%ls", L"xy\U0001F3B5z"));
    EXPECT_STREQ(L"xy", buffer);
}

// File names and paths: letter case aside unit by unit, in every script, never linguistically; the
// fallback for systems without CompareStringOrdinal answers the same.
TEST(OrdinalComparison, LetterCaseAsideAndNothingElse)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"NOTEPAD.EXE", "notepad.exe", true},
        {"C:\\Νίκη\\Жук.exe", "c:\\ΝΊΚΗ\\жУК.EXE", true},  // Greek and Cyrillic
        {"stra\u00DFe.exe", "STRASSE.EXE", false},       // "ß" is one letter, "SS" two
        {"\uFB01le.exe", "FILE.EXE", false},             // the ligature "fi"
        {"caf\u00E9.exe", "cafe\u0301.exe", false},      // a composed and a combined accent
        {"\u212Aey.exe", "key.exe", false},              // the Kelvin sign, linguistically "K"
        {"a.exe", "a.exe ", false}};
    for (const auto& [first, second, same] : cases) {
        const std::wstring a = Wide(first), b = Wide(second);
        EXPECT_EQ(same, EqualIgnoringCaseOrdinal(a.c_str(), b.c_str())) << first;
        EXPECT_EQ(same, EqualInCapitalsByUnit(a.c_str(), a.size(), b.c_str(), b.size())) << first;
    }
    EXPECT_TRUE(EqualIgnoringCaseOrdinal(L"grep.exe\nmore", 8, L"GREP.EXE", 8)) << "the lengths given";
    EXPECT_TRUE(EqualIgnoringCaseOrdinal(nullptr, L""));
}
