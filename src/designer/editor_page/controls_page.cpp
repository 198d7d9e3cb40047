#include "designer/editor_page/controls_page.h"

#include <utility>

#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/service_addresses.h"
#include "common/text_file.h"
#include "page/working_files.h"

ControlsPage::ControlsPage(std::string workingFolder) : workingFolder_(std::move(workingFolder)) {}

std::string ControlsPage::ScriptText(const PageRecord& page, const EditorState& editor) {
    std::string script = "var gridsetting = " + editor.gridSetting +
                         ";\nvar gridstart = " + editor.gridStart + ";\nfunction setForm()\n{";
    if (page.pageWidth.size() > 1) {
        script += "document.form1.screensize.value = '" + ScriptStringContent(page.pageWidth) +
                  " pixels';\n}";
    } else {
        script += "document.form1.screensize.value = 'Full Screen';\n}";
    }
    return script;
}

std::optional<std::string> ControlsPage::writeScript(const PageRecord& page,
                                                     const EditorState& editor) const {
    const std::string path = JoinPath(workingFolder_, kControlsScriptFile);
    if (!WriteRemadeFile(path, ScriptText(page, editor))) {
        return path;
    }
    return std::nullopt;
}

std::optional<std::string> ControlsPage::writePage() const {
    std::string page;
    if (const auto lines = ReadTextLines(JoinPath(workingFolder_, kControlsTemplateFile))) {
        for (const std::string& line : *lines) {
            page += line;
        }
    }
    page += "</TR></FORM></TABLE></BODY></HTML>";
    const std::string pagePath = JoinPath(workingFolder_, kControlsPageFile);
    if (!WriteRemadeFile(pagePath, page)) {
        return pagePath;
    }
    const std::string labelPath = JoinPath(workingFolder_, kFolderLabelScriptFile);
    if (!WriteRemadeFile(labelPath, labelScript())) {
        return labelPath;
    }
    return std::nullopt;
}

std::string ControlsPage::labelScript() const {
    // A click on the label leads to the hosting folder's options.
    const std::string siteOptions = std::string("http://www.") + kHostingDomain + "/siteoptions";
    return "var folderlabel = " + ScriptString(folderLabel_) +
           ";\nvar siteoptions = " + ScriptString(siteOptions) + ";\n";
}
