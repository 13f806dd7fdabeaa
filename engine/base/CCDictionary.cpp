#include "engine/base/CCDictionary.h"

#include <cstring>
#include <pugixml.hpp>

#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"

namespace pagly::engine {

CCDictionary::~CCDictionary() { removeAllObjects(); }

CCDictionary* CCDictionary::create() {
    CCDictionary* d = new CCDictionary();
    d->autorelease();
    return d;
}

void CCDictionary::setObject(CCObject* object, const std::string& key) {
    if (!object) return;
    object->retain();
    auto it = m_strMap.find(key);
    if (it != m_strMap.end()) {
        CCObject* old = it->second;
        it->second = object;
        old->release();
    } else {
        m_strMap.emplace(key, object);
    }
}

void CCDictionary::setObject(CCObject* object, intptr_t key) {
    if (!object) return;
    object->retain();
    auto it = m_intMap.find(key);
    if (it != m_intMap.end()) {
        CCObject* old = it->second;
        it->second = object;
        old->release();
    } else {
        m_intMap.emplace(key, object);
    }
}

CCObject* CCDictionary::objectForKey(const std::string& key) const {
    auto it = m_strMap.find(key);
    return it == m_strMap.end() ? nullptr : it->second;
}

CCObject* CCDictionary::objectForKey(intptr_t key) const {
    auto it = m_intMap.find(key);
    return it == m_intMap.end() ? nullptr : it->second;
}

const CCString* CCDictionary::valueForKey(const std::string& key) const {
    return dynamic_cast<const CCString*>(objectForKey(key));
}

void CCDictionary::removeObjectForKey(const std::string& key) {
    auto it = m_strMap.find(key);
    if (it == m_strMap.end()) return;
    CCObject* old = it->second;
    m_strMap.erase(it);
    old->release();
}

void CCDictionary::removeObjectForKey(intptr_t key) {
    auto it = m_intMap.find(key);
    if (it == m_intMap.end()) return;
    CCObject* old = it->second;
    m_intMap.erase(it);
    old->release();
}

void CCDictionary::removeAllObjects() {
    std::map<std::string, CCObject*> s;
    std::map<intptr_t, CCObject*> i;
    s.swap(m_strMap);
    i.swap(m_intMap);
    for (auto& e : s) e.second->release();
    for (auto& e : i) e.second->release();
}

CCArray* CCDictionary::allKeys() const {
    CCArray* keys = CCArray::createWithCapacity(count());
    for (auto& e : m_strMap) keys->addObject(CCString::create(e.first));
    for (auto& e : m_intMap) keys->addObject(CCInteger::create((int)e.first));
    return keys;
}

namespace {

// Property lists nest; a hostile file could nest deeply enough to exhaust the stack.
const int kMaxPlistDepth = 256;

CCObject* plistValue(const pugi::xml_node& node, int depth);

CCDictionary* plistDict(const pugi::xml_node& node, int depth) {
    CCDictionary* dict = new CCDictionary();
    std::string key;
    bool haveKey = false;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (std::strcmp(child.name(), "key") == 0) {
            key = child.child_value();
            haveKey = true;
            continue;
        }
        if (!haveKey) continue;  // a value without its key: skip it
        CCObject* value = plistValue(child, depth + 1);
        if (value) {
            dict->setObject(value, key);
            value->release();
        }
        haveKey = false;
    }
    return dict;
}

CCObject* plistValue(const pugi::xml_node& node, int depth) {
    if (depth > kMaxPlistDepth) return nullptr;
    const char* name = node.name();
    if (std::strcmp(name, "dict") == 0) return plistDict(node, depth);
    if (std::strcmp(name, "array") == 0) {
        CCArray* array = new CCArray();
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            CCObject* value = plistValue(child, depth + 1);
            if (value) {
                array->addObject(value);
                value->release();
            }
        }
        return array;
    }
    if (std::strcmp(name, "string") == 0 || std::strcmp(name, "integer") == 0 ||
        std::strcmp(name, "real") == 0 || std::strcmp(name, "date") == 0 ||
        std::strcmp(name, "data") == 0)
        return new CCString(node.child_value());
    if (std::strcmp(name, "true") == 0) return new CCString("true");
    if (std::strcmp(name, "false") == 0) return new CCString("false");
    return nullptr;
}

// The dictionary at the root of property-list text (autoreleased), or null with `whyNot` set.
CCDictionary* parsePlist(const std::string& text, std::string& whyNot) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    if (!result) {
        whyNot = std::string("it is not a valid property list: ") + result.description() +
                 " at byte " + std::to_string((long)result.offset);
        return nullptr;
    }
    pugi::xml_node root = doc.child("plist").child("dict");
    if (!root) root = doc.child("dict");
    if (!root) {
        whyNot = "it is not a property list of keys and values (no <dict> at its root)";
        return nullptr;
    }
    CCDictionary* dict = plistDict(root, 0);
    dict->autorelease();
    return dict;
}

// Reads and parses a property-list file; on failure says why and which name to report: the
// resolved path for a file that cannot be read, the name asked for when it is not a plist.
CCDictionary* readPlistFile(const char* path, std::string& whyNot, std::string& nameForLog) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string full = files->fullPathForFilename(path);
    std::string text;
    if (!files->readFile(full, text)) {
        whyNot = whyUnreadable(full);
        nameForLog = full;
        return nullptr;
    }
    nameForLog = path;
    return parsePlist(text, whyNot);
}

}  // namespace

CCDictionary* CCDictionary::createWithPlistText(const std::string& text, const char* nameForLog) {
    std::string whyNot;
    CCDictionary* dict = parsePlist(text, whyNot);
    if (!dict) reportUnusableFile(nameForLog ? nameForLog : "", whyNot);
    return dict;
}

CCDictionary* CCDictionary::readContentsOfFile(const char* path, std::string& whyNot) {
    std::string nameForLog;
    return path ? readPlistFile(path, whyNot, nameForLog) : nullptr;
}

CCDictionary* CCDictionary::createWithContentsOfFile(const char* path) {
    if (!path) return nullptr;
    std::string whyNot, nameForLog;
    CCDictionary* dict = readPlistFile(path, whyNot, nameForLog);
    if (!dict) reportUnusableFile(nameForLog, whyNot);
    return dict;
}

}  // namespace pagly::engine
