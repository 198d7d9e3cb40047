#pragma once

#include <optional>
#include <string>

#include "platform/browser.h"
#include "platform/clipboard.h"

// Ports that answer nothing, for the programs that time the designer without a window.
class NoBrowser : public Browser {
  public:
    void navigate(const std::string&) override {}
    std::optional<std::string> editorLayout() override { return std::nullopt; }
};

class NoClipboard : public Clipboard {
  public:
    std::string text() override { return std::string(); }
    void setText(const std::string&) override {}
};
