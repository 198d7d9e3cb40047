#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text_file.h"
#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/picture_decoder.h"
#include "platform/prompts.h"
#include "platform/shell.h"

// Ports whose answers a test scripts and whose calls it reads back.

class FakeClipboard : public Clipboard {
  public:
    std::string text() override { return content; }
    void setText(const std::string& text) override {
        content = text;
        writes.push_back(text);
    }
    std::string content;
    std::vector<std::string> writes;
};

class FakeBrowser : public Browser {
  public:
    void navigate(const std::string& address) override { addresses.push_back(address); }
    // An update in place shows the screen page as a load does; its argument is kept.
    void updateEditorPage(const std::string& screenPage, const std::string& update) override {
        updates.push_back(update);
        addresses.push_back(screenPage);
    }
    std::optional<std::string> editorLayout() override {
        ++layoutReads;
        return layout;
    }
    // How a page file the site check lays out would measure, from its text; without it,
    // nothing is measured.
    std::function<std::map<std::string, std::vector<std::string>>(const std::string&)> reach;
    std::optional<std::map<std::string, std::vector<std::string>>> sectionReach(
        const std::string& pageFile) override {
        if (!reach) {
            return std::nullopt;
        }
        return reach(ReadTextFile(pageFile).value_or(std::string()));
    }
    std::vector<std::string> addresses;
    std::vector<std::string> updates;
    // What the editor page would report; nothing, as when no editor page is shown.
    std::optional<std::string> layout;
    int layoutReads = 0;
};

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

class FakeShell : public Shell {
  public:
    void open(const std::string& pathOrAddress) override { opened.push_back(pathOrAddress); }
    std::vector<std::string> opened;
};

// Scripted dialog answers are taken in order; a dialog with no answer left is cancelled.
using DialogAnswers = std::deque<std::optional<std::string>>;

class FakePrompts : public Prompts {
  public:
    MessageAnswer messageBox(const std::string& text, const std::string& caption,
                             MessageButtons buttons, MessageIcon icon) override {
        shown.push_back({text, caption, buttons, icon});
        if (answers.empty()) {
            return MessageAnswer::Cancel;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> saveFileName(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return Next(fileNames);
    }
    std::optional<std::string> pageName() override { return Next(pageNames); }
    std::optional<std::string> pageTitle(const std::string& current) override {
        titlesShown.push_back(current);
        return Next(titles);
    }
    std::optional<std::string> clickOption() override { return Next(clickOptions); }
    std::optional<std::string> openFileName(const OpenFileRequest& request) override {
        openRequests.push_back(request);
        return realFileDialogs ? realFileDialogs->openFileName(request) : Next(openFileNames);
    }
    std::optional<Rgb> colour() override { return Next(colours); }
    std::optional<ImageProperties> imageProperties(const ImageProperties& current) override {
        imagePropertiesShown.push_back(current);
        return Next(imagePropertyAnswers);
    }
    std::optional<std::string> pageLength(const std::string& current) override {
        lengthsShown.push_back(current);
        return Next(lengths);
    }
    std::optional<std::string> linkTarget() override { return Next(linkTargets); }
    // A word without a scripted answer is ignored.
    SpellAnswer spellReplacement(const std::string& word, const std::string& suggestions) override {
        spellAsked.push_back(word + " | " + suggestions);
        if (spellAnswers.empty()) {
            return {word, false, false};
        }
        SpellAnswer answer = spellAnswers.front();
        spellAnswers.pop_front();
        return answer;
    }

    // The captions of the message boxes shown, in order.
    std::vector<std::string> captions() const {
        std::vector<std::string> result;
        for (const ShownMessage& message : shown) {
            result.push_back(message.caption);
        }
        return result;
    }

    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    DialogAnswers fileNames;
    std::vector<SaveFileRequest> saveRequests;
    DialogAnswers pageNames;
    DialogAnswers titles;
    std::vector<std::string> titlesShown;
    DialogAnswers clickOptions;
    DialogAnswers openFileNames;
    // The program's own file dialogs and New Site window, for the tests that answer them
    // through their widgets.
    Prompts* realFileDialogs = nullptr;
    std::vector<OpenFileRequest> openRequests;
    std::deque<std::optional<Rgb>> colours;
    std::deque<std::optional<ImageProperties>> imagePropertyAnswers;
    std::vector<ImageProperties> imagePropertiesShown;
    DialogAnswers lengths;
    std::vector<std::string> lengthsShown;
    DialogAnswers linkTargets;
    std::deque<SpellAnswer> spellAnswers;
    bool agreementAccepted = false;
    std::vector<std::string> agreementsShown;
    // Each folder-name dialog as "prompt | name shown".
    std::vector<std::string> folderNamesShown;
    DialogAnswers folderNames;
    std::deque<std::optional<FolderAction>> folderActions;
    // The notice shown and hidden, in order.
    std::vector<bool> notices;
    std::vector<std::string> serverFilesShown;
    std::vector<int> progress;
    DialogAnswers newFolderNames;
    DialogAnswers chosenFolders;
    std::vector<std::string> foldersAsked;
    // Addresses the server files window is sent to while it is open, in order.
    std::vector<std::string> serverFileClicks;
    // Each word asked about, with the suggestions: "teh | the ten ".
    std::vector<std::string> spellAsked;

    bool hostingAgreement(const std::string& text) override {
        agreementsShown.push_back(text);
        return agreementAccepted;
    }
    std::optional<std::string> folderName(const std::string& prompt,
                                          const std::string& name) override {
        folderNamesShown.push_back(prompt + " | " + name);
        return Next(folderNames);
    }
    std::optional<FolderAction> folderAction() override { return Next(folderActions); }
    void uploadNotice(bool visible) override { notices.push_back(visible); }
    void waitNotice(const std::string& text) override { waits.push_back(text); }
    bool waitGoesOn() override { return true; }
    std::vector<std::string> waits;
    void transferProgress(int percent) override { progress.push_back(percent); }
    // Cancels the transfer at the given step (counted from 1) when set.
    bool transferGoesOn() override { return ++transferSteps != cancelAtStep; }
    int transferSteps = 0;
    int cancelAtStep = 0;
    std::optional<std::string> newFolderName() override { return Next(newFolderNames); }
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override {
        foldersAsked.push_back(title + " | " + start);
        return Next(chosenFolders);
    }
    void serverFiles(const ServerFilesWindow& window) override {
        serverFilesShown.push_back(window.connectingPage + " " + window.listingAddress);
        for (const std::string& address : serverFileClicks) {
            window.navigated(address);
        }
    }

    std::optional<PageOptions> pageOptions(const PageOptions& current) override {
        pageOptionsShown.push_back(current);
        return Next(pageOptionAnswers);
    }
    std::optional<SiteOptions> siteOptions(const std::string& folder,
                                           const SiteOptions& current) override {
        siteOptionsAsked.push_back(folder + (current.phoneFriendly ? " on" : " off"));
        return Next(siteOptionsAnswers);
    }
    std::optional<std::vector<std::string>> siteLanguages(
        const std::string&, const std::vector<std::string>& current) override {
        languagesShown.push_back(current);
        return Next(languageAnswers);
    }
    std::vector<std::vector<std::string>> languagesShown;
    std::deque<std::optional<std::vector<std::string>>> languageAnswers;
    std::vector<PageOptions> pageOptionsShown;
    std::deque<std::optional<PageOptions>> pageOptionAnswers;
    // The New Site window: the real one when given, else the scripted answers.
    std::optional<std::string> newSite(const std::vector<StarterOffer>& starters) override {
        startersOffered = starters.size();
        return realFileDialogs ? realFileDialogs->newSite(starters) : Next(newSiteAnswers);
    }
    std::size_t startersOffered = 0;
    // The library of sections: the real windows when given, else the scripted answers.
    std::optional<std::string> sectionName() override {
        return realFileDialogs ? realFileDialogs->sectionName() : Next(sectionNames);
    }
    std::optional<SectionChoice> sectionLibrary(
        const std::vector<SectionOffer>& sections) override {
        sectionsOffered = sections;
        return realFileDialogs ? realFileDialogs->sectionLibrary(sections) : Next(sectionChoices);
    }
    std::deque<std::optional<std::string>> sectionNames;
    std::deque<std::optional<SectionChoice>> sectionChoices;
    std::vector<SectionOffer> sectionsOffered;
    std::deque<std::optional<std::string>> newSiteAnswers;
    std::optional<std::size_t> siteCheck(const std::string& folder,
                                         const std::vector<std::string>& findings) override {
        siteChecked.push_back(folder);
        siteFindings = findings;
        return Next(siteCheckAnswers);
    }
    void taskProgress(const std::string& step, std::size_t done, std::size_t total) override {
        progressShown.push_back(step + " " + std::to_string(done) + "/" + std::to_string(total));
    }
    std::vector<std::string> progressShown;
    std::optional<SiteMenu> siteMenu(const SiteMenu& current, const FolderPages& pages) override {
        menuShown.push_back(current);
        menuPages = pages;
        return Next(siteMenuAnswers);
    }
    std::vector<SiteMenu> menuShown;
    FolderPages menuPages;
    std::deque<std::optional<SiteMenu>> siteMenuAnswers;
    std::optional<PageChoice> pageList(const std::string& folder,
                                       const std::vector<PageListEntry>& pages,
                                       const std::string& current) override {
        pagesListed.push_back(pages);
        pageListCurrent = current;
        return realPageWindows ? realPageWindows->pageList(folder, pages, current)
                               : Next(pageListAnswers);
    }
    std::optional<PublishRequest> publishSite(const std::string& folder,
                                              const std::vector<std::string>& targets) override {
        targetsShown.push_back(targets);
        static_cast<void>(folder);
        return realPageWindows ? realPageWindows->publishSite(folder, targets)
                               : Next(publishAnswers);
    }
    std::vector<std::vector<std::string>> targetsShown;
    std::deque<std::optional<PublishRequest>> publishAnswers;
    std::optional<std::size_t> deletedPages(const std::string& folder,
                                            const std::vector<DeletedPageEntry>& pages) override {
        deletedListed.push_back(pages);
        return realPageWindows ? realPageWindows->deletedPages(folder, pages)
                               : Next(deletedAnswers);
    }
    std::optional<VersionChoice> pageHistory(
        const std::string& page, const std::vector<PageVersionEntry>& versions) override {
        historyShown.push_back(page);
        versionsListed = versions;
        return realPageWindows ? realPageWindows->pageHistory(page, versions)
                               : Next(historyAnswers);
    }
    // The program's Pages, History and Publish windows, for the tests that work them through
    // their widgets.
    Prompts* realPageWindows = nullptr;
    std::vector<std::vector<PageListEntry>> pagesListed;
    std::string pageListCurrent;
    std::deque<std::optional<PageChoice>> pageListAnswers;
    std::vector<std::vector<DeletedPageEntry>> deletedListed;
    std::deque<std::optional<std::size_t>> deletedAnswers;
    std::vector<std::string> historyShown;
    std::vector<PageVersionEntry> versionsListed;
    std::deque<std::optional<VersionChoice>> historyAnswers;
    std::vector<std::string> siteChecked;
    std::vector<std::string> siteFindings;
    std::deque<std::optional<std::size_t>> siteCheckAnswers;
    std::vector<std::string> siteOptionsAsked;
    std::deque<std::optional<SiteOptions>> siteOptionsAnswers;

  private:
    template <typename Answer>
    static std::optional<Answer> Next(std::deque<std::optional<Answer>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<Answer> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Sizes scripted by the file's bytes: "GIF 200 100" decodes as 200 by 100.
class FakePictureDecoder : public PictureDecoder {
  public:
    std::optional<PictureSize> decode(const std::string& bytes) override {
        PictureSize size;
        char kind[8] = {};
        if (std::sscanf(bytes.c_str(), "%7s %d %d", kind, &size.width, &size.height) != 3) {
            return std::nullopt;
        }
        return size;
    }
};
