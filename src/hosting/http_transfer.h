#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// The limits every request of the hosting client keeps, on a libcurl handle (CURL*): http and
// https only; the connection within the time-out; no byte for the time-out fails the transfer;
// certificates checked against the system's trust store and the extra CA file when named.
void SetTransferLimits(void* easy, std::chrono::milliseconds timeout,
                       const std::string& certificateAuthority);

// The most a reply may bring, and how many time-outs a GET may take in all.
inline constexpr std::size_t kLargestReply = 64 * 1024 * 1024;
inline constexpr int kExchangeInTimeouts = 4;
