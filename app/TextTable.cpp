#include "app/TextTable.h"

#include "engine/base/CCDictionary.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCLabelTTF.h"

using namespace pagly::engine;

namespace pagly {

const char* const kInterfaceTexts = "String.xml";
const char* const kCaptionTexts = "Stringstr.xml";

std::string textFrom(CCDictionary* table, const char* key) {
    if (!table) return std::string();
    CCObject* found = table->objectForKey(key);
    const CCString* value = dynamic_cast<const CCString*>(found);
    if (!value) {
        CCLog(found ? "text table value of \"%s\" is not a text" : "text table has no key \"%s\"",
              key);
        return std::string();
    }
    return value->getCString();
}

std::string loadText(const char* file, const char* key) {
    return textFrom(CCDictionary::createWithContentsOfFile(file), key);
}

CCLabelTTF* createMenuLabel(const std::string& text, float fontSize, const char* fallback) {
    CCLabelTTF* label = CCLabelTTF::create(text.c_str(), "Arial", fontSize);
    if (label && label->getContentSize().width > 0) return label;
    CCLog("menu text \"%.40s\" cannot be shown; showing \"%s\"", text.c_str(), fallback);
    return CCLabelTTF::create(fallback, "Arial", fontSize);
}

}  // namespace pagly
