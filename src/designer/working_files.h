#pragma once

// Files of the working folder that the editor page is made of. The first three are written
// by the program; the rest come with the installation.
inline constexpr const char* kEditorPageFile = "quilltemp.html";
inline constexpr const char* kControlsScriptFile = "controlstart.js";
inline constexpr const char* kControlsPageFile = "controls.html";
inline constexpr const char* kScreenPageFile = "quillscreen.html";
inline constexpr const char* kControlsTemplateFile = "controls1.txt";
