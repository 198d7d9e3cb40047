#pragma once

#include <string>

// A typed page name made safe for a file name: ? ! ~ * % ' & $ # " ( ) become "-". Separators,
// colons and spaces stay, so it can be applied to a whole path.
std::string CleanPageName(std::string name);

// A hosting folder name made safe: space ? ! ~ * % ' " / \ & $ # become "-".
std::string CleanFolderName(std::string name);

// Whether a picture file name holds a character that breaks the page or its upload:
// " | & ! ? % $ @ ( ) # ` : ;
bool HasProblemCharacters(const std::string& name);
