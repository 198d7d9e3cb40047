#pragma once

#include <chrono>
#include <string>

// How long the hosting client waits for a connection, or between two pieces of an answer.
inline constexpr std::chrono::seconds kDefaultHttpTimeout{30};

// One GET on libcurl, http or https: the body of a reply with a 2xx status, or "N" when the
// exchange failed or the server answered with another status. A redirect is followed up to 5
// times; a compressed reply is decoded; a reply is read for at most four time-outs in all (two
// minutes for the usual 30 seconds) and 64 MB. Certificates are checked against the system's
// trust store and, when one is named, an extra CA file for a private service. IPv6 and the
// usual proxy variables work as in libcurl.
std::string HttpGet(const std::string& url, std::chrono::milliseconds timeout = kDefaultHttpTimeout,
                    const std::string& certificateAuthority = std::string());
