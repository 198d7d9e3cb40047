#pragma once

#include <optional>
#include <string>

// The embedded browser that shows the editor page.
class Browser {
  public:
    virtual ~Browser() = default;
    // Shows the given local path or web address; the load happens after the caller returns.
    virtual void navigate(const std::string& address) = 0;
    // The layout the editor page shows at this moment, as its own report would give it (empty
    // for a page without items); nothing when no editor page is shown or it does not answer.
    virtual std::optional<std::string> editorLayout() = 0;
};
