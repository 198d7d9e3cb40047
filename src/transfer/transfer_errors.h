#pragma once

#include <string>

// What a failure code of the engine (libcurl's, negated, or one of the engine's own) means to
// the user, in one sentence; never empty.
std::string FtpErrorMeaning(int code);
