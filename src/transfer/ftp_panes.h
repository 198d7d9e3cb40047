#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// How the uploader reaches the server: FTP with TLS when the server offers it, FTP that refuses
// a server which does not encrypt the login and the files, or SFTP (SSH).
enum class TransferProtocol { Ftp, FtpTlsRequired, Sftp };

// The protocol's name in the remembered login ("ftp", "ftp-tls", "sftp"); a name it does not
// know, or none (a login remembered before protocols were), reads as FTP.
std::string ProtocolName(TransferProtocol protocol);
TransferProtocol ProtocolNamed(const std::string& name);

// What the uploader window shows: the login, the server pane and the local pane. The window
// copies its controls into this before an operation and shows it again afterwards.
struct FtpPanes {
    std::string server;
    std::string user;
    std::string password;
    bool remember = false;
    // A scheme typed in the server field ("sftp://", "ftp://") chooses the protocol.
    TransferProtocol protocol = TransferProtocol::Ftp;
    bool connected = false;
    // The current server folder.
    std::string serverFolder;
    // Entries as the lists show them, sorted; folders as "name  [FOLDER]".
    std::vector<std::string> serverEntries;
    std::vector<std::size_t> serverSelection;
    std::optional<std::size_t> serverCaret;
    std::string localFolder;
    std::vector<std::string> localEntries;
    std::vector<std::size_t> localSelection;
    std::optional<std::size_t> localCaret;
};

// The uploader's caption for its own messages.
inline constexpr const char* kUploaderCaption = "QUILLORA MESSAGE";

// A pane's entry is a folder when it carries the "[FOLDER]" mark; its name is the entry up to
// the two blanks before the mark.
bool IsFolderEntry(const std::string& entry);
std::string FolderEntryName(const std::string& entry);
// Sorted as the panes show them: alphabetically, ignoring case.
void SortEntries(std::vector<std::string>& entries);

// The folder above: everything before the last separator ("/a/b" gives "/a"); the root of the
// file system stays where it is, and the parent of a top folder is the root.
std::string LocalFolderAbove(const std::string& folder);
// The server folder above, by the server's "/": "/a/b" gives "/a", "/a" gives "/".
std::string ServerFolderAbove(const std::string& folder);
