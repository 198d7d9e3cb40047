#pragma once

class Clipboard;
struct EditorState;
struct PageRecord;

// The layout the editor page put on the clipboard becomes the page's styles data, and the
// user's own clipboard text goes back. An empty clipboard means the page could not hand its
// layout over; the layout of the last change then stays, since taking it would lose every item.
void TakeLayoutFromClipboard(PageRecord& page, const EditorState& editor, Clipboard& clipboard);
