#include "store/db/sqlite_result_table.h"

#include <sqlite3.h>

#include <utility>

#include "common/number_text.h"
#include "store/db/sqlite_exception.h"

SqliteResultTable::SqliteResultTable(char** results, int rowCount, int columnCount)
    : results_(results), rowCount_(rowCount), columnCount_(columnCount) {}

SqliteResultTable::SqliteResultTable(SqliteResultTable&& other) noexcept
    : results_(std::exchange(other.results_, nullptr)),
      rowCount_(other.rowCount_),
      columnCount_(other.columnCount_),
      currentRow_(other.currentRow_) {}

SqliteResultTable& SqliteResultTable::operator=(SqliteResultTable&& other) noexcept {
    if (this != &other) {
        release();
        results_ = std::exchange(other.results_, nullptr);
        rowCount_ = other.rowCount_;
        columnCount_ = other.columnCount_;
        currentRow_ = other.currentRow_;
    }
    return *this;
}

SqliteResultTable::~SqliteResultTable() {
    release();
}

void SqliteResultTable::checkResults() const {
    if (results_ == nullptr) {
        throw SqliteException(SqliteException::kLayerError, "Null Results pointer");
    }
}

int SqliteResultTable::columnCount() const {
    checkResults();
    return columnCount_;
}

int SqliteResultTable::rowCount() const {
    checkResults();
    return rowCount_;
}

void SqliteResultTable::selectRow(int row) {
    checkResults();
    if (row < 0 || row >= rowCount_) {
        throw SqliteException(SqliteException::kLayerError, "Invalid row index requested");
    }
    currentRow_ = row;
}

const char* SqliteResultTable::entry(const SqliteColumn& column) const {
    checkResults();
    int index = -1;
    if (column.byName()) {
        for (int i = 0; column.hasName() && i < columnCount_; ++i) {
            if (results_[i] != nullptr && column.name() == results_[i]) {
                index = i;
                break;
            }
        }
        if (index < 0) {
            throw SqliteException(SqliteException::kLayerError, "Invalid field name requested");
        }
    } else {
        index = column.index();
        if (index < 0 || index >= columnCount_) {
            throw SqliteException(SqliteException::kLayerError, "Invalid field index requested");
        }
    }
    // An empty result has no row to read from.
    if (currentRow_ >= rowCount_) {
        throw SqliteException(SqliteException::kLayerError, "Invalid row index requested");
    }
    return results_[columnCount_ * (currentRow_ + 1) + index];
}

int SqliteResultTable::intValue(const SqliteColumn& column, int valueIfNull) const {
    const char* value = entry(column);
    return value == nullptr ? valueIfNull : LeadingInt(value);
}

double SqliteResultTable::realValue(const SqliteColumn& column, double valueIfNull) const {
    const char* value = entry(column);
    return value == nullptr ? valueIfNull : LeadingReal(value);
}

std::string SqliteResultTable::textValue(const SqliteColumn& column,
                                         const std::string& valueIfNull) const {
    const char* value = entry(column);
    return value == nullptr ? valueIfNull : std::string(value);
}

bool SqliteResultTable::isNull(const SqliteColumn& column) const {
    return entry(column) == nullptr;
}

std::string SqliteResultTable::columnName(int index) const {
    checkResults();
    if (index < 0 || index >= columnCount_) {
        throw SqliteException(SqliteException::kLayerError, "Invalid field index requested");
    }
    return results_[index] != nullptr ? results_[index] : "";
}

void SqliteResultTable::release() {
    if (results_ != nullptr) {
        sqlite3_free_table(std::exchange(results_, nullptr));
    }
}
