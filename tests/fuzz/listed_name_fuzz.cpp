// libFuzzer target for a name a server lists: the local name it becomes is one plain path
// component or nothing, and the path made of it lies inside the folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "transfer/server_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string listed(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> name = LocalNameFor(listed);
    if (!name) {
        return 0;
    }
    if (name->empty() || *name == "." || *name == ".." ||
        name->find_first_of(std::string("/\\\r\n\0", 5)) != std::string::npos) {
        std::abort();
    }
    static const std::string folder = std::filesystem::temp_directory_path() / "fuzz-listed";
    std::filesystem::create_directories(folder);
    if (const std::optional<std::string> path = LocalPathInside(folder, *name)) {
        if (std::filesystem::path(*path).parent_path() != std::filesystem::canonical(folder)) {
            std::abort();
        }
    }
    return 0;
}
