#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

// A test peer run by Debian's own Python: started with its script and arguments, it prints
// "PORT <n>" once it listens on 127.0.0.1; it is stopped when the object goes.
class ServerProcess {
  public:
    ServerProcess(const std::string& script, const std::vector<std::string>& arguments) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        std::vector<std::string> words = {"/usr/bin/python3", script};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        std::FILE* output = fdopen(pipeEnds[0], "r");
        if (output != nullptr && std::fscanf(output, "PORT %d", &port_) != 1) {
            port_ = 0;
        }
        if (output != nullptr) {
            std::fclose(output);
        }
    }
    ~ServerProcess() { stop(); }
    // Ends the server before its time, freeing its port.
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // The port it listens on; 0 when it did not start.
    int port() const { return port_; }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
};
