#pragma once

#include <string>

// The user's own programs: a local file or a web address opened in the default browser.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void open(const std::string& pathOrAddress) = 0;
};
