#include "platform/console_prompts.h"

MessageAnswer ConsolePrompts::messageBox(const std::string& text, const std::string& caption,
                                         MessageButtons, MessageIcon) {
    out_ << caption << ": " << text << "\n";
    if (caption == "db error") {
        databaseFailed_ = true;
    }
    return MessageAnswer::Cancel;
}
