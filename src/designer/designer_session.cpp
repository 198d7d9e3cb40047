#include "designer/designer_session.h"

#include "designer/editing/element_operations.h"
#include "site/starters.h"

namespace {

std::unique_ptr<DesignerOperations> OwnOperations(DesignerOperations* given, Workspace& workspace,
                                                  EditorPageWriter& writer,
                                                  const DesignerPorts& ports) {
    if (given != nullptr) {
        return nullptr;
    }
    return std::make_unique<ElementOperations>(workspace, writer, ports.clipboard, ports.prompts,
                                               ports.pictures, ports.textEditor);
}

}  // namespace

DesignerSession::DesignerSession(std::string workingFolder, SqliteDatabase& db,
                                 const DesignerPorts& ports, const HostingFactory& makeHosting,
                                 DesignerOperations* operations)
    : prompts_(ports.prompts),
      workspace_(std::move(workingFolder)),
      store_(db, ports.prompts),
      controls_(workspace_.workingFolder),
      editorFonts_(workspace_.workingFolder, store_),
      writer_(workspace_.workingFolder, controls_, ports.browser, ports.clipboard, ports.prompts),
      steps_(workspace_, writer_, ports.clipboard),
      catalog_(workspace_, store_, writer_, ports.browser),
      files_(workspace_, catalog_, store_, controls_, ports.browser, ports.prompts, ports.shell),
      pageSiteOptions_(workspace_, store_, writer_, ports.prompts),
      phoneView_(workspace_, store_, writer_, ports.browser, ports.prompts),
      publisher_(workspace_, store_, ports.clipboard, ports.browser, ports.prompts),
      pages_(workspace_, catalog_, files_, store_, writer_, ports.prompts),
      history_(workspace_, store_, writer_, ports.browser, ports.prompts, ports.shell),
      archives_(workspace_, catalog_, store_, ports.prompts, InstalledStartersFolder()),
      publishing_(*this, catalog_, ports.prompts),
      ownOperations_(OwnOperations(operations, workspace_, writer_, ports)),
      operations_(operations != nullptr ? *operations : *ownOperations_),
      items_(workspace_, writer_, ports.clipboard, ClockSeededNumbers()),
      sections_(workspace_, items_, ports.prompts, InstalledSectionsFolder()),
      dispatcher_({workspace_, writer_, catalog_, files_, publisher_, operations_, items_,
                   sections_, steps_, pages_, phoneView_, ports.clipboard, ports.prompts,
                   ports.shell}),
      hosting_(makeHosting(*this)) {
    dispatcher_.setHosting(*hosting_);
    writer_.showPhoneViewWith([this](const PageRecord& page) { phoneView_.show(page); });
    writer_.useFontStyle([this](const PageRecord& page) { return editorFonts_.style(page); });
}

void DesignerSession::showFolderLabel(const std::string& label) {
    controls_.setFolderLabel(label);
    controls_.writePage();
}
