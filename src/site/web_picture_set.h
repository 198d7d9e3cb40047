#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "files/web_pictures.h"
#include "page/page_record.h"
#include "site/markup/item_walk.h"
#include "site/picture_copies.h"

// The pictures of one page as a site with web pictures offers them: copies prepared for each
// picture's place (kept in the working folder's "webpictures" cache), put beside the page as
// its site copies, and offered in a <picture> with the WebP copies first; the loading hints of
// PictureLoading on every picture.
class WebPictureSet {
  public:
    WebPictureSet(const std::string& workingFolder, const PageRecord& page, bool phoneFriendly);

    // How the item walk writes the picture of that name (with "~"), path and record. A picture
    // that cannot be prepared is offered as it is, through its usual copy.
    // Addresses start with the prefix given ("../" for a page in a language's folder).
    WebPictureMarkup markup(const std::string& name, const std::string& path,
                            const std::string& record, SiteCopies& copies,
                            const std::string& prefix = std::string());
    // The name beside the page of the picture's copy in its own kind: the prepared fallback,
    // or the usual copy (put there) when it was not prepared.
    std::string fallbackName(const std::string& name, const std::string& path,
                             const PageRecord& page, SiteCopies& copies);

    // Every picture the page places, prepared at once on all cores before the page is written
    // (the walk then finds them made); progress as WebPictures::prepareAll tells it.
    void prepareAll(const PageRecord& page,
                    const std::function<void(std::size_t done, std::size_t total)>& progress);
    // The pictures left as they are for a reason of their own, each with the reason
    // ("/p/huge.png: it is 12000 x 10000 pixels, ...").
    const std::set<std::string>& refusals() const { return refusals_; }

  private:
    // Prepared and put beside the page; not prepared when a copy could not be put there.
    PreparedPicture placed(const std::string& path, const std::string& record, SiteCopies& copies);

    WebPictures pictures_;
    std::map<std::string, std::string> loading_;
    std::set<std::string> refusals_;
};
