#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One entry of a server folder; the folder flag is known when the server says what it is.
struct FtpEntry {
    std::string name;
    std::optional<bool> folder;
    // The size in bytes, when the listing tells it.
    std::optional<long long> size;
};

// The entries of a plain listing text: one name per line, ended by CR LF. A
// name without a dot is taken for a folder (the text says nothing else); names that begin with
// "." are left out.
std::vector<std::string> ParseFtpListing(const std::string& text);

// The list entries of a server folder: folders as "name  [FOLDER]". Where the server said what
// an entry is, that is taken; otherwise a name without a dot is a folder. Hidden entries and
// "." and ".." are left out.
std::vector<std::string> FtpListEntries(const std::vector<FtpEntry>& entries);

// A listing line as servers write it: MLSD facts ("type=dir;size=0; name") or a LIST line in
// the Unix form ("drwxr-xr-x 2 user group 4096 Jan 1 10:00 name", as SFTP servers list too);
// anything else is a name whose kind is unknown.
FtpEntry ParseListingLine(const std::string& line, bool facts);

// The line without its line end (CR, LF or both).
std::string WithoutLineEnd(std::string line);

// A file the server said it stored, with the bytes that were sent of it.
struct SentFile {
    std::string name;
    long long bytes = 0;
};
// Of the files sent, those the server's listing does not hold whole, each with what it holds
// instead ("a.html: the server holds no such file", "b.jpg: the server holds 10 of 120 bytes").
// A listing that tells no size cannot show a difference.
std::vector<std::pair<std::string, std::string>> NotHeldWhole(const std::vector<FtpEntry>& listing,
                                                              const std::vector<SentFile>& sent);
