#pragma once

#include <ostream>

#include "platform/prompts.h"

// Prompts for programs that run without anybody to answer: every message goes to the stream
// and every question is declined. Remembers whether a database failure was shown.
class ConsolePrompts : public Prompts {
  public:
    explicit ConsolePrompts(std::ostream& out) : out_(out) {}

    MessageAnswer messageBox(const std::string& text, const std::string& caption,
                             MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> saveFileName(const SaveFileRequest&) override { return {}; }
    std::optional<std::string> pageName() override { return {}; }
    std::optional<std::string> pageTitle(const std::string&) override { return {}; }
    std::optional<std::string> clickOption() override { return {}; }
    std::optional<std::string> openFileName(const OpenFileRequest&) override { return {}; }
    std::optional<Rgb> colour() override { return {}; }
    std::optional<ImageProperties> imageProperties(const ImageProperties&) override { return {}; }
    std::optional<std::string> pageLength(const std::string&) override { return {}; }
    std::optional<std::string> linkTarget() override { return {}; }
    SpellAnswer spellReplacement(const std::string& word, const std::string&) override {
        return {word, false, false};
    }
    bool hostingAgreement(const std::string&) override { return false; }
    std::optional<std::string> folderName(const std::string&, const std::string&) override {
        return {};
    }
    std::optional<FolderAction> folderAction() override { return {}; }
    void uploadNotice(bool) override {}
    void waitNotice(const std::string&) override {}
    bool waitGoesOn() override { return true; }
    void taskProgress(const std::string&, std::size_t, std::size_t) override {}
    void transferProgress(int) override {}
    bool transferGoesOn() override { return true; }
    std::optional<std::string> newFolderName() override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return {};
    }
    void serverFiles(const ServerFilesWindow&) override {}
    std::optional<PageOptions> pageOptions(const PageOptions&) override { return {}; }
    std::optional<SiteOptions> siteOptions(const std::string&, const SiteOptions&) override {
        return {};
    }
    std::optional<std::vector<std::string>> siteLanguages(
        const std::string&, const std::vector<std::string>&) override {
        return {};
    }
    std::optional<SiteMenu> siteMenu(const SiteMenu&, const FolderPages&) override { return {}; }
    std::optional<std::size_t> siteCheck(const std::string&,
                                         const std::vector<std::string>&) override {
        return {};
    }
    std::optional<PageChoice> pageList(const std::string&, const std::vector<PageListEntry>&,
                                       const std::string&) override {
        return {};
    }
    std::optional<PublishRequest> publishSite(const std::string&,
                                              const std::vector<std::string>&) override {
        return {};
    }
    std::optional<std::size_t> deletedPages(const std::string&,
                                            const std::vector<DeletedPageEntry>&) override {
        return {};
    }
    std::optional<VersionChoice> pageHistory(const std::string&,
                                             const std::vector<PageVersionEntry>&) override {
        return {};
    }

    bool databaseFailed() const { return databaseFailed_; }

  private:
    std::ostream& out_;
    bool databaseFailed_ = false;
};
