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
    void look(const PageRecord& version);
    void restore(const PageRecord& version);

    Workspace& workspace_;
    PageStore& store_;
    EditorPageWriter& writer_;
    Browser& browser_;
    Prompts& prompts_;
    Shell& shell_;
};
