#include "hosting/hosting_operations.h"

#include <optional>
#include <random>
#include <utility>

#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_search.h"
#include "hosting/hosting_session.h"
#include "hosting/http_client.h"
#include "hosting/page_upload.h"
#include "hosting/registration_reply.h"
#include "hosting/server_deletion.h"
#include "page/page_names.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "store/db/sqlite_exception.h"
#include "store/hosting_folder_store.h"
#include "store/page_store.h"

namespace {

constexpr const char* kNameAdvice = "(spaces and reserved characters will be replaced) \n";
constexpr const char* kNameTaken =
    "Could not register requested name \n(reason: folder name already exists)";
constexpr const char* kNameNotAvailable = "NAME NOT AVAILABLE";
constexpr const char* kNoConnect = "NO_CONNECT";

}  // namespace

std::string MakeFolderPassword() {
    // Guessing a folder's password must not be as easy as guessing the second it was made in.
    std::random_device source;
    std::uniform_int_distribution<long long> digits(100000000000LL, 999999999999LL);
    return std::to_string(digits(source));
}

std::string HostingAgreementText() {
    return "Storage folders @ Corvala are limited to 50 MB of text and image data."
           "Inactive folder accounts will be deleted after 90 days. Folder contents are not"
           " backed up by Corvala. There is no guarantee of ongoing availability of materials "
           "uploaded."
           " You agree to sole responsibility for the content that you upload,"
           " which will not include any kind of illegal materials or hate literature."
           " Corvala reserves the right to remove folder contents at any time without notice.";
}

HostingOperations::HostingOperations(HostingSession& session, SqliteDatabase& db,
                                     const Ports& ports, HostingAddresses addresses)
    : session_(session), db_(db), ports_(ports), addresses_(std::move(addresses)) {}

bool HostingOperations::acceptHostingAgreement() {
    return ports_.prompts.hostingAgreement(HostingAgreementText());
}

void HostingOperations::siteOptions() {
    if (!session_.workspace().hosting.exists()) {
        registrationLoop();
        return;
    }
    const std::optional<FolderAction> action = ports_.prompts.folderAction();
    if (action == FolderAction::ViewOnline) {
        viewOnline();
    } else if (action == FolderAction::ChangeName) {
        renameLoop();
    }
}

std::optional<std::pair<std::string, std::string>> HostingOperations::askForName(std::string prompt,
                                                                                 bool register_) {
    std::string name;
    for (;;) {
        const std::optional<std::string> typed = ports_.prompts.folderName(prompt, name);
        if (!typed) {
            return std::nullopt;
        }
        name = *typed;
        // A rename sends an empty name as it is.
        if (register_ && name.empty()) {
            ports_.prompts.messageBox(
                "Folder name was not registered.\n(name must be at least 1 character long)",
                "FOLDER REGISTRATION", MessageButtons::Ok, MessageIcon::None);
            return std::nullopt;
        }
        const std::string cleaned = CleanFolderName(name);
        const std::string reply = register_ ? registerFolder(cleaned) : renameFolder(cleaned);
        if (Contains(reply, kNameNotAvailable)) {
            prompt = kNameTaken;
            continue;
        }
        if (Contains(reply, kNoConnect)) {
            return std::nullopt;
        }
        return std::make_pair(cleaned, reply);
    }
}

void HostingOperations::registrationLoop() {
    const auto answer =
        askForName(std::string("Enter a name for your folder @ Corvala:\n") + kNameAdvice, true);
    if (!answer) {
        return;
    }
    const auto& [cleaned, reply] = *answer;
    const std::optional<Registration> registration = ParseRegistrationReply(reply);
    if (!registration) {
        ports_.prompts.messageBox(
            "The folder was not registered: the service's answer holds no folder id.",
            "FOLDER REGISTRATION", MessageButtons::Ok, MessageIcon::None);
        return;
    }
    HostingFolder& folder = session_.workspace().hosting;
    folder.folderId = registration->folderId;
    folder.scriptAddress = registration->scriptAddress;
    folder.folderName = cleaned;
    ports_.prompts.messageBox(
        "Your new folder has been created.\n You can now upload files to Corvala.",
        "FOLDER CREATED SUCCESFULLY", MessageButtons::Ok, MessageIcon::None);
    store([&] { SaveNewHostingFolder(db_, folder, session_.passwordVault()); });
    refreshFolderLabel();
}

void HostingOperations::renameLoop() {
    const auto answer = askForName(
        std::string("Enter a new name for your folder @ Corvala:\n") + kNameAdvice, false);
    if (!answer) {
        return;
    }
    HostingFolder& folder = session_.workspace().hosting;
    folder.folderName = answer->first;
    ports_.prompts.messageBox("Your Corvala folder name hase been changed.",
                              "FOLDER CHANGED SUCCESFULLY", MessageButtons::Ok, MessageIcon::None);
    store([&] { SaveFolderNameChange(db_, folder); });
    refreshFolderLabel();
}

void HostingOperations::viewOnline() {
    const Workspace& workspace = session_.workspace();
    if (Contains(workspace.page.fileName, kQuickstartPage)) {
        ports_.prompts.messageBox(
            "Quickstart tutorial can't be uploaded.\n(not present in online folder)",
            "Uploading not permitted", MessageButtons::Ok, MessageIcon::None);
        return;
    }
    ports_.shell.open(addresses_.site + workspace.hosting.folderName + "/" +
                      workspace.page.fileName);
}

std::string HostingOperations::reachServlet(const std::string& url) {
    const std::string reply = HttpGet(url, addresses_.timeout, addresses_.certificateAuthority);
    if (reply.size() < 4) {
        ports_.prompts.messageBox("Can't connect to Corvala server:\nCheck internet connection.",
                                  "Server Connection error:", MessageButtons::Ok,
                                  MessageIcon::None);
        return kNoConnect;
    }
    return reply;
}

std::string HostingOperations::registerFolder(const std::string& name) {
    HostingFolder& folder = session_.workspace().hosting;
    folder.password = MakeFolderPassword();
    // Encoded, so that a "|" typed in the name cannot shift the servlet's fields.
    const std::string reply = reachServlet(addresses_.site + "quillservlet?REGISTERFOLDER|" +
                                           PercentEncoded(name) + "|" + folder.password);
    if (reply == kNoConnect) {
        return reply;
    }
    // The servlet ends its answer with a line end.
    return reply.substr(0, reply.size() - 1);
}

std::string HostingOperations::renameFolder(const std::string& name) {
    const HostingFolder& folder = session_.workspace().hosting;
    return reachServlet(addresses_.site + "quillservlet?CHANGEFOLDERNAME|" + PercentEncoded(name) +
                        "|" + PercentEncoded(folder.folderName) + "|" + folder.password);
}

template <typename Statement>
void HostingOperations::store(Statement&& statement) {
    try {
        statement();
    } catch (const SqliteException& failure) {
        session_.store().report(failure);
    }
}

void HostingOperations::refreshFolderLabel() {
    const Workspace& workspace = session_.workspace();
    session_.showFolderLabel(
        FolderLabel(workspace.hosting, addresses_.site, workspace.page.fileName));
    ports_.browser.navigate(JoinPath(workspace.workingFolder, kScreenPageFile));
}

void HostingOperations::uploadPage() {
    PageUpload(session_, ports_.prompts, addresses_).run();
}

void HostingOperations::deleteServerPages() {
    ServerDeletion(session_.workspace(), ports_.prompts, addresses_).run();
}
