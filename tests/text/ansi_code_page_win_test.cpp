// Every conversion in the program assumes that the ANSI code page is 936.
// A harness that runs Wine under another locale would skew each of them
// quietly, so this fails loudly instead.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Harness, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(Harness, SourceLiteralsAreStoredInCodePage936) {
    // 签到 in code page 936.
    EXPECT_STREQ("签到", "\xC7\xA9\xB5\xBD");
}
