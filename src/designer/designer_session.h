#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "designer/command_dispatcher.h"
#include "designer/editing/design_steps.h"
#include "designer/editing/designer_operations.h"
#include "designer/editing/item_commands.h"
#include "designer/editing/section_library.h"
#include "designer/editor_page/controls_page.h"
#include "designer/editor_page/editor_fonts.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/pages/page_catalog.h"
#include "designer/pages/page_files.h"
#include "designer/pages/page_manager.h"
#include "designer/pages/page_site_options.h"
#include "designer/pages/published_page_writer.h"
#include "designer/pages/site_archive_commands.h"
#include "designer/pages/site_publishing.h"
#include "designer/pages/version_history.h"
#include "designer/phone/phone_view.h"
#include "hosting/hosting_commands.h"
#include "hosting/hosting_session.h"
#include "page/workspace.h"
#include "store/page_store.h"

class Browser;
class Clipboard;
class PictureDecoder;
class Prompts;
class Shell;
class SqliteDatabase;
class TextEditorWindow;

class PasswordVault;

struct DesignerPorts {
    Clipboard& clipboard;
    Browser& browser;
    Prompts& prompts;
    Shell& shell;
    PictureDecoder& pictures;
    TextEditorWindow& textEditor;
};

// The designer as the main window holds it: the workspace and every part that works on it,
// wired together once. The item, background and length commands go to the given operations,
// or to the session's own ElementOperations when none are given; the hosting commands to what
// the factory makes for the session.
class DesignerSession : public HostingSession {
  public:
    using HostingFactory = std::function<std::unique_ptr<HostingCommands>(DesignerSession&)>;

    DesignerSession(std::string workingFolder, SqliteDatabase& db, const DesignerPorts& ports,
                    const HostingFactory& makeHosting, DesignerOperations* operations = nullptr);
    DesignerSession(const DesignerSession&) = delete;
    DesignerSession& operator=(const DesignerSession&) = delete;

    Workspace& workspace() override { return workspace_; }
    PageStore& store() override { return store_; }
    ControlsPage& controls() { return controls_; }
    EditorPageWriter& writer() { return writer_; }
    DesignSteps& steps() { return steps_; }
    PageCatalog& catalog() { return catalog_; }
    PageFiles& files() { return files_; }
    PageSiteOptions& pageSiteOptions() { return pageSiteOptions_; }
    PhoneView& phoneView() { return phoneView_; }
    PublishedPageWriter& publisher() { return publisher_; }
    PageManager& pages() { return pages_; }
    VersionHistory& history() { return history_; }
    SiteArchiveCommands& archives() { return archives_; }
    SitePublishing& publishing() { return publishing_; }
    CommandDispatcher& dispatcher() { return dispatcher_; }
    DesignerOperations& operations() { return operations_; }
    ItemCommands& items() { return items_; }
    SectionLibrary& sections() { return sections_; }
    HostingCommands& hosting() { return *hosting_; }
    Prompts& prompts() { return prompts_; }
    // The desktop's keyring for the hosting folder's password; none keeps it in the store.
    void setPasswordVault(PasswordVault* vault) { vault_ = vault; }
    PasswordVault* passwordVault() const override { return vault_; }
    void showFolderLabel(const std::string& label) override;
    std::optional<std::string> writeUploadPage() override { return publisher_.writeUploadPage(); }

  private:
    Prompts& prompts_;
    PasswordVault* vault_ = nullptr;
    Workspace workspace_;
    PageStore store_;
    ControlsPage controls_;
    EditorFonts editorFonts_;
    EditorPageWriter writer_;
    DesignSteps steps_;
    PageCatalog catalog_;
    PageFiles files_;
    PageSiteOptions pageSiteOptions_;
    PhoneView phoneView_;
    PublishedPageWriter publisher_;
    PageManager pages_;
    VersionHistory history_;
    SiteArchiveCommands archives_;
    SitePublishing publishing_;
    std::unique_ptr<DesignerOperations> ownOperations_;
    DesignerOperations& operations_;
    ItemCommands items_;
    SectionLibrary sections_;
    CommandDispatcher dispatcher_;
    std::unique_ptr<HostingCommands> hosting_;
};
