#pragma once

class Clipboard;
struct EditorState;
struct PageRecord;

// Put on the clipboard when the editor page announces its layout; still there afterwards, it
// tells that the page could not hand the layout over.
inline constexpr const char* kAwaitedLayout = "quillora: the editor page's layout did not arrive";

// The editor page announced its layout: the user's clipboard text is kept aside and the
// clipboard waits for the layout.
void AwaitLayout(EditorState& editor, Clipboard& clipboard);
// After a command that did not take the announced layout: the user's clipboard text comes
// back.
void ReleaseLayout(EditorState& editor, Clipboard& clipboard);

// The layout the editor page put on the clipboard becomes the page's styles data, and the
// user's own clipboard text goes back. An empty layout is a page without items. When the page
// announced nothing or its layout did not arrive, the layout of the last change stays (and
// the clipboard is left alone when nothing was announced): a failed handover must not remove
// every item. True when a layout was taken.
bool TakeLayoutFromClipboard(PageRecord& page, EditorState& editor, Clipboard& clipboard);
