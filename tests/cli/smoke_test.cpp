#include <gtest/gtest.h>
TEST(CliSmoke, Nothing) {}
