#pragma once

#include <cstddef>
#include <fstream>
#include <string>

// conftp.log: the conversation with the server and the program's own lines. No password
// reaches it: the login's password wherever it shows, and the one of an address written as
// "user:password@host" with or without a scheme. Past 1 MB the old half goes to conftp.log.1.
class TransferLog {
  public:
    explicit TransferLog(std::string path) : path_(std::move(path)) {}

    // Opens the file for appending; lines before that are dropped.
    void open();
    void close();
    // The password of the login under way, masked from every later line.
    void setSecret(const std::string& password) { secret_ = password; }
    void line(const std::string& text);

  private:
    std::string path_;
    std::ofstream file_;
    std::size_t logged_ = 0;
    std::string secret_;
};

// The text with the password of every "user:password@host" in it masked as "****".
std::string WithoutAddressPasswords(std::string text);
