// libFuzzer target for the layout text the editor page hands over: any records must walk into
// markup without a crash, with every writer's options.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/paths.h"
#include "page/page_record.h"
#include "site/markup/item_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PageRecord page;
    page.stylesData.assign(reinterpret_cast<const char*>(data), size);
    page.texts = {"pagetextitem1~<P>one</P>", kRemovedItem, "pagetextitem12~<P>two</P>"};
    page.pictures = {"pageimageitem7~/pics/a b.gif", kDeletedPicture, "pageimageitem70~x.png"};
    page.links = {"http://example.com/?a=1&b='2'", ""};
    for (int variant = 0; variant < 4; ++variant) {
        ItemWalkOptions options;
        options.links = (variant & 1) != 0;
        if ((variant & 2) != 0) {
            options.pictureAddress = [](const std::string& path) { return FileNameOf(path); };
        }
        options.skipDeletedPictures = variant == 3;
        options.scalablePictures = variant == 1;
        options.pictureDivsInDragList = variant == 2;
        WalkItems(page, options);
    }
    RecordId(page.stylesData);
    return 0;
}
