#include "store/db/sqlite_format.h"

#include <sqlite3.h>

#include <cstdarg>

#include "store/db/sqlite_exception.h"

SqliteFormat::~SqliteFormat() {
    sqlite3_free(buffer_);
}

std::string SqliteFormat::formatArguments(const char* pattern, ...) {
    sqlite3_free(buffer_);
    buffer_ = nullptr;
    va_list arguments;
    va_start(arguments, pattern);
    buffer_ = sqlite3_vmprintf(pattern, arguments);
    va_end(arguments);
    if (buffer_ == nullptr) {
        throw SqliteException(SqliteException::kLayerError, "Cannot allocate memory");
    }
    return buffer_;
}

std::string SqliteFormat::text() const {
    return buffer_ != nullptr ? buffer_ : "";
}
