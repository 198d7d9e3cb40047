#include "hosting/page_upload.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "designer/designer_session.h"
#include "files/folder_listing.h"
#include "hosting/form_poster.h"
#include "hosting/http_client.h"
#include "page/working_files.h"
#include "platform/prompts.h"

namespace {

constexpr const char* kIncompleteCaption = "FILE UPLOAD INCOMPLETE";

// Characters a file name may hold around a picture name without ending the reference.
bool PartOfName(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

void Tell(Prompts& prompts, const std::string& text, const char* caption) {
    prompts.messageBox(text, caption, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace

std::string ReplacePictureReferences(const std::string& page, const std::string& name,
                                     const std::string& address) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = page.find(name); at != std::string::npos; at = page.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        const bool whole = (at == 0 || !PartOfName(page[at - 1])) &&
                           (end == page.size() || !PartOfName(page[end]));
        if (whole && at >= from) {
            result += page.substr(from, at - from) + address;
            from = end;
        }
    }
    return result + page.substr(from);
}

std::vector<std::string> UsedPictures(const std::string& pictures, const std::string& page) {
    std::vector<std::string> used;
    if (pictures.empty()) {
        return used;
    }
    for (const std::string& name : SplitFields(pictures, "|")) {
        if (page.find(name) != std::string::npos &&
            std::find(used.begin(), used.end(), name) == used.end()) {
            used.push_back(name);
        }
    }
    return used;
}

PageUpload::PageUpload(DesignerSession& session, Prompts& prompts,
                       const HostingAddresses& addresses)
    : session_(session), prompts_(prompts), addresses_(addresses) {}

void PageUpload::run() {
    const Workspace& workspace = session_.workspace();
    if (!workspace.hosting.exists()) {
        Tell(prompts_, "Uploading is not yet possible.\nChoose a web folder name.",
             "No Corvala folder");
        return;
    }
    if (workspace.page.fileName.find(kQuickstartPage) != std::string::npos) {
        Tell(prompts_, "The Quillora Quickstart tutorial can't be uploaded.",
             "Uploading not permitted");
        return;
    }
    prompts_.uploadNotice(true);
    const bool complete = transfer();
    prompts_.uploadNotice(false);
    if (complete) {
        Tell(prompts_, "Web page and image files uploaded successfully.", "File Upload Complete");
    }
}

bool PageUpload::transfer() {
    Workspace& workspace = session_.workspace();
    const HostingFolder& folder = workspace.hosting;
    const std::string pageName = workspace.page.fileName;
    const std::string request = folder.scriptAddress +
                                "listimages.php?folderid=" + folder.folderId +
                                "&pagename=" + pageName;
    Tell(prompts_, request, "THIS IS THE REQUEST");
    const std::string answer = HttpGet(request, addresses_.timeout);
    Tell(prompts_, answer, "SERVER ANSWER");
    if (answer.find("STORAGE EXCEEDED") != std::string::npos) {
        Tell(prompts_, "Maximum storage for folder exceeded.\nDelete old files for more space.",
             kIncompleteCaption);
        return false;
    }
    const std::optional<std::string> written = session_.publisher().writeUploadPage();
    if (!written) {
        return false;
    }
    std::string page = *written;
    const std::string siteFolder = workspace.folders.selectedIndex()
                                       ? workspace.folders.selectedText()
                                       : workspace.page.directory;
    const std::vector<std::string> used =
        UsedPictures(ListPictures(JoinPath(siteFolder, "*.*")), page);
    for (const std::string& name : used) {
        page = ReplacePictureReferences(page, name,
                                        folder.scriptAddress + "getimage.php?folderid=" +
                                            folder.folderId + "&filename=" + name);
    }
    const std::string uploadFile = JoinPath(workspace.workingFolder, "uploadfile.html");
    if (!WriteTextFile(uploadFile, page)) {
        Tell(prompts_,
             "The page could not be prepared for the upload: " + uploadFile + " cannot be written.",
             kIncompleteCaption);
        return false;
    }
    const std::vector<std::string> onServer = SplitFields(answer, "|");
    for (const std::string& name : used) {
        if (std::find(onServer.begin(), onServer.end(), name) != onServer.end()) {
            continue;
        }
        const std::string description = "SpecialFile|" + JoinPath(siteFolder, name) + "|FILENAME|" +
                                        pageName + "|FOLDERID|" + folder.folderId + "|PAGENAME|" +
                                        pageName + "|MAX_FILE_SIZE|5000000|PASSWORD|" +
                                        folder.password;
        if (!post(true, description, "The picture " + name)) {
            return false;
        }
    }
    const std::string description = "uploadfile|" + uploadFile + "|FILENAME|" + pageName +
                                    "|POSTTYPE|SAVEWEBPAGE|FOLDERNAME|" + folder.folderName +
                                    "|PASSWORD|" + folder.password + "|PAGETITLE|" +
                                    workspace.page.pageTitle;
    return post(false, description, "The page " + pageName);
}

bool PageUpload::post(bool picture, const std::string& description, const std::string& what) {
    const FormPoster poster(addresses_.timeout);
    const PostResult result = picture
                                  ? poster.postPictureForm(addresses_.pictureUpload, description)
                                  : poster.postPageForm(addresses_.servlet, description);
    if (!result.sent) {
        Tell(prompts_, what + " could not be uploaded: " + result.failure + ".",
             kIncompleteCaption);
    }
    return result.sent;
}
