#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

// Pictures stay where the user keeps them; a page's site folder gets a copy of each beside the
// published page. The copy's name is the picture's file name with a lower-case extension, and
// problem characters replaced in a name that holds one ("IMG_0001.JPG" as "IMG_0001.jpg",
// "my photo (1).jpg" as "my photo -1-.jpg"). A file of that name holding the same bytes is the
// copy. One holding others is never replaced, unless it is the copy the program made of that
// same picture before (the user edited the picture): the copy takes the first free
// "name-2.ext", and the page refers to it. The copies made are recorded in the working folder's
// "copies" folder, a file a site folder. The name depends only on the picture, the folder's
// files and that record, so every page, save and upload finds the same one.
class SiteCopies {
  public:
    SiteCopies(const std::string& workingFolder, std::string siteFolder);

    // The copy's file name in the site folder (worked out once per picture). A background
    // picture keeps its own name (pages always used it), numbered only to spare another file.
    enum class Naming { WebSafe, Kept };
    const std::string& nameOf(const std::string& picture, Naming naming = Naming::WebSafe);
    // Puts the copy there when it is missing or older; false when it cannot be written.
    bool copy(const std::string& picture, Naming naming = Naming::WebSafe);
    const std::string& siteFolder() const { return siteFolder_; }
    // The copies made before: the copy's name and the picture it was made of.
    const std::map<std::string, std::string>& made() const { return made_; }
    // Puts a copy of the picture under that name, as an earlier copy made it (a site brought
    // from elsewhere keeps the names its pages use); false when it cannot be written.
    bool placeAs(const std::string& name, const std::string& picture);
    // The copies this program made that none of the texts refers to, taken out of the site
    // folder while they still hold the bytes they were copied from (a file the user wrote over
    // them stays, and so does any file the program did not make); their names.
    std::vector<std::string> removeUnreferenced(const std::vector<std::string>& texts);

  private:
    void writeRecord();
    // Whether the file is the copy made of the picture: its bytes, or the record, say so.
    bool isCopyOf(const std::string& candidate, const std::string& picture);

    std::string siteFolder_;
    std::string recordPath_;
    // The copies made before: the copy's name and the picture it was made of.
    std::map<std::string, std::string> made_;
    std::map<std::string, std::string> names_;
    // The pictures whose copies are in place already.
    std::set<std::string> copied_;
};

// The path with every picture extension (".JPG", ".Gif", ...) in lower case.
std::string WithLowerCaseExtensions(std::string path);
