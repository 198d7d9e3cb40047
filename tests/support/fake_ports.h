#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"

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
    std::vector<std::string> addresses;
};

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

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
    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
};
