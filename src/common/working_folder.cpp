#include "common/working_folder.h"

#include <cstdlib>

#include "common/paths.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

std::string HomeFolder() {
#ifdef _WIN32
    return "C:\\";
#else
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/";
#endif
}

}  // namespace

std::string DefaultWorkingFolder() {
    return JoinPath(HomeFolder(), "quillworking");
}
