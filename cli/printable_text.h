#pragma once

#include <string>
#include <string_view>

// Display text for a terminal: UTF-8, with the display's private comma printed as ",".
std::string printableText(std::u16string_view text);
