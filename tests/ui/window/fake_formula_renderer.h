#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "temp_folder.h"

// A stand-in for the formula renderer that takes its time and draws a one-row image as wide as
// the buffer it was given (or `width` when set), and notes each run in the folder's "runs" log.
// Returns the program to hand to FormulaRenderer.
inline std::string fakeFormulaRenderer(const TempFolder& folder, double seconds, int width = 0)
{
    const auto path = folder.path() / "render";
    const std::string log = (folder.path() / "runs").string();
    std::ofstream script(path);
    script << "#!/bin/sh\necho run >> '" << log << "'\nsleep " << seconds << "\n";
    if (width > 0)
        script << "n=" << width << "\n";
    else
        script << "n=${#4}\n";
    script << "printf 'P1 %d 1 ' $n\ni=0\nwhile [ $i -lt $n ]; do printf 1; i=$((i+1)); done\n";
    script.close();
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path.string();
}
