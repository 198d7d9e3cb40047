#pragma once

#include <functional>
#include <string>

#include "designer/editor_page/editor_page_update.h"
#include "page/page_record.h"
#include "site/markup/item_walk.h"

class Browser;
class Clipboard;
class ControlsPage;
class Prompts;

// A picture being added, with its place on the page and its natural size.
struct NewPicture {
    std::string name;
    // Empty (or one character) when the picture could not be taken: nothing is drawn for it.
    std::string path;
    std::string left;
    std::string top;
    std::string width;
    std::string height;
};

// What the text editor hands back when it finishes.
struct FinishedText {
    std::string html;
    // ";text-align:justify", ";text-align:right", ";text-align:center" or empty.
    std::string alignmentStyle;
    bool cancelled = false;
};

// Writes the editor page, quilltemp.html, from the page record and shows it: the browser is
// sent to quillscreen.html, which frames it beside the controls page, or, while the same page
// is shown, the page shown is brought up to date in place with the difference between the
// two writes, so that a change costs what it changes. Each writer serves one kind of change and
// differs in how pictures are written and in its drag-and-drop start list. A file that cannot
// be written is reported, and the page shown stays.
class EditorPageWriter {
  public:
    EditorPageWriter(std::string workingFolder, ControlsPage& controls, Browser& browser,
                     Clipboard& clipboard, Prompts& prompts);

    // After a container, grid, centring, background or length change: takes the layout the
    // editor page left on the clipboard and gives the user's clipboard text back first.
    void writeRedraw(PageRecord& page, EditorState& editor);
    // After a page was loaded or a text item deleted.
    void writeLoad(const PageRecord& page, EditorState& editor);
    // After a picture was edited or deleted.
    void writePictureChange(const PageRecord& page, const EditorState& editor);
    // After a picture was added.
    void writeAddPicture(const PageRecord& page, const EditorState& editor,
                         const NewPicture& picture);
    // When the text editor finishes with the current text id: a new item when the new-text
    // position is set, an edited one when its left is "none".
    void writeTextDone(const PageRecord& page, EditorState& editor, const FinishedText& text);

    std::string editorPagePath() const;
    std::string screenPagePath() const;

    // The font rules of the page's site, asked for at every write.
    void useFontStyle(std::function<std::string(const PageRecord&)> fontStyle) {
        fontStyle_ = std::move(fontStyle);
    }

    // While the editor state asks for the phone view, every writer shows the page this way.
    void showPhoneViewWith(std::function<void(const PageRecord&)> showPhoneView) {
        showPhoneView_ = std::move(showPhoneView);
    }

  private:
    enum class ControlsPageToo { No, Yes };
    // What follows the head: the walked items, a writer's extra item, and the drag-and-drop
    // start script after the container's end. The walk's markup is read in place: a page of
    // thousands of items is large.
    struct Body {
        const ItemWalkResult& walk;
        std::string extra;
        std::string script;
    };
    void writeAndShow(const PageRecord& page, const EditorState& editor, const Body& body,
                      ControlsPageToo controlsToo);
    void show(const PageRecord& page, const EditorState& editor, EditorPageCuts cuts,
              const std::string& registration);

    std::string workingFolder_;
    std::string text_;
    // The page shown: its text (empty when unknown), where it is cut, its file, the controls
    // page's scripts beside it, its version, the layout it was written from and the number of
    // layouts the page had reported then.
    std::string shown_;
    EditorPageCuts shownCuts_;
    std::string shownFile_;
    std::string shownControlsScript_;
    int shownVersion_ = 0;
    std::string shownStylesData_;
    int shownLayoutReports_ = 0;
    ControlsPage& controls_;
    Browser& browser_;
    Clipboard& clipboard_;
    Prompts& prompts_;
    std::function<void(const PageRecord&)> showPhoneView_;
    std::function<std::string(const PageRecord&)> fontStyle_;
};
