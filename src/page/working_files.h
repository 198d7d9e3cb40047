#pragma once

// Files of the working folder: its page store, and those the editor page is made of (the first
// three of them written by the program, the rest coming with the installation).
// The page store: every design, version and login of the working folder.
inline constexpr const char* kPageStoreFile = "quilldata.db";
inline constexpr const char* kEditorPageFile = "quilltemp.html";
inline constexpr const char* kControlsScriptFile = "controlstart.js";
inline constexpr const char* kControlsPageFile = "controls.html";
inline constexpr const char* kScreenPageFile = "quillscreen.html";
// The current page as a phone-friendly site publishes it, for the phone preview.
inline constexpr const char* kPhonePreviewPage = "phonepreview.html";
// A page's version in another language as the site check lays it out, to measure its words.
inline constexpr const char* kLanguageCheckPage = "languagecheck.html";
// The phone view of the main window: the frame with its bar, and the page as phones show it,
// hidden items faded.
inline constexpr const char* kPhoneViewPage = "phoneview.html";
inline constexpr const char* kPhoneItemsPage = "phoneitems.html";
inline constexpr const char* kControlsTemplateFile = "controls1.txt";
// Tells the controls page the folder label (the page's public address).
inline constexpr const char* kFolderLabelScriptFile = "folderlabel.js";
// The local welcome page the browser shows at start-up.
inline constexpr const char* kWelcomePageFile = "quillstart.html";
// The default site folder inside the working folder.
inline constexpr const char* kDefaultSiteFolder = "webpages";
// The reference page that is never stored or overwritten.
inline constexpr const char* kQuickstartPage = "quickstart.html";
