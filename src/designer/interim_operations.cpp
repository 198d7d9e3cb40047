#include "designer/interim_operations.h"

#include <string>

#include "designer/layout_handover.h"
#include "page/workspace.h"
#include "platform/prompts.h"

namespace {

constexpr const char* kHosting = "Publishing to a Corvala web folder";

}  // namespace

InterimOperations::InterimOperations(Workspace& workspace, Clipboard& clipboard, Prompts& prompts)
    : workspace_(workspace), clipboard_(clipboard), prompts_(prompts) {}

void InterimOperations::tell(const char* what) {
    prompts_.messageBox(std::string(what) + " is not available in this version of Quillora yet.",
                        "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Information);
}

void InterimOperations::takeLayoutAndTell(const char* what) {
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
    tell(what);
}

bool InterimOperations::acceptHostingAgreement() {
    tell(kHosting);
    return false;
}

void InterimOperations::siteOptions() {
    tell(kHosting);
}

void InterimOperations::uploadPage() {
    takeLayoutAndTell("Uploading pages");
}

void InterimOperations::deleteServerPages() {
    tell("Deleting uploaded files");
}
