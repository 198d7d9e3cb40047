#pragma once

#include <optional>
#include <string>

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A save-file dialog that asks before it replaces an existing file. The filter is written
// "description (*.ext)|*.ext||".
struct SaveFileRequest {
    std::string title;
    std::string filter;
    std::string initialPath;
};

// Everything the program asks the user. The program shows real dialogs; tests script the
// answers. A dialog answered with nothing was cancelled.
class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual MessageAnswer messageBox(const std::string& text, const std::string& caption,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    // The chosen full path.
    virtual std::optional<std::string> saveFileName(const SaveFileRequest& request) = 0;
    // The page-name dialog ("Change file name:"), which starts empty.
    virtual std::optional<std::string> pageName() = 0;
    // The page-title dialog, showing the current title.
    virtual std::optional<std::string> pageTitle(const std::string& current) = 0;
    // The edit-options dialog of a clicked item: "CENTER", "EDIT", "DELETE" or "NONE".
    virtual std::optional<std::string> clickOption() = 0;
};
