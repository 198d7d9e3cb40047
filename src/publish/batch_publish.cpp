#include "publish/batch_publish.h"

#include <filesystem>
#include <optional>

#include "common/paths.h"
#include "designer/published_page.h"
#include "page/working_files.h"
#include "platform/console_prompts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"

namespace {

constexpr int kAllWritten = 0;
constexpr int kSomeNotWritten = 1;
constexpr int kUsageOrDatabaseError = 2;
constexpr const char* kUsage = "usage: quillora-publish [--workdir DIR] SITE_FOLDER [PAGE ...]\n";
constexpr const char* kHelp =
    "Writes the finished pages of a site folder from their stored designs, with copies of\n"
    "their pictures, as the designer's save writes them. The page store is only read.\n"
    "\n"
    "  SITE_FOLDER    the site folder whose pages are written\n"
    "  PAGE ...       only these pages (file names); all stored pages when none are named\n"
    "  --workdir DIR  the working folder holding quilldata.db (default ~/quillworking)\n"
    "  --help         this text\n"
    "\n"
    "Exit status: 0 every page written, 1 some were not, 2 usage or database error.\n";

struct Request {
    std::string workingFolder;
    std::string siteFolder;
    std::vector<std::string> pages;
};

std::optional<Request> ParseArguments(const std::vector<std::string>& arguments,
                                      const std::string& defaultWorkingFolder) {
    Request request{defaultWorkingFolder, {}, {}};
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--workdir") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.workingFolder = arguments[i];
        } else if (argument.rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.empty()) {
        return std::nullopt;
    }
    // Folders are stored as full paths.
    std::filesystem::path folder(positional.front());
    if (folder.is_relative()) {
        folder = std::filesystem::absolute(folder).lexically_normal();
    }
    request.siteFolder = WithoutTrailingSeparator(folder.string());
    request.pages.assign(positional.begin() + 1, positional.end());
    return request;
}

}  // namespace

int RunBatchPublish(const std::vector<std::string>& arguments,
                    const std::string& defaultWorkingFolder, std::ostream& out, std::ostream& err) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << kUsage << kHelp;
            return 0;
        }
    }
    const std::optional<Request> request = ParseArguments(arguments, defaultWorkingFolder);
    if (!request) {
        err << kUsage;
        return kUsageOrDatabaseError;
    }
    const std::string databasePath = JoinPath(request->workingFolder, "quilldata.db");
    SqliteDatabase db;
    try {
        db.openReadOnly(databasePath);
    } catch (const SqliteException& failure) {
        err << "cannot open the page store " << databasePath << ": " << failure.message() << "\n";
        return kUsageOrDatabaseError;
    }
    ConsolePrompts prompts(err);
    PageStore store(db, prompts);
    std::vector<std::string> pages = request->pages;
    if (pages.empty()) {
        for (const std::string& name : store.pageNames(request->siteFolder)) {
            if (name != kQuickstartPage) {
                pages.push_back(name);
            }
        }
        if (pages.empty() && !prompts.databaseFailed()) {
            err << request->siteFolder << ": no pages of this folder are stored\n";
            return kSomeNotWritten;
        }
    }

    PagePublisher publisher(request->workingFolder, prompts);
    bool allWritten = true;
    for (const std::string& name : pages) {
        const std::string path = JoinPath(request->siteFolder, name);
        if (name == kQuickstartPage) {
            err << path << ": the quickstart page is for reference only and is not written\n";
            allWritten = false;
            continue;
        }
        PageRecord page;
        page.directory = request->siteFolder;
        page.fileName = name;
        if (!store.loadPage(page, request->siteFolder, name)) {
            if (!prompts.databaseFailed()) {
                err << path << ": this page is not stored\n";
            }
            allWritten = false;
            continue;
        }
        std::string text;
        if (!publisher.publish(page, PublishVariant::Save, request->siteFolder, name, text)) {
            err << path << ": cannot write the page\n";
            allWritten = false;
            continue;
        }
        out << "wrote " << path << "\n";
    }
    if (prompts.databaseFailed()) {
        return kUsageOrDatabaseError;
    }
    return allWritten ? kAllWritten : kSomeNotWritten;
}
