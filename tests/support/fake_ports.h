#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "platform/shell.h"

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
    std::optional<std::string> editorLayout() override {
        ++layoutReads;
        return layout;
    }
    std::vector<std::string> addresses;
    // What the editor page would report; nothing, as when no editor page is shown.
    std::optional<std::string> layout;
    int layoutReads = 0;
};

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

class FakeShell : public Shell {
  public:
    void open(const std::string& pathOrAddress) override { opened.push_back(pathOrAddress); }
    std::vector<std::string> opened;
};

// Scripted dialog answers are taken in order; a dialog with no answer left is cancelled.
using DialogAnswers = std::deque<std::optional<std::string>>;

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
    std::optional<std::string> saveFileName(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return Next(fileNames);
    }
    std::optional<std::string> pageName() override { return Next(pageNames); }
    std::optional<std::string> pageTitle(const std::string& current) override {
        titlesShown.push_back(current);
        return Next(titles);
    }
    std::optional<std::string> clickOption() override { return Next(clickOptions); }

    // The captions of the message boxes shown, in order.
    std::vector<std::string> captions() const {
        std::vector<std::string> result;
        for (const ShownMessage& message : shown) {
            result.push_back(message.caption);
        }
        return result;
    }

    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    DialogAnswers fileNames;
    std::vector<SaveFileRequest> saveRequests;
    DialogAnswers pageNames;
    DialogAnswers titles;
    std::vector<std::string> titlesShown;
    DialogAnswers clickOptions;

  private:
    static std::optional<std::string> Next(DialogAnswers& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
