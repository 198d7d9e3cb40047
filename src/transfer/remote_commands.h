#pragma once

#include <string>
#include <vector>

// The commands the engine sends about entries of a server folder, in the words of FTP (names
// relative to the folder the request changed into) or of SFTP (whole paths, quoted).

// The name a file travels under before it is whole.
std::string PartName(const std::string& name);
// The name an SFTP upload moves the old file to while the new one takes its place.
std::string AsideName(const std::string& name);
// The name whose old copy the aside name holds; empty for any other name.
std::string NameSetAside(const std::string& entry);

// An entry of a folder as SFTP commands name it: the whole path, quoted.
std::string SftpPath(const std::string& folder, const std::string& name);
// One command on an entry ("DELE name" or "rm "/folder/name"").
std::string EntryCommand(bool sftp, const char* ftpVerb, const char* sftpVerb,
                         const std::string& folder, const std::string& name);
// The commands that give a whole upload its name. FTP renames over the old file in one step.
// SFTP's rename never replaces a file, so the old one is moved aside first and removed last:
// at every moment the old or the new file is under the name, or the old one is aside and the
// next listing puts it back.
std::vector<std::string> SwapInCommands(bool sftp, const std::string& folder,
                                        const std::string& name);
