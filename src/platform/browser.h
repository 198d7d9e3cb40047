#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The embedded browser that shows the editor page.
class Browser {
  public:
    virtual ~Browser() = default;
    // Shows the given local path or web address; the load happens after the caller returns.
    virtual void navigate(const std::string& address) = 0;
    // Brings the editor page shown inside the screen page up to date in place: the editor
    // page's ddUpdate is called with the update, an argument it may refuse, and the screen
    // page is loaded whole when it does, when it is not shown, or when a load is under way.
    // Browsers that cannot run the page's scripts load it whole.
    virtual void updateEditorPage(const std::string& screenPage, const std::string& update) {
        static_cast<void>(update);
        navigate(screenPage);
    }
    // The layout the editor page shows at this moment, as its own report would give it (empty
    // for a page without items); nothing when no editor page is shown or it does not answer.
    virtual std::optional<std::string> editorLayout() = 0;
    // A small picture of what the browser shows now (a PNG file's bytes), for the page's kept
    // versions; empty when it cannot take one.
    virtual std::string pagePicture() { return std::string(); }
    // Loads a page file out of sight at a desktop's width and gives, for each text section,
    // the ids of the other items its words reach over; nothing when it cannot be measured.
    virtual std::optional<std::map<std::string, std::vector<std::string>>> sectionReach(
        const std::string& pageFile) {
        static_cast<void>(pageFile);
        return std::nullopt;
    }
};
