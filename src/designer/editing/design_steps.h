#pragma once

#include <functional>
#include <optional>
#include <string>

#include "page/page_record.h"

struct Workspace;
class Clipboard;
class EditorPageWriter;

// What a change did to the page's design, as the undo entry names it ("move", "add picture");
// empty when the design did not change.
std::string DescribeChange(const PageRecord& before, const PageRecord& after);

// Every change the user makes to the page becomes an undo step: the layout a command took from
// the editor page (a drag or resize since the last command) is a step of its own, then what the
// command itself changed. Undo and redo show the page again with the load writer.
class DesignSteps {
  public:
    DesignSteps(Workspace& workspace, EditorPageWriter& writer, Clipboard& clipboard);

    // Runs a user action and records the steps it made.
    void perform(const std::function<void()>& action);
    // The editor page reports a finished drag, resize or arrow move and hands its layout over:
    // each is a step of its own, so that one undo takes back one of them.
    void dragEnded();
    void undo();
    void redo();

  private:
    // The layout the editor page handed over for the undo or redo command, when it moved
    // something, is the step to undo first.
    void takeMove();
    // Undo and redo: the design the swap puts in place is shown.
    void step(const std::function<bool()>& swap);
    void show();

    Workspace& workspace_;
    EditorPageWriter& writer_;
    Clipboard& clipboard_;
    // The design before a change that has not made a step yet.
    std::optional<PageRecord> pending_;
    bool dragReported_ = false;
};
