#include "designer/interim_operations.h"

#include "designer/layout_handover.h"
#include "page/workspace.h"
#include "platform/prompts.h"

InterimOperations::InterimOperations(Workspace& workspace, Clipboard& clipboard, Prompts& prompts)
    : workspace_(workspace), clipboard_(clipboard), prompts_(prompts) {}

void InterimOperations::tell(const std::string& what) {
    prompts_.messageBox(what + " is not available in this version of Quillora yet.",
                        "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Information);
}

void InterimOperations::takeLayoutAndTell(const std::string& what) {
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
    tell(what);
}

void InterimOperations::addItem(const std::string& argument) {
    takeLayoutAndTell(argument.find("addgraphic") != std::string::npos ? "Adding pictures"
                                                                       : "Adding text sections");
}

void InterimOperations::editText(const std::string&) {
    takeLayoutAndTell("Editing text sections");
}

void InterimOperations::deleteText(const std::string&) {
    takeLayoutAndTell("Deleting text sections");
}

void InterimOperations::editPicture(const std::string&) {
    takeLayoutAndTell("Editing pictures");
}

void InterimOperations::deletePicture(const std::string&) {
    takeLayoutAndTell("Deleting pictures");
}

void InterimOperations::backgroundPicture(const std::string&) {
    takeLayoutAndTell("Choosing a background picture");
}

void InterimOperations::backgroundColour(const std::string&) {
    takeLayoutAndTell("Choosing a background colour");
}

void InterimOperations::pageLength() {
    takeLayoutAndTell("Changing the page length");
}

bool InterimOperations::acceptHostingAgreement() {
    tell("Publishing to a Corvala web folder");
    return false;
}

void InterimOperations::siteOptions() {
    tell("Publishing to a Corvala web folder");
}

void InterimOperations::uploadPage() {
    takeLayoutAndTell("Uploading pages");
}

void InterimOperations::deleteServerPages() {
    tell("Deleting uploaded files");
}
