#include "site/stored_pages.h"

#include "page/page_record.h"
#include "page/working_files.h"
#include "platform/prompts.h"
#include "site/published_page.h"
#include "store/page_store.h"

StoredPagesWritten WriteStoredPages(PageStore& store, PagePublisher& publisher,
                                    const std::string& folder, const std::string& skipped,
                                    Prompts* progress) {
    std::vector<std::string> pages;
    for (const std::string& name : store.pageNames(folder)) {
        if (name != kQuickstartPage && name != skipped) {
            pages.push_back(name);
        }
    }
    StoredPagesWritten result;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (progress != nullptr) {
            progress->taskProgress("Publishing " + pages[i], i, pages.size());
        }
        PageRecord page;
        page.directory = folder;
        page.fileName = pages[i];
        std::string text;
        if (!store.loadPage(page, folder, pages[i]) ||
            !publisher.publish(page, PublishVariant::Save, folder, pages[i], text)) {
            result.failed.push_back(pages[i]);
        } else {
            ++result.written;
        }
    }
    if (progress != nullptr) {
        progress->taskProgress("", pages.size(), pages.size());
    }
    return result;
}
