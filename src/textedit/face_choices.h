#pragma once

#include <string>
#include <vector>

// One entry of the text editor's list of faces.
struct FaceChoice {
    std::string family;
    // What the list shows: the family, and why it stays on this computer when it does.
    std::string label;
    // It travels with a site whose fonts travel, and is shown in its own face.
    bool travels = false;
};

// The faces the text editor offers: first those that travel with a site (the faces every site
// names, through their free twins; the program's library; the user's own files), then the rest
// of this computer's faces, each marked as staying here.
std::vector<FaceChoice> FaceChoices(const std::vector<std::string>& installed,
                                    const std::string& workingFolder);
