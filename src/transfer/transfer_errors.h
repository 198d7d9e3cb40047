#pragma once

#include <string>

// What a failure code of the engine (libcurl's, negated, or one of the engine's own) means to
// the user, in one sentence; never empty.
std::string FtpErrorMeaning(int code);
// As above, read with the server's own refusal ("452 Disk full."): a server out of room says so
// in its reply, where the code only tells that the transfer broke off.
std::string FtpErrorMeaning(int code, const std::string& serverRefusal);
