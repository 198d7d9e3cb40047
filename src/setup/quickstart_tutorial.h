#pragma once

#include <string>

#include "page/page_record.h"

// The design of webpages/quickstart.html: sections that explain the designer and a picture,
// laid out in an 800-pixel container. It is the first page a new user sees.
PageRecord QuickstartTutorial(const std::string& workingFolder);
