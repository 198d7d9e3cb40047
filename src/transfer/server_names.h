#pragma once

#include <optional>
#include <string>
#include <string_view>

// Names that cross between a server and this computer. A server's listing may hold anything;
// only a plain name becomes a local file, and only inside the folder chosen for it. Names the
// program sends travel inside commands, so a line break or NUL would start a command of its own.

// The local name for a name a server listed: the name itself when it is one path component
// ("/", "\", NUL and line breaks nowhere in it, neither "." nor ".." nor empty), else nothing.
std::optional<std::string> LocalNameFor(std::string_view listed);
// The path of the name inside the folder, checked after the path is resolved (links included);
// nothing when the name is no plain name or the path would lie outside the folder.
std::optional<std::string> LocalPathInside(const std::string& folder, const std::string& name);
// Whether a name may be sent to a server: no CR, LF or NUL in it.
bool IsSendableName(std::string_view name);

// A server as typed: "host", "host:port", "user:password@host" or a whole address with a scheme
// and a folder; a user name may hold "@" (the host follows the last one).
struct ServerAddress {
    // "ftp://" or "sftp://"; empty when none was typed.
    std::string scheme;
    std::string user;
    std::optional<std::string> password;
    // The host and its port, as typed.
    std::string host;
    // What follows the host, from its "/" on; empty when nothing does.
    std::string path;

    // The address without user or password: what the engine logs in to and the log shows.
    std::string withoutLogin() const { return scheme + host + path; }
};
ServerAddress ParseServerAddress(const std::string& typed);
// The name a server's security is remembered under: "host:port", the host in lower case, the
// protocol's default port when none is given.
std::string TrustKey(const std::string& typed, bool secureShell);
