#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "site/markup/page_head.h"

// A written editor page cut where a change can touch it: the head's values, each item's
// markup, and the scripts after the items.
struct EditorPageParts {
    PageHeadParts head;
    std::vector<std::string_view> items;
    std::string_view tail;
};

// Where a written page's parts stand in its text.
struct EditorPageCuts {
    std::size_t itemsStart = 0;
    std::vector<std::size_t> itemEnds;
    std::size_t tailStart = 0;
    std::size_t tailEnd = 0;
};

// Nothing for a text whose head PageHead did not write.
std::optional<EditorPageParts> PartsOf(std::string_view text, const EditorPageCuts& cuts);

// The items of the page shown whose records the page reported otherwise than they were
// written from (the user moved or resized them since) no longer show what was written: they
// are marked so that any new markup replaces them.
void ForgetMovedItems(EditorPageParts& shown, std::string_view writtenFrom,
                      std::string_view reported);

// Items of the page shown replaced by items of the new page: from the item at `at` on,
// `removed` items give way to `added` items of the new page from `firstNew` on.
struct ItemEdit {
    std::size_t at = 0;
    std::size_t removed = 0;
    std::size_t firstNew = 0;
    std::size_t added = 0;
};

// The edits that turn the items before into the items after, each item followed by its id: an
// item that kept its id and its markup stays, one whose markup changed is replaced, items
// that came or went are added or removed where they stand. In order of place.
std::vector<ItemEdit> ItemEdits(const std::vector<std::string_view>& before,
                                const std::vector<std::string_view>& after);

// An item of the page shown whose content gains the anchor, or loses the one it has when
// `anchor` is empty; nothing else of it changes.
struct Relink {
    std::size_t at = 0;
    std::string_view anchor;
};

// How the item's markup `after` differs from `before` by its link alone: the anchor that now
// wraps its content, or an empty one when the anchor went. Nothing when more changed, or when
// an in-place wrap would not be the markup's own parse. `at` is left 0.
std::optional<Relink> RelinkOf(std::string_view before, std::string_view after);

// What an update in place carries besides the difference of the two pages.
struct EditorPageUpdateRequest {
    // The version the shown page has, and the one the update gives it.
    int base = 0;
    int version = 0;
    // The registration call of the page's start script ("SET_DHTML(...);"), empty for none.
    std::string registration;
    // The script the new page runs once loaded, empty for none.
    std::string onLoad;
    // The controls page's scripts when they changed, empty when not.
    std::string controls;
};

// The argument of the editor page's ddUpdate that turns the page written as `before` into
// the one written as `after`: the item edits, the head's values that changed, the new
// scripts. Nothing when only a whole load
// shows the new page: a container or the site items' mark comes or goes, or what would be sent
// holds more than ASCII (a page without a declared encoding is decoded by a guess, which an
// update could not repeat).
std::optional<std::string> EditorPageUpdate(const EditorPageParts& before,
                                            const EditorPageParts& after,
                                            const EditorPageUpdateRequest& request);
