#pragma once

#include <string>

// "#RRGGBB" with upper-case hexadecimal digits, the colour form of pages and text items.
std::string HtmlColour(int red, int green, int blue);
