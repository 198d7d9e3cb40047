#include "designer/layout_handover.h"

#include "page/page_record.h"
#include "platform/clipboard.h"

void TakeLayoutFromClipboard(PageRecord& page, const EditorState& editor, Clipboard& clipboard) {
    const std::string layout = clipboard.text();
    if (!layout.empty()) {
        page.stylesData = layout;
    }
    clipboard.setText(editor.clipboardCache);
}
