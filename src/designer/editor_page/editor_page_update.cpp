#include "designer/editor_page/editor_page_update.h"

#include <algorithm>

#include "common/markup_escaping.h"

namespace {

// A changed value as a string, an unchanged one as null: the page keeps what it has.
std::string ChangedValue(std::string_view before, std::string_view after) {
    return before == after ? "null" : ScriptString(after);
}

}  // namespace

std::optional<EditorPageParts> PartsOf(std::string_view text, const EditorPageCuts& cuts) {
    std::optional<PageHeadParts> head = SplitPageHead(text.substr(0, cuts.itemsStart));
    if (!head) {
        return std::nullopt;
    }
    EditorPageParts parts;
    parts.head = *head;
    parts.items.reserve(cuts.itemEnds.size());
    std::size_t start = cuts.itemsStart;
    for (const std::size_t end : cuts.itemEnds) {
        parts.items.push_back(text.substr(start, end - start));
        start = end;
    }
    parts.tail = text.substr(cuts.tailStart, cuts.tailEnd - cuts.tailStart);
    return parts;
}

std::optional<std::string> EditorPageUpdate(const EditorPageParts& before,
                                            const EditorPageParts& after,
                                            const EditorPageUpdateRequest& request) {
    if (before.head.container.empty() != after.head.container.empty() ||
        before.head.siteItemMark != after.head.siteItemMark) {
        return std::nullopt;
    }
    const std::vector<std::string_view>& old = before.items;
    const std::vector<std::string_view>& now = after.items;
    const std::size_t shorter = std::min(old.size(), now.size());
    std::size_t same = 0;
    while (same < shorter && old[same] == now[same]) {
        ++same;
    }
    std::size_t sameAtEnd = 0;
    while (same + sameAtEnd < shorter &&
           old[old.size() - 1 - sameAtEnd] == now[now.size() - 1 - sameAtEnd]) {
        ++sameAtEnd;
    }
    std::string items;
    for (std::size_t i = same; i < now.size() - sameAtEnd; ++i) {
        items += now[i];
    }
    std::string update = "{base:" + std::to_string(request.base) +
                         ",version:" + std::to_string(request.version) +
                         ",script:" + ChangedValue(before.head.script, after.head.script) +
                         ",body:" + ChangedValue(before.head.bodyStart, after.head.bodyStart) +
                         ",container:" + ChangedValue(before.head.container, after.head.container) +
                         ",hasContainer:" + (after.head.container.empty() ? "false" : "true") +
                         ",from:" + std::to_string(same) +
                         ",remove:" + std::to_string(old.size() - sameAtEnd - same) +
                         ",total:" + std::to_string(old.size()) + ",items:" + ScriptString(items) +
                         ",count:" + std::to_string(now.size() - sameAtEnd - same) +
                         ",tail:" + ScriptString(after.tail);
    update +=
        ",drag:" + (request.registration.empty() ? "null" : ScriptString(request.registration));
    update += ",run:" + (request.onLoad.empty() ? "null" : ScriptString(request.onLoad));
    update += std::string(",controls:") + (request.controls ? "true" : "false") + "}";
    // The page decodes its file by a guess when it holds more than ASCII; the update's text
    // would have to be guessed alike.
    if (std::any_of(update.begin(), update.end(),
                    [](char c) { return static_cast<unsigned char>(c) > 0x7F; })) {
        return std::nullopt;
    }
    return update;
}
