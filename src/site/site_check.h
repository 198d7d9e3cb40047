#pragma once

#include <string>
#include <vector>

#include "site/language_check.h"
#include "site/site_finding.h"

class PageStore;

// Reads every stored page of the site folder and its files: pictures without a description
// (unless they only decorate), pages without a language or description, pictures far heavier
// than their place needs while web pictures are off, links between pages that lead to no
// page, picture files that are missing, faces that cannot travel with the site, and the site
// options that would help. A site of several languages is checked in each of them as well, its
// translations measured with the measure given (none: not measured).
std::vector<SiteFinding> CheckSite(PageStore& store, const std::string& workingFolder,
                                   const std::string& siteFolder,
                                   const ReachMeasure& measure = ReachMeasure());

// The finding as one line: "page.html: text", or "site: text".
std::string FindingLine(const SiteFinding& finding);
