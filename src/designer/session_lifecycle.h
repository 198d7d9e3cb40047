#pragma once

#include <string>

#include "designer/pages/last_session.h"

class Browser;
class DesignerSession;
class SqliteDatabase;

// The start of the main window: the hosting folder record, the lists on the last session's
// folder and page (nothing is loaded yet, and the exit save stays off until the user opens a
// page), then the welcome page.
void StartSession(DesignerSession& session, SqliteDatabase& db, Browser& browser);

// The end of the main window: the page is stored with the layout its editor page shows (see
// PageCatalog::storeCurrentDesign), then the last-session file is written.
void EndSession(DesignerSession& session);
