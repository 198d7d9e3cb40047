#include "site/web_picture_set.h"

#include <algorithm>
#include <vector>

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "site/picture_loading.h"

WebPictureSet::WebPictureSet(const std::string& workingFolder, const PageRecord& page,
                             bool phoneFriendly)
    : pictures_(JoinPath(workingFolder, "webpictures")),
      loading_(PictureLoading(page, phoneFriendly)) {}

void WebPictureSet::prepareAll(
    const PageRecord& page,
    const std::function<void(std::size_t done, std::size_t total)>& progress) {
    std::map<std::string, std::string> paths;
    for (const std::string& entry : page.pictures) {
        const std::string name = ItemNameIn(entry);
        if (!name.empty() && entry != kDeletedPicture) {
            paths["d" + name] = entry.substr(name.size());
        }
    }
    std::vector<WebPictures::Request> requests;
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        const auto path = paths.find(RecordId(record));
        if (path == paths.end()) {
            continue;
        }
        const WebPictures::Request request{path->second, LeadingInt(FieldAt(record, 1, "^")),
                                           LeadingInt(FieldAt(record, 2, "^"))};
        // The same picture at the same size is one piece of work: two threads on one would
        // write one cache folder.
        if (std::none_of(requests.begin(), requests.end(), [&](const auto& other) {
                return other.original == request.original && other.width == request.width &&
                       other.height == request.height;
            })) {
            requests.push_back(request);
        }
    }
    pictures_.prepareAll(requests, progress);
}

PreparedPicture WebPictureSet::placed(const std::string& path, const std::string& record,
                                      SiteCopies& copies) {
    PreparedPicture picture = pictures_.prepare(path, LeadingInt(FieldAt(record, 1, "^")),
                                                LeadingInt(FieldAt(record, 2, "^")));
    if (!picture.prepared) {
        if (!picture.refused.empty()) {
            refusals_.insert(path + ": " + picture.refused);
        }
        return picture;
    }
    for (const std::string* copy : {&picture.webp1x, &picture.webp2x, &picture.fallback}) {
        if (!copy->empty() && !copies.copy(*copy)) {
            return PreparedPicture();
        }
    }
    return picture;
}

WebPictureMarkup WebPictureSet::markup(const std::string& name, const std::string& path,
                                       const std::string& record, SiteCopies& copies,
                                       const std::string& prefix) {
    WebPictureMarkup markup;
    const auto loading = loading_.find(name);
    if (loading != loading_.end()) {
        markup.attributes = loading->second;
    }
    const PreparedPicture picture = placed(path, record, copies);
    if (!picture.prepared) {
        return markup;
    }
    // Addresses in a srcset end at a blank or comma: each name is sent percent-encoded.
    std::string srcset = prefix + PercentEncoded(copies.nameOf(picture.webp1x)) + " 1x";
    if (!picture.webp2x.empty()) {
        srcset += ", " + prefix + PercentEncoded(copies.nameOf(picture.webp2x)) + " 2x";
    }
    markup.sources = "<source type='image/webp' srcset='" + HtmlAttribute(srcset, '\'') + "'>";
    markup.source = prefix + copies.nameOf(picture.fallback);
    return markup;
}

std::string WebPictureSet::fallbackName(const std::string& name, const std::string& path,
                                        const PageRecord& page, SiteCopies& copies) {
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        if (RecordId(record) == "d" + name) {
            const PreparedPicture picture = placed(path, record, copies);
            if (!picture.prepared) {
                copies.copy(path);
                return copies.nameOf(path);
            }
            return copies.nameOf(picture.fallback);
        }
    }
    return copies.nameOf(path);
}
