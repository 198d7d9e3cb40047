#include "common/program_version.h"

#ifndef QUILLORA_VERSION
#define QUILLORA_VERSION "0"
#endif

std::string ProgramVersion() {
    return QUILLORA_VERSION;
}
