#include "hosting/page_upload.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "files/folder_listing.h"
#include "files/sent_record.h"
#include "hosting/form_poster.h"
#include "hosting/hosting_session.h"
#include "hosting/http_client.h"
#include "hosting/server_deletion.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "store/page_store.h"

namespace {

constexpr const char* kIncompleteCaption = "FILE UPLOAD INCOMPLETE";

// Characters a file name may hold around a picture name without ending the reference.
bool PartOfName(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

// Whether the name found at `at` stands whole, not inside a longer name (a.jpg in ba.jpg or
// a.jpg.bak).
bool WholeNameAt(std::string_view text, std::size_t at, std::size_t size) {
    const std::size_t end = at + size;
    return (at == 0 || !PartOfName(text[at - 1])) && (end == text.size() || !PartOfName(text[end]));
}

void Tell(Prompts& prompts, const std::string& text, const char* caption) {
    prompts.messageBox(text, caption, MessageButtons::Ok, MessageIcon::None);
}

// The names the picture list gives, as the service meant them: a reply ending in a line end
// names no further picture.
std::vector<std::string> ListedPictures(const std::string& answer) {
    std::vector<std::string> names;
    for (std::string name : SplitFields(answer, "|")) {
        name.erase(0, name.find_first_not_of(" \t\r\n"));
        name.erase(name.find_last_not_of(" \t\r\n") + 1);
        names.push_back(name);
    }
    return names;
}

// Whether the text names the file as a whole name (not inside a longer one), as it stands or
// percent-encoded as in a link.
bool NamesFile(const std::string& text, const std::string& name) {
    for (const std::string& form : {name, PercentEncoded(name)}) {
        for (std::size_t at = text.find(form); at != std::string::npos;
             at = text.find(form, at + 1)) {
            if (WholeNameAt(text, at, form.size())) {
                return true;
            }
        }
    }
    return false;
}

// The first of the files sent that the service's own listing does not hold; nothing when it
// holds them all. An answer of 2xx says only that a post arrived: an error page or a full disk
// behind it stored nothing.
std::optional<std::string> MissingFromListing(const std::vector<std::string>& sent,
                                              const std::string& listing, bool pictures) {
    const std::vector<std::string> names = ListedPictures(listing);
    for (const std::string& name : sent) {
        if (pictures ? std::find(names.begin(), names.end(), name) == names.end()
                     : !NamesFile(listing, name)) {
            return name;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ReplacePictureReferences(const std::string& page, const std::vector<std::string>& forms,
                                     const std::string& address) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = 0; at < page.size(); ++at) {
        for (const std::string& form : forms) {
            if (form.empty() || page.compare(at, form.size(), form) != 0) {
                continue;
            }
            if (WholeNameAt(page, at, form.size())) {
                result += page.substr(from, at - from) + address;
                from = at + form.size();
                at = from - 1;
                break;
            }
        }
    }
    return result + page.substr(from);
}

PageUpload::PageUpload(HostingSession& session, Prompts& prompts, const HostingAddresses& addresses)
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
    const std::string siteFolder = workspace.folders.selectedIndex()
                                       ? workspace.folders.selectedText()
                                       : workspace.page.directory;
    const SendReport report = SendPage(
        {workspace.page.fileName, workspace.page.pageTitle,
         [this] { return session_.writeUploadPage(); }, siteFolder, workspace.workingFolder},
        workspace.hosting, addresses_,
        [this](const std::string& text, const char* caption) { Tell(prompts_, text, caption); },
        false, false, [this] { return prompts_.transferGoesOn(); });
    const std::vector<std::string> kept = RemoveDeletedPages(
        session_.store().deleted().pages(siteFolder), workspace.hosting, addresses_,
        workspace.workingFolder,
        [this](const std::string& text, const char* caption) { Tell(prompts_, text, caption); });
    for (const std::string& name : kept) {
        Tell(prompts_, name + " could not be removed from the hosting folder.", kIncompleteCaption);
    }
    return report.failure.empty() && kept.empty();
}

std::vector<std::string> RemoveDeletedPages(
    const std::vector<std::pair<std::string, long long>>& deleted, const HostingFolder& folder,
    const HostingAddresses& addresses, const std::string& workingFolder, const UploadTell& tell) {
    SentRecord record(workingFolder, "hosting|" + folder.folderId);
    std::vector<std::string> kept;
    for (const std::string& name : PagesToRemove(deleted, record)) {
        tell(RemovalNotice(name), "PAGE REMOVED");
        // The service answers "N" only when it cannot be reached.
        if (HttpGet(DeleteRequest(addresses, folder, name, PercentEncoded(folder.password)),
                    addresses.timeout, addresses.certificateAuthority) == "N") {
            kept.push_back(name);
        } else {
            record.removed(name);
        }
    }
    return kept;
}

SendReport SendPage(const PageSending& page, const HostingFolder& folder,
                    const HostingAddresses& addresses, const UploadTell& tell, bool dryRun,
                    bool force, const FormPoster::GoesOn& goesOn) {
    SendReport report;
    const std::string request = folder.scriptAddress +
                                "listimages.php?folderid=" + folder.folderId +
                                "&pagename=" + PercentEncoded(page.pageName);
    tell(request, "THIS IS THE REQUEST");
    const std::string answer = HttpGet(request, addresses.timeout, addresses.certificateAuthority);
    tell(answer, "SERVER ANSWER");
    if (answer.find("STORAGE EXCEEDED") != std::string::npos) {
        report.failure = "Maximum storage for folder exceeded.\nDelete old files for more space.";
        tell(report.failure, kIncompleteCaption);
        return report;
    }
    const std::optional<std::string> written = page.pageText();
    if (!written) {
        report.failure = "The page " + page.pageName + " could not be written.";
        return report;
    }
    std::string text = *written;
    const std::vector<std::string> used =
        UsedPictures(ListPictures(JoinPath(page.siteFolder, "*.*")), text);
    for (const std::string& name : used) {
        text = ReplacePictureReferences(text, PictureReferenceForms(name),
                                        folder.scriptAddress + "getimage.php?folderid=" +
                                            folder.folderId + "&filename=" + PercentEncoded(name));
    }
    const std::string uploadFile = JoinPath(page.workingFolder, "uploadfile.html");
    if (!dryRun && !WriteTextFile(uploadFile, text)) {
        report.failure =
            "The page could not be prepared for the upload: " + uploadFile + " cannot be written.";
        tell(report.failure, kIncompleteCaption);
        return report;
    }
    const FormPoster poster(addresses.timeout, goesOn, addresses.certificateAuthority);
    const auto send = [&](bool picture, const Form& form, const std::string& what) {
        const std::string& path = form.filePath;
        const PostResult result = dryRun    ? PostResult{true, ""}
                                  : picture ? poster.postPictureForm(addresses.pictureUpload, form)
                                            : poster.postPageForm(addresses.servlet, form);
        if (!result.sent) {
            report.failure = what + " could not be uploaded: " + result.failure + ".";
            tell(report.failure, kIncompleteCaption);
            return false;
        }
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        report.sent.emplace_back(FileNameOf(path), error ? 0LL : static_cast<long long>(size));
        return true;
    };
    const std::vector<std::string> onServer = ListedPictures(answer);
    const auto confirmed = [&](const std::vector<std::string>& sent, const std::string& listing,
                               bool pictures) {
        const std::optional<std::string> missing = MissingFromListing(sent, listing, pictures);
        if (missing) {
            report.failure =
                (pictures ? "The picture " : "The page ") + *missing +
                (listing == "N" ? " was sent, but the hosting folder's list of files could not "
                                  "be read to confirm it."
                                : " was sent, but the hosting folder does not hold it.");
            tell(report.failure, kIncompleteCaption);
            report.sent.erase(
                std::remove_if(report.sent.begin(), report.sent.end(),
                               [&](const auto& file) { return file.first == *missing; }),
                report.sent.end());
        }
        return !missing;
    };
    std::vector<std::string> picturesSent;
    // A picture the folder holds is sent again when it changed since it was sent there.
    SentRecord record(page.workingFolder, "hosting|" + folder.folderId);
    for (const std::string& name : used) {
        if (!force && std::find(onServer.begin(), onServer.end(), name) != onServer.end() &&
            !record.needsSending(name, JoinPath(page.siteFolder, name), std::nullopt)) {
            report.skipped.push_back(name);
            continue;
        }
        const Form picture{JoinPath(page.siteFolder, name),
                           page.pageName,
                           {{"FOLDERID", folder.folderId},
                            {"PAGENAME", page.pageName},
                            {"MAX_FILE_SIZE", "5000000"},
                            {"PASSWORD", folder.password}}};
        const std::optional<SentRecord::LocalState> before = SentRecord::Look(picture.filePath);
        if (!send(true, picture, "The picture " + name)) {
            return report;
        }
        if (!dryRun) {
            record.sent(name, picture.filePath, std::string(), before);
        }
        picturesSent.push_back(name);
    }
    if (!picturesSent.empty() && !dryRun &&
        !confirmed(picturesSent,
                   HttpGet(request, addresses.timeout, addresses.certificateAuthority), true)) {
        return report;
    }
    const Form form{uploadFile,
                    page.pageName,
                    {{"POSTTYPE", "SAVEWEBPAGE"},
                     {"FOLDERNAME", folder.folderName},
                     {"PASSWORD", folder.password},
                     {"PAGETITLE", page.pageTitle}}};
    if (!send(false, form, "The page " + page.pageName)) {
        return report;
    }
    report.sent.back().first = page.pageName;
    // The page is recorded once the folder lists it: only a page this program sent there is
    // ever removed from it.
    if (!dryRun && confirmed({page.pageName},
                             HttpGet(FileListingRequest(addresses, folder), addresses.timeout,
                                     addresses.certificateAuthority),
                             false)) {
        record.sent(page.pageName, uploadFile);
    }
    return report;
}
