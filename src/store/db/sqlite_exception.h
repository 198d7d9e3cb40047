#pragma once

#include <exception>
#include <string>

// The one failure type of the database layer. Its message is always
// "<code name>[<code>]: <detail>".
class SqliteException : public std::exception {
  public:
    // Code of the failures the layer finds itself (a closed database, a bad column...).
    static constexpr int kLayerError = 1000;

    // When detailOwned is set, the detail was allocated by SQLite and is released here.
    SqliteException(int code, char* detail, bool detailOwned);
    SqliteException(int code, const std::string& detail);

    int code() const noexcept { return code_; }
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    int code_;
    std::string message_;
};

// "SQLITE_ERROR" for 1, "DBLAYER_ERROR" for 1000, "UNKNOWN_ERROR" for codes without a name.
const char* SqliteCodeName(int code);
