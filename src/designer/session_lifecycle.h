#pragma once

#include <string>

class Browser;
class DesignerSession;
class SqliteDatabase;

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

// The start of the main window: the hosting folder record, the lists on the last session's
// folder and page (nothing is loaded yet, and the exit save stays off until the user opens a
// page), then the welcome page.
void StartSession(DesignerSession& session, SqliteDatabase& db, Browser& browser);

// The end of the main window: the page is stored with the layout its editor page shows (see
// PageCatalog::storeCurrentDesign), then the last-session file is written.
void EndSession(DesignerSession& session);
