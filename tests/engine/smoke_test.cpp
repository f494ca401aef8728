#include <gtest/gtest.h>
#include "engine.h"
TEST(Smoke, Adds) { Engine e; auto r = e.Evaluate("2+3*4", 0, 10); EXPECT_EQ(e.error(), 0); EXPECT_EQ(r.re, 14); }
