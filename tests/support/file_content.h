#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "atomic_file.h"

// A file's whole content as the program reads it; a failed read fails the test.
inline std::string contentOf(const std::filesystem::path& path)
{
    std::string bytes;
    EXPECT_TRUE(readWholeFile(path, bytes));
    return bytes;
}
