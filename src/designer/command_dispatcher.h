#pragma once

#include <string>
#include <vector>

struct Workspace;
class Clipboard;
class DesignerOperations;
class DesignSteps;
class EditorPageWriter;
class HostingCommands;
class ItemCommands;
class SectionLibrary;
class PageCatalog;
class PageManager;
class PageFiles;
class PhoneView;
class Prompts;
class PublishedPageWriter;
class Shell;

// An address as the designer's pages expect it from the browser: spaces as "%20", and "/"
// after an address of "http://" and one word.
std::string BrowserAddress(const std::string& url);

// Turns the addresses the browser is sent to into the designer's commands. Pages shown in the
// browser reach the program only this way; every address that is not one of the program's
// own pages is kept from loading.
class CommandDispatcher {
  public:
    struct Parts {
        Workspace& workspace;
        EditorPageWriter& writer;
        PageCatalog& catalog;
        PageFiles& files;
        PublishedPageWriter& publisher;
        DesignerOperations& operations;
        ItemCommands& items;
        SectionLibrary& sections;
        DesignSteps& steps;
        PageManager& pages;
        PhoneView& phoneView;
        Clipboard& clipboard;
        Prompts& prompts;
        Shell& shell;
    };

    explicit CommandDispatcher(const Parts& parts);
    // The hosting commands come from above the designer, once the session is made.
    void setHosting(HostingCommands& hosting) { hosting_ = &hosting; }

    // Runs every command the address names, in a fixed order; true when the browser must not
    // load the address.
    bool beforeNavigate(const std::string& url);

    // The program's own pages and script addresses: the browser may load them.
    bool allows(const std::string& address) const;
    // Whether the address names one of the program's own pages in the working folder, by its
    // whole path.
    bool isOwnPage(const std::string& address) const;
    // The address of the welcome page shown at start-up.
    std::string welcomePageAddress() const;

  private:
    void redraw();
    void setContainer(const std::string& width);
    void setGrid(const char* picture, const char* start, const char* setting);
    void centre(const std::string& id);
    void textClicked(const std::string& address);
    // An alignment chosen in a clicked item's options, for the items selected with it (the
    // address names them after a "|"); false for any other choice.
    bool aligned(const std::string& choice, const std::string& address);
    // "On every page of this site" or "On this page only" chosen for the item named (and the
    // others selected with it); false for any other choice.
    bool shared(const std::string& choice, const std::string& name, const std::string& address);
    // Whether the named items may be deleted: the user is asked first about shared items,
    // which leave every page of the folder.
    bool deletionAgreed(const std::vector<std::string>& names);
    void pictureClicked(const std::string& address);
    void siteOptions();

    Parts parts_;
    HostingCommands* hosting_ = nullptr;
};
