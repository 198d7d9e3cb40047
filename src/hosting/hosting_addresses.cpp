#include "hosting/hosting_addresses.h"

#include "common/service_addresses.h"

HostingAddresses HostingAddresses::Service() {
    return {kHostingSiteAddress,         kHostingServletAddress, kHostingPictureUploadAddress,
            kHostingDeleteScriptAddress, kDefaultHttpTimeout,    std::string()};
}

HostingAddresses HostingAddresses::UnderOneBase(const std::string& base,
                                                std::chrono::milliseconds timeout,
                                                const std::string& certificateAuthority) {
    return {base,
            base + "quillservlet",
            base + "scripts/uploadgraphic.php",
            base + "scripts/deleteimages.php?filename=",
            timeout,
            certificateAuthority};
}
