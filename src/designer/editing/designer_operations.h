#pragma once

#include <string>

// The operations behind the commands of the editor page that change items and page
// properties. The dispatcher recognises their addresses and hands over the arguments as they
// come.
class DesignerOperations {
  public:
    virtual ~DesignerOperations() = default;

    // "addtext" or "addgraphic" followed by left "~" top; empty when the address carried none.
    virtual void addItem(const std::string& argument) = 0;
    // The text id with the "/" the browser appended.
    virtual void editText(const std::string& argument) = 0;
    virtual void deleteText(const std::string& argument) = 0;
    // The text editor finished a section: 2 when it held an existing one, 1 a new one.
    virtual void textDone(int editMode) = 0;
    // The picture name, up to and including its "~".
    virtual void editPicture(const std::string& name) = 0;
    virtual void deletePicture(const std::string& name) = 0;
    // "page/" or "body/" when the address came from the editor page's menu.
    virtual void backgroundPicture(const std::string& target) = 0;
    virtual void backgroundColour(const std::string& target) = 0;
    virtual void pageLength() = 0;
};
