#pragma once

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/server_process.h"
#include "support/temp_folder.h"

// Debian's OpenSSH server on loopback (tests/sftp/sshserver.py), letting in the test user with
// its password or an authorized key; its configuration and host key live in a folder of the
// test's own.
class SshServer {
  public:
    static constexpr const char* kUser = "quillora-sftp-test";
    static constexpr const char* kPassword = "quill-sftp-pw";
    // The user of a server that offers Git (its shell is git-shell) instead of SFTP.
    static constexpr const char* kGitUser = "quillora-git-test";
    enum class Offers { Sftp, Git };

    explicit SshServer(Offers offers = Offers::Sftp)
        : git_(offers == Offers::Git),
          process_(QUILLORA_TEST_DATA "/sftp/sshserver.py",
                   git_ ? std::vector<std::string>{config_.path(), "--git"}
                        : std::vector<std::string>{config_.path()}) {}

    int port() const { return process_.port(); }
    std::string address() const { return "127.0.0.1:" + std::to_string(port()); }
    // The known_hosts line ssh writes for this server.
    std::string knownHostsLine() const {
        std::istringstream key(ReadWhole(config_ / "host_key.pub"));
        std::string type;
        std::string blob;
        key >> type >> blob;
        return "[127.0.0.1]:" + std::to_string(port()) + " " + type + " " + blob;
    }
    // The known_hosts line of another key for this server, of the given type: the one of a
    // server replaced.
    std::string otherKeyLine(const std::string& keyType = "ed25519") const {
        const std::string other = config_ / ("other_key_" + keyType);
        Run("ssh-keygen -q -t " + keyType + " -N '' -f '" + other + "'");
        std::istringstream key(ReadWhole(other + ".pub"));
        std::string type;
        std::string blob;
        key >> type >> blob;
        return "[127.0.0.1]:" + std::to_string(port()) + " " + type + " " + blob;
    }
    // Ends the server, as a dropped connection does.
    void stop() { process_.stop(); }
    // Lets the key (a .pub file) in.
    void authorize(const std::string& publicKey) const {
        std::ofstream(config_ / "authorized_keys", std::ios::app) << ReadWhole(publicKey);
    }
    // A new folder the test user owns, where it may write.
    std::string ownedFolder(const std::string& name) const {
        const std::string path = config_ / name;
        std::filesystem::create_directories(path);
        if (const passwd* user = getpwnam(git_ ? kGitUser : kUser)) {
            if (chown(path.c_str(), user->pw_uid, user->pw_gid) != 0) {
                return std::string();
            }
        }
        return path;
    }

    // A key for the user of HOME, as ssh-keygen makes it: ~/.ssh/id_ed25519 and its .pub.
    static std::string MakeUserKey(const std::string& home) {
        std::filesystem::create_directories(home + "/.ssh");
        Run("ssh-keygen -q -t ed25519 -N '' -f '" + home + "/.ssh/id_ed25519'");
        return home + "/.ssh/id_ed25519.pub";
    }
    static std::string ReadWhole(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

  private:
    static void Run(const std::string& command) {
        if (std::system(command.c_str()) != 0) {
            std::abort();
        }
    }

    TempFolder config_;
    bool git_ = false;
    ServerProcess process_;
};

// HOME for the length of a test: the SSH folder (known hosts, keys) is the test's own.
class ScopedHome {
  public:
    explicit ScopedHome(const std::string& home) {
        if (const char* old = std::getenv("HOME")) {
            old_ = old;
        }
        setenv("HOME", home.c_str(), 1);
    }
    ~ScopedHome() { setenv("HOME", old_.c_str(), 1); }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

  private:
    std::string old_;
};
