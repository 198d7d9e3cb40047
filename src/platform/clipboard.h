#pragma once

#include <string>

// The system clipboard, text only: the editor page hands layouts over through it.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual std::string text() = 0;
    virtual void setText(const std::string& text) = 0;
};
