#pragma once

#include <string>
#include <system_error>

class Prompts;

// Copies, moves, renames and deletes files and folder trees. It never overwrites unless told
// to (it picks "Copy of" names instead) and asks before deleting a read-only file. A file is
// read-only when its owner may not write it. Operations return false on failure and leave the
// reason in lastErrorText() and lastErrorCode() (0 when the user cancelled).
class FileOperation {
  public:
    explicit FileOperation(Prompts& prompts);

    bool Copy(const std::string& source, const std::string& target);
    bool Move(const std::string& source, const std::string& target);
    bool Rename(const std::string& oldPath, const std::string& newPath);
    bool Delete(const std::string& path);

    static constexpr int kNotFound = 0;
    static constexpr int kFile = 1;
    static constexpr int kFolder = 2;
    // kNotFound, kFile, kFolder, or -1 for any other error.
    static int CheckPath(const std::string& path);
    // The next free-name candidate: a.txt, Copy of a.txt, Copy (1) of a.txt, ...
    std::string MakeCopyName(const std::string& path) const;
    // A file that can be opened for reading.
    bool Exists(const std::string& path) const;

    const std::string& lastErrorText() const { return lastErrorText_; }
    int lastErrorCode() const { return lastErrorCode_; }
    bool askReadOnly() const { return askReadOnly_; }
    void setAskReadOnly(bool ask) { askReadOnly_ = ask; }
    bool overwrite() const { return overwrite_; }
    void setOverwrite(bool overwrite) { overwrite_ = overwrite; }
    // Set when the user cancelled a read-only question or a read-only file was left in place.
    bool aborted() const { return aborted_; }

  private:
    enum class DeleteAnswer { Allowed, NotAllowed, Cancelled };

    bool copyPath(const std::string& source, const std::string& target, bool deleteAfterwards);
    bool copyFile(const std::string& source, std::string target, bool deleteAfterwards);
    bool copyFolderContents(const std::string& source, const std::string& target,
                            bool deleteAfterwards);
    bool deletePath(const std::string& path);
    DeleteAnswer checkReadOnly(const std::string& path);

    bool fail(std::string text, int code);
    bool failWithSystemError(const std::error_code& error);

    Prompts& prompts_;
    std::string lastErrorText_ = "No error";
    int lastErrorCode_ = 0;
    bool askReadOnly_ = true;
    bool overwrite_ = false;
    bool aborted_ = false;
    int depthLimit_ = -1;
};
