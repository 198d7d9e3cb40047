#pragma once

#include <string>

// The embedded browser that shows the editor page.
class Browser {
  public:
    virtual ~Browser() = default;
    // Shows the given local path or web address; the load happens after the caller returns.
    virtual void navigate(const std::string& address) = 0;
};
