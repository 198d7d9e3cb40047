#include "store/version_store.h"

#include <chrono>

#include "store/db/sqlite_exception.h"
#include "store/store_access.h"

VersionStore::VersionStore(StoreAccess& access) : access_(access), versions_(access.db()) {}

void VersionStore::keep(const PageRecord& page, const std::string& picture) {
    const long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    try {
        versions_.keep(page, picture, now);
    } catch (const SqliteException& failure) {
        access_.report(failure);
    }
}

std::vector<PageVersion> VersionStore::list(const std::string& folder,
                                            const std::string& fileName) {
    try {
        return versions_.list(folder, fileName);
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return {};
    }
}

std::optional<PageRecord> VersionStore::design(long long id) {
    try {
        return versions_.design(id);
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return std::nullopt;
    }
}

std::optional<long long> VersionStore::lastSaved(const std::string& folder,
                                                 const std::string& fileName) {
    try {
        const std::optional<long long> ms = versions_.lastSaved(folder, fileName);
        return ms ? std::optional<long long>(*ms / 1000) : std::nullopt;
    } catch (const SqliteException&) {
        return std::nullopt;
    }
}
