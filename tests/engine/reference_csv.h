#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "c_number.h"

// One data line of a reference file under tests/data, split at its commas.
struct ReferenceLine {
    int number = 0;
    std::string text;
    std::vector<std::string> fields;
};

// The data lines of a reference file: comment lines, blank lines and the header line are left out.
inline std::vector<ReferenceLine> readReferenceCsv(const std::string& fileName)
{
    std::vector<ReferenceLine> lines;
    std::ifstream file(std::string(CORVAN_TEST_DATA_DIR) + "/" + fileName);
    EXPECT_TRUE(file.good()) << fileName << " not found in " << CORVAN_TEST_DATA_DIR;
    std::string text;
    int number = 0;
    bool header = true;
    while (std::getline(file, text)) {
        ++number;
        if (text.empty() || text[0] == '#')
            continue;
        if (header) {
            header = false;
            continue;
        }
        ReferenceLine line{number, text, {std::string()}};
        for (char c : text) {
            if (c == ',')
                line.fields.emplace_back();
            else
                line.fields.back() += c;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// A whole field as a number; an empty or partly numeric field is not one.
inline bool readReferenceNumber(const std::string& text, double& value)
{
    return !text.empty() && cnum::parsePrefix(text, value) == text.size();
}
