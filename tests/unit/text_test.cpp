#include <gtest/gtest.h>

#include <cstring>

#include "common/text.h"

TEST(BoundedText, CopyCutsAndAlwaysTerminates)
{
    char buffer[6];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(5u, CopyBounded(buffer, sizeof buffer, "Sorvane"));
    EXPECT_STREQ("Sorva", buffer);
    EXPECT_EQ(3u, CopyBounded(buffer, sizeof buffer, "Tab"));
    EXPECT_STREQ("Tab", buffer);
    EXPECT_EQ(0u, CopyBounded(buffer, 1, "Tab"));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0u, CopyBounded(buffer, sizeof buffer, nullptr));
    EXPECT_STREQ("", buffer);
    buffer[0] = 'q';
    EXPECT_EQ(0u, CopyBounded(buffer, 0, "Tab"));  // nothing written at all
    EXPECT_EQ('q', buffer[0]);
}

TEST(BoundedText, AppendStaysInsideTheSameCapacity)
{
    char buffer[8] = "Alt";
    EXPECT_EQ(4u, AppendBounded(buffer, sizeof buffer, "-"));
    EXPECT_EQ(7u, AppendBounded(buffer, sizeof buffer, "Tabulator"));
    EXPECT_STREQ("Alt-Tab", buffer);
    EXPECT_EQ(7u, AppendBounded(buffer, sizeof buffer, "more"));
    EXPECT_STREQ("Alt-Tab", buffer);
}

TEST(BoundedText, FormatCutsAtCapacity)
{
    char buffer[10];
    EXPECT_EQ(9u, FormatBounded(buffer, sizeof buffer, "%s-%s!", "Ctrl", "F11"));
    EXPECT_STREQ("Ctrl-F11!", buffer);
    EXPECT_EQ(9u, FormatBounded(buffer, sizeof buffer, "%s-%s combination", "Shift", "Tab"));
    EXPECT_STREQ("Shift-Tab", buffer);
    EXPECT_EQ(0u, FormatBounded(buffer, 0, "%d", 12345));
}
