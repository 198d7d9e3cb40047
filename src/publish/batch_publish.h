#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

class PasswordVault;
class Prompts;

// quillora-publish: writes the finished pages of a site folder from their stored designs, as
// the designer's save does, without touching the page store; with --upload it then sends them
// to the hosting folder or an FTP folder.
//   quillora-publish [--workdir DIR] [--upload TARGET [--dry-run]] SITE_FOLDER [PAGE ...]
// Exit status: 0 every page written (and sent), 1 some were not, 2 usage, database,
// connection or login error, 3 stopped (Ctrl+C or SIGTERM) before every file was sent.
// The keyring, when given, holds the passwords the uploader remembered there; the stop flag,
// when given, is set by a signal to end an upload cleanly. A command that writes the working
// folder takes its lock, unless the caller is the window that holds it already; a window also
// gives its user to ask what the options answer at the command line.
enum class FolderLocking { Take, HeldByCaller };
int RunBatchPublish(const std::vector<std::string>& arguments,
                    const std::string& defaultWorkingFolder, std::ostream& out, std::ostream& err,
                    PasswordVault* vault = nullptr, const std::atomic<bool>* stop = nullptr,
                    FolderLocking locking = FolderLocking::Take, Prompts* asker = nullptr);
