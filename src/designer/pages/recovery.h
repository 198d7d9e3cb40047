#pragma once

#include <optional>
#include <string>

#include "page/design_text.h"

struct PageRecord;

inline constexpr const char* kRecoveryFile = "recovery.qlr";
class PageStore;
class Prompts;

// The design of the page being edited, kept in the working folder a few seconds after each
// change, so that a crash loses at most those seconds. A clean exit, a save and storing the page
// before another one is opened remove it.

// Written whole or not at all: a new file beside the old one, flushed to disk, then renamed.
bool WriteRecovery(const std::string& workingFolder, const PageRecord& page);
void RemoveRecovery(const std::string& workingFolder);

// At start: a recovery file that differs from its page's stored design is offered to the user.
// Restored, the design is stored and becomes the last session's page, so that resuming opens
// it; declined, the file goes. When the restoring save fails the file stays and the user is
// told. A file that cannot be read is set aside as recovery.damaged.qlr (then -2, -3 ...)
// with a message.
void OfferRecovery(const std::string& workingFolder, PageStore& store, Prompts& prompts);
