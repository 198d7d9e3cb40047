#include "common/html_colour.h"

#include <cstdio>

std::string HtmlColour(int red, int green, int blue) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red & 0xFF, green & 0xFF, blue & 0xFF);
    return text;
}
