#pragma once

#include <string>

#include "store/db/sqlite_exception.h"

// The message of the SqliteException a call raises; empty when it raises none.
template <typename Call>
std::string FailureOf(Call&& call) {
    try {
        call();
    } catch (const SqliteException& failure) {
        return failure.message();
    }
    return std::string();
}
