#pragma once

#include <string>
#include <type_traits>

// SQL text built with SQLite's own printf, so that %q and %Q quote values the way SQLite
// reads them back. std::string arguments may be passed as they are.
class SqliteFormat {
  public:
    SqliteFormat() = default;
    SqliteFormat(const SqliteFormat&) = delete;
    SqliteFormat& operator=(const SqliteFormat&) = delete;
    virtual ~SqliteFormat();

    template <typename... Args>
    std::string format(const char* pattern, const Args&... args) {
        return formatArguments(pattern, Pass(args)...);
    }

    // The last formatted text; empty before the first format.
    std::string text() const;

  private:
    static const char* Pass(const std::string& text) { return text.c_str(); }
    template <typename T>
    static T Pass(T value) {
        static_assert(std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_null_pointer_v<T>,
                      "SqliteFormat takes numbers, C texts and std::string");
        return value;
    }

    std::string formatArguments(const char* pattern, ...);

    char* buffer_ = nullptr;
};
