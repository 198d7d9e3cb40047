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
// The servlet that takes uploaded pages and lists a folder's files, the script that takes
// uploaded pictures, and the start of the picture delete request.
inline constexpr const char kHostingServletAddress[] = "http://apps.corvala.example/quillservlet";
inline constexpr const char kHostingPictureUploadAddress[] =
    "http://scripts.corvala.example/uploadgraphic.php";
inline constexpr const char kHostingDeleteScriptAddress[] =
    "http://scripts.corvala.example/deleteimages.php?filename=";
