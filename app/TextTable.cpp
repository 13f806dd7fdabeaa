#include "app/TextTable.h"

#include "engine/base/CCDictionary.h"
#include "engine/base/CCString.h"

using namespace cocos2d;

namespace pagly {

const char* const kInterfaceTexts = "String.xml";
const char* const kCaptionTexts = "Stringstr.xml";

std::string textFrom(CCDictionary* table, const char* key) {
    if (!table) return std::string();
    const CCString* value = dynamic_cast<const CCString*>(table->objectForKey(key));
    if (!value) {
        CCLog("text table has no key \"%s\"", key);
        return std::string();
    }
    return value->getCString();
}

std::string loadText(const char* file, const char* key) {
    return textFrom(CCDictionary::createWithContentsOfFile(file), key);
}

}  // namespace pagly
