#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Loads the page file in a browser view of its own, out of sight and a desktop wide, and gives
// for each text section the ids of the other items its words reach over; nothing when the page
// does not load or answer in time.
std::optional<std::map<std::string, std::vector<std::string>>> MeasureSectionReach(
    const std::string& pageFile);
