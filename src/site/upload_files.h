#pragma once

#include <string>
#include <utility>
#include <vector>

class SentRecord;

// What an upload of a site folder's pages must send, whatever the way out.

// The pictures of the listing ("a.jpg|b.webp") that the page refers to, each once, in the
// listing's order: by name as an attribute writes it ("Tom &amp; Jerry.gif"), or percent-encoded
// as a srcset writes a prepared copy ("summer%20fete-300x200.webp").
std::vector<std::string> UsedPictures(const std::string& pictures, const std::string& page);

// The forms a page's text may refer to the picture by: as an attribute, and percent-encoded
// when that differs.
std::vector<std::string> PictureReferenceForms(const std::string& picture);

// The site folder's files that the pages need on the server, each once: the pages (with their
// versions in each language's folder, for a site of several languages), the pictures and fonts
// each refers to, then sitemap.xml and robots.txt when the folder holds them.
std::vector<std::string> FilesToSend(const std::string& siteFolder,
                                     const std::vector<std::string>& pageFiles,
                                     const std::vector<std::string>& languages = {});

// The pages deleted from the site (name and when) that the upload target still holds as this
// program sent them there: each is removed once, and never a file of that name someone else
// put there.
std::vector<std::string> PagesToRemove(
    const std::vector<std::pair<std::string, long long>>& deleted, const SentRecord& record);

// What an upload says before it removes a deleted page from the server.
std::string RemovalNotice(const std::string& page);
