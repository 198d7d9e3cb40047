#pragma once

struct PageRecord;
struct Workspace;
class Browser;
class EditorPageWriter;
class PageStore;
class Prompts;
class Shell;

// The "History" window of the open page: its kept versions, one shown in the user's browser to
// look at, or restored in place of the design as one undo step.
class VersionHistory {
  public:
    VersionHistory(Workspace& workspace, PageStore& store, EditorPageWriter& writer,
                   Browser& browser, Prompts& prompts, Shell& shell);

    void showHistory();

  private:
    // The version's links and menus lead to the pages renamed since it was saved (milliseconds
    // since 1970) by their new names.
    void followRenamesSince(PageRecord& version, long long savedAt);
    void look(PageRecord version);
    // The version's own items in place of the page's, and its shared items too where the user
    // asks for them, as one undo step.
    void restore(const PageRecord& version);

    Workspace& workspace_;
    PageStore& store_;
    EditorPageWriter& writer_;
    Browser& browser_;
    Prompts& prompts_;
    Shell& shell_;
};
