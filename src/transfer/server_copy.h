#pragma once

#include <functional>
#include <optional>
#include <string>

class FtpEngine;

// The server's file as it holds it now, fetched into a folder of its own that is let go after;
// nothing when it cannot be fetched or a stop was asked. The engine's local folder is set back
// to the one given.
std::optional<std::string> FetchServerFile(FtpEngine& engine, const std::string& name,
                                           const std::string& localFolder,
                                           const std::function<bool()>& stopAsked);
