#pragma once

#include <string>

// The page open when the program last ended, from lastsession.qlp: one line, folder "|" page.
struct LastSession {
    std::string folder;
    std::string page;
};

// The folder and page of the last session; the default site folder and the quickstart page
// when the file is missing or empty.
LastSession ReadLastSession(const std::string& workingFolder);
// Writes the page's folder and file name, without a line end. Failures are ignored: the next
// start falls back to the defaults.
void WriteLastSession(const std::string& workingFolder, const std::string& folder,
                      const std::string& page);
