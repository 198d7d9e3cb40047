#include "common/local_time.h"

#include <ctime>

std::string LocalTimeText(long long seconds, const char* format) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&time, &local);
    char text[64];
    return std::strftime(text, sizeof text, format, &local) > 0 ? text : std::string();
}
