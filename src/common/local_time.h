#pragma once

#include <string>

// A moment (seconds since 1970) in the user's time zone, as strftime writes it with the format
// ("%Y-%m-%d %H:%M").
std::string LocalTimeText(long long seconds, const char* format);
