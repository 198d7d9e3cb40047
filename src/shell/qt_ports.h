#pragma once

#include <QPointer>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>
#include <memory>

#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/picture_decoder.h"
#include "platform/prompts.h"
#include "platform/shell.h"

class QProgressDialog;
class UploadNotice;

class QtClipboard : public Clipboard {
  public:
    std::string text() override;
    void setText(const std::string& text) override;
};

// Loads pages in the embedded browser. The load is queued: a navigation asked for while the
// browser is still handling a page script must not replace that page under it.
class QtBrowser : public Browser {
  public:
    explicit QtBrowser(QWebEngineView* view);
    void navigate(const std::string& address) override;
    void updateEditorPage(const std::string& screenPage, const std::string& update) override;
    // Asks the editor page and waits for its answer, at most two seconds; nothing at once while
    // the page waits for the program.
    std::optional<std::string> editorLayout() override;
    std::string pagePicture() override;
    std::optional<std::map<std::string, std::vector<std::string>>> sectionReach(
        const std::string& pageFile) override;

  private:
    static constexpr int kLayoutTimeoutMs = 2000;
    QPointer<QWebEngineView> view_;
    // From a load asked for until it has finished: an update then would reach the page before.
    std::shared_ptr<bool> loading_ = std::make_shared<bool>(false);
};

class QtShell : public Shell {
  public:
    void open(const std::string& pathOrAddress) override;
};

// The program's dialogs, owned by the given window.
class QtPrompts : public Prompts {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer messageBox(const std::string& text, const std::string& caption,
                             MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> saveFileName(const SaveFileRequest& request) override;
    std::optional<std::string> pageName() override;
    std::optional<std::string> pageTitle(const std::string& current) override;
    std::optional<std::string> clickOption() override;
    std::optional<std::string> openFileName(const OpenFileRequest& request) override;
    std::optional<Rgb> colour() override;
    std::optional<ImageProperties> imageProperties(const ImageProperties& current) override;
    std::optional<std::string> pageLength(const std::string& current) override;
    std::optional<std::string> linkTarget() override;
    SpellAnswer spellReplacement(const std::string& word, const std::string& suggestions) override;
    bool hostingAgreement(const std::string& text) override;
    std::optional<std::string> folderName(const std::string& prompt,
                                          const std::string& name) override;
    std::optional<FolderAction> folderAction() override;
    void uploadNotice(bool shown) override;
    void waitNotice(const std::string& text) override;
    bool waitGoesOn() override { return transferGoesOn(); }
    void taskProgress(const std::string& step, std::size_t done, std::size_t total) override;
    void transferProgress(int percent) override;
    bool transferGoesOn() override;
    std::optional<std::string> newFolderName() override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override;
    void serverFiles(const ServerFilesWindow& window) override;
    std::optional<PageOptions> pageOptions(const PageOptions& current) override;
    std::optional<std::vector<std::string>> siteLanguages(
        const std::string& folder, const std::vector<std::string>& current) override;
    std::optional<SiteOptions> siteOptions(const std::string& folder,
                                           const SiteOptions& current) override;
    std::optional<SiteMenu> siteMenu(const SiteMenu& current, const FolderPages& pages) override;
    std::optional<PageChoice> pageList(const std::string& folder,
                                       const std::vector<PageListEntry>& pages,
                                       const std::string& current) override;
    std::optional<VersionChoice> pageHistory(
        const std::string& page, const std::vector<PageVersionEntry>& versions) override;
    std::optional<std::size_t> deletedPages(const std::string& folder,
                                            const std::vector<DeletedPageEntry>& pages) override;
    std::optional<PublishRequest> publishSite(const std::string& folder,
                                              const std::vector<std::string>& targets) override;
    std::optional<std::string> sectionName() override;
    std::optional<SectionChoice> sectionLibrary(const std::vector<SectionOffer>& sections) override;
    std::optional<std::string> newSite(const std::vector<StarterOffer>& starters) override;
    std::optional<std::size_t> siteCheck(const std::string& folder,
                                         const std::vector<std::string>& findings) override;

  private:
    QPointer<QWidget> owner_;
    QPointer<UploadNotice> notice_;
    QPointer<QProgressDialog> progress_;
};

// Qt's image readers, which know BMP, JPEG, GIF and PNG among others.
class QtPictureDecoder : public PictureDecoder {
  public:
    std::optional<PictureSize> decode(const std::string& bytes) override;
};

// A local path or a web address as the browser takes it.
QUrl AddressUrl(const std::string& pathOrAddress);
