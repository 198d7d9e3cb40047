#pragma once

// Where the maker's web site and the hosting service live. Deployment values: the program has
// no other place that names them, and every floor may read them.

// The maker's web site, opened from the File menu.
inline constexpr const char kMakerSite[] = "http://www.quillora.example/";
// Its "externalpage." addresses open pages of the web in the user's browser.
inline constexpr const char kMakerExternalPagePrefix[] =
    "http://www.quillora.example/externalpage.";
// The hosting service: its domain (the site-options command is this followed by
// "/siteoptions") and the public address of the users' folders, ending with "/".
inline constexpr const char kHostingDomain[] = "corvala.example";
inline constexpr const char kHostingSiteAddress[] = "http://www.corvala.example/";
