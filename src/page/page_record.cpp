#include "page/page_record.h"

std::string PageContainerMarkup(const std::string& width, const std::string& length) {
    return "<CENTER><div id='pagecontainer' style='position:relative;top:15px;width:" + width +
           "px;height:" + length + "px;border-width:1px;border-style:solid;border-color:#008000;";
}

void StyleRequest::reset() {
    onload.clear();
    border = " ";
    backgroundPicture = " ";
    backgroundColour = " ";
}

std::string TextId(int elementCount) {
    return kTextIdPrefix + std::to_string(elementCount) + "~";
}

std::string PictureName(int number) {
    return kPictureNamePrefix + std::to_string(number) + "~";
}

std::string ItemNameIn(const std::string& text) {
    const std::size_t tilde = text.find('~');
    return tilde == std::string::npos ? std::string() : text.substr(0, tilde + 1);
}
