#pragma once

#include <optional>
#include <string>

#include "page/page_record.h"

// The controls page beside the editor page: controlstart.js tells it the container width and
// grid, controls.html is the installation's template made into one page.
class ControlsPage {
  public:
    explicit ControlsPage(std::string workingFolder);

    // Writes controlstart.js for the page being shown. Both writers give back the path of a
    // file they could not write, or nothing when every file was written.
    std::optional<std::string> writeScript(const PageRecord& page, const EditorState& editor) const;
    // Writes controls.html from controls1.txt (a missing template leaves only the closing
    // tags) and folderlabel.js, through which the page shows the folder label.
    std::optional<std::string> writePage() const;

    // The public address of the current page, or the prompt to get a hosting folder.
    void setFolderLabel(std::string label) { folderLabel_ = std::move(label); }
    const std::string& folderLabel() const { return folderLabel_; }

    static std::string ScriptText(const PageRecord& page, const EditorState& editor);
    // folderlabel.js: the label and where a click on it leads.
    std::string labelScript() const;

  private:
    std::string workingFolder_;
    std::string folderLabel_;
};
