#pragma once

#include <optional>
#include <string>
#include <vector>

// The files and head lines that tell search engines and link previews about a site whose
// public address is known.

inline constexpr const char* kSitemapFile = "sitemap.xml";
inline constexpr const char* kRobotsFile = "robots.txt";

// The address as typed, made the site's address: blanks trimmed, "/" at the end. Empty text
// gives empty text (no address); nothing when it is not an http or https address with a host.
std::optional<std::string> SiteAddressFrom(std::string typed);

// A page's public address under the site's: its file name with every character an address
// cannot hold as %XX; the site's front page (index.html) is the site's address itself.
std::string PageAddress(const std::string& site, const std::string& fileName);

// sitemap.xml for the pages, in the order given. For a site of several languages (their tags,
// the main one first) each page is listed in each language, with its alternates.
std::string SitemapXml(const std::string& site, const std::vector<std::string>& pageFiles,
                       const std::vector<std::string>& languages = {});

// robots.txt: every visitor welcome, the site map named.
std::string RobotsTxt(const std::string& site);

// What a page's head says of it: its own address (canonical) and the Open Graph title,
// description, address and picture (a file beside the page; none when empty).
std::string AddressedHead(const std::string& site, const std::string& fileName,
                          const std::string& title, const std::string& description,
                          const std::string& picture);

// Whether the text has the shape the program writes these files in (for any site and pages),
// so that a file of the user's own is told from one the program wrote before.
bool IsProgramsSitemap(const std::string& text);
bool IsProgramsRobots(const std::string& text);

// The published pages of a site folder (every .html file but the quickstart tutorial), by
// name; then writes its sitemap.xml and robots.txt, leaving a file the user wrote alone. False
// when one could not be written.
bool WriteSiteFiles(const std::string& siteFolder, const std::string& site,
                    const std::vector<std::string>& languages = {});

// The site folder's sitemap.xml and robots.txt that the user wrote, which the program leaves
// as they are.
std::vector<std::string> UsersOwnSiteFiles(const std::string& siteFolder);
