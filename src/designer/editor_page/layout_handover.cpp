#include "designer/editor_page/layout_handover.h"

#include <string>

#include "page/item_ids.h"
#include "page/page_record.h"
#include "platform/clipboard.h"

void AwaitLayout(EditorState& editor, Clipboard& clipboard) {
    // A second announcement finds the first one's layout on the clipboard, not the user's text.
    if (!editor.layoutAnnounced) {
        editor.clipboardCache = clipboard.text();
    }
    editor.layoutAnnounced = true;
    clipboard.setText(kAwaitedLayout);
}

void ReleaseLayout(EditorState& editor, Clipboard& clipboard) {
    if (editor.layoutAnnounced) {
        editor.layoutAnnounced = false;
        clipboard.setText(editor.clipboardCache);
    }
}

bool TakeLayoutFromClipboard(PageRecord& page, EditorState& editor, Clipboard& clipboard) {
    if (!editor.layoutAnnounced) {
        return false;
    }
    editor.layoutAnnounced = false;
    const std::string layout = clipboard.text();
    clipboard.setText(editor.clipboardCache);
    if (layout == kAwaitedLayout) {
        return false;
    }
    page.stylesData = LayoutWithEachIdOnce(layout);
    editor.takenLayout = page.stylesData;
    editor.reportedLayout = page.stylesData;
    ++editor.layoutReports;
    return true;
}
