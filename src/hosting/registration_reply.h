#pragma once

#include <optional>
#include <string>

// The servlet's answer to a registration, "id|script address" (its line end already gone).
struct Registration {
    std::string folderId;
    std::string scriptAddress;
};

// The folder the answer names; nothing when it holds no numeric id and no address, whatever
// else it says.
std::optional<Registration> ParseRegistrationReply(const std::string& reply);
