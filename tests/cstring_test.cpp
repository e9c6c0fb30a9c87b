#include "host/cstring.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

TEST(CStringFormat, Smoke) {
    CString s;
    s.Format(u"%d %s", 3, u"x");
    EXPECT_EQ(U8(s), "3 x");
}
