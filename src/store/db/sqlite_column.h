#pragma once

#include <string>

// A column of a query result, named by its zero-based index or by its exact (case-sensitive)
// name. A null name is kept as "no name" so that the lookup can report it.
class SqliteColumn {
  public:
    SqliteColumn(int index) : index_(index) {}  // NOLINT(google-explicit-constructor)
    SqliteColumn(const char* name)              // NOLINT(google-explicit-constructor)
        : byName_(true), hasName_(name != nullptr), name_(name != nullptr ? name : "") {}
    SqliteColumn(const std::string& name)  // NOLINT(google-explicit-constructor)
        : byName_(true), hasName_(true), name_(name) {}

    bool byName() const { return byName_; }
    bool hasName() const { return hasName_; }
    int index() const { return index_; }
    const std::string& name() const { return name_; }

  private:
    int index_ = 0;
    bool byName_ = false;
    bool hasName_ = false;
    std::string name_;
};
