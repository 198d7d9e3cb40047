#include "hosting/registration_reply.h"

std::optional<Registration> ParseRegistrationReply(const std::string& reply) {
    const std::size_t bar = reply.find('|');
    if (bar == std::string::npos || bar == 0 || bar + 1 >= reply.size()) {
        return std::nullopt;
    }
    Registration registration{reply.substr(0, bar), reply.substr(bar + 1)};
    if (registration.folderId.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return registration;
}
