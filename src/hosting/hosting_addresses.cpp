#include "hosting/hosting_addresses.h"

#include "common/service_addresses.h"

HostingAddresses HostingAddresses::Service() {
    return {kHostingSiteAddress, kHostingServletAddress, kHostingPictureUploadAddress,
            kHostingDeleteScriptAddress};
}
