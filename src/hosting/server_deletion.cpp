#include "hosting/server_deletion.h"

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "hosting/http_client.h"
#include "page/workspace.h"
#include "platform/prompts.h"

ServerDeletion::ServerDeletion(const Workspace& workspace, Prompts& prompts,
                               const HostingAddresses& addresses)
    : workspace_(&workspace), prompts_(&prompts), addresses_(addresses) {}

void ServerDeletion::run() {
    const HostingFolder& folder = workspace_->hosting;
    if (!folder.exists()) {
        prompts_->messageBox(
            "Online page delete is not yet possible.\nNo pages have been uploaded.",
            "No Corvala folder", MessageButtons::Ok, MessageIcon::None);
        return;
    }
    prompts_->serverFiles(
        {JoinPath(workspace_->workingFolder, "connecting_message.html"),
         FileListingRequest(addresses_, folder),
         // The window may outlive this object (it opens once the command has ended): the link
         // handler keeps what it needs itself.
         [deletion = *this](const std::string& url) mutable { deletion.navigated(url); }});
}

void ServerDeletion::navigated(const std::string& url) {
    std::string address = url;
    for (std::size_t at = address.find("%20"); at != std::string::npos;
         at = address.find("%20", at + 1)) {
        address.replace(at, 3, " ");
    }
    if (address.find("FILEDELETE") == std::string::npos) {
        return;
    }
    const HostingFolder& folder = workspace_->hosting;
    const std::string file = FieldAt(address, 3, "|");
    // The box shows the address; the folder's password stays out of sight.
    prompts_->messageBox(DeleteRequest(addresses_, folder, file, "****"),
                         "DELETE LINK:", MessageButtons::Ok, MessageIcon::None);
    HttpGet(DeleteRequest(addresses_, folder, file, PercentEncoded(folder.password)),
            addresses_.timeout, addresses_.certificateAuthority);
}

std::string DeleteRequest(const HostingAddresses& addresses, const HostingFolder& folder,
                          const std::string& file, const std::string& password) {
    return addresses.deleteScript + PercentEncoded(file) + "&password=" + password +
           "&folderid=" + folder.folderId;
}

std::string FileListingRequest(const HostingAddresses& addresses, const HostingFolder& folder) {
    return addresses.servlet + "?FILELISTING|" + folder.folderName + "|" + folder.password;
}
