#include "page/hosting_folder.h"

std::string FolderLabel(const HostingFolder& folder, const std::string& siteAddress,
                        const std::string& pageFileName) {
    if (folder.folderName.find(kNoHostingFolder) != std::string::npos) {
        return "[Click for a Corvala web folder]";
    }
    return siteAddress + folder.folderName + "/" + pageFileName;
}
