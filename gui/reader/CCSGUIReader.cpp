#include "gui/reader/CCSGUIReader.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/director/CCDirector.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "gui/Layout.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "gui/reader/ReaderOptions.h"
#include "gui/reader/ReaderValues.h"
#include "gui/reader/WidgetClasses.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {

CCSGUIReader* g_instance = nullptr;

// The integer value of one version part, as atoi reads it but without its undefined
// behaviour on overflow.
long long versionPart(const std::string& part) {
    long value = std::strtol(part.c_str(), nullptr, 10);
    return std::min<long>(std::max<long>(value, INT_MIN), INT_MAX);
}

}  // namespace

CCSGUIReader* CCSGUIReader::instance() {
    if (!g_instance) g_instance = new CCSGUIReader();
    return g_instance;
}

void CCSGUIReader::destroyInstance() {
    CCSGUIReader* reader = g_instance;
    g_instance = nullptr;
    if (reader) reader->release();
}

bool CCSGUIReader::hasInstance() { return g_instance != nullptr; }

void destroyDocumentSingletons() {
    ActionManager::destroyInstance();
    CCSGUIReader::destroyInstance();
    WidgetHelper::destroyInstance();
    JsonHelper::destroyInstance();
}

CCSGUIReader::~CCSGUIReader() = default;

int CCSGUIReader::parseVersion(const char* text) {
    if (!text || std::strlen(text) < 7) return 0;
    std::string s(text);
    std::string parts[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t dot = s.find('.', start);
        if (i == 3 || dot == std::string::npos) {
            parts[i] = s.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
            break;
        }
        parts[i] = s.substr(start, dot - start);
        start = dot + 1;
    }
    long long value = 1000 * versionPart(parts[0]) + 100 * versionPart(parts[1]) +
                      10 * versionPart(parts[2]) + versionPart(parts[3]);
    return (int)std::min<long long>(std::max<long long>(value, INT_MIN), INT_MAX);
}

UIWidget* CCSGUIReader::loadWidgetTree(const char* fileName) {
    m_legacyDocument = false;
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string fullPath = files->fullPathForFilename(fileName ? fileName : "");
    std::string bytes;
    bool read = fileName && *fileName && files->readFile(fullPath, bytes);
    if (!read || bytes.empty() || bytes[0] == '\0') {
        printf("read json file[%s] error!\n", fileName ? fileName : "");
        fflush(stdout);
        if (fileName && *fileName) {
            reportUnusableFile(fullPath, !read ? whyUnreadable(fullPath)
                                         : bytes.empty()
                                             ? std::string("it is empty")
                                             : std::string("it starts with a zero byte"));
        }
        return nullptr;
    }

    JsonHelper* json = JsonHelper::instance();
    JsonDictionary document;
    std::string problem;
    // A broken document is still read as far as it goes; the author is told (once, by the
    // first problem found) why it shows less than it should.
    bool valid = document.initWithText(bytes.data(), bytes.size(), &problem);
    if (!valid) {
        reportUnusableFile(fullPath, problem);
    } else if (!document.isObject()) {
        reportUnusableFile(fullPath, "its root is not a JSON object");
    }

    const char* version = json->getString(&document, "version");
    m_legacyDocument = !version || parseVersion(version) < 250;

    size_t slash = fullPath.rfind('/');
    m_documentDirectory =
        slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);

    WidgetHelper* helper = WidgetHelper::instance();
    int textures = json->getArrayCount(&document, "textures");
    for (int i = 0; i < textures; ++i) {
        // Only strings name sheets; any other element is skipped.
        const char* sheet = json->getArrayString(&document, "textures", i);
        if (sheet && *sheet) helper->addSpriteFramesOnce((m_documentDirectory + sheet).c_str());
    }

    float designWidth = finiteFloat(json->getFloat(&document, "designWidth"), 0.0f);
    float designHeight = finiteFloat(json->getFloat(&document, "designHeight"), 0.0f);
    if (designWidth > 0 && designHeight > 0) {
        helper->setDesignSize(CCSize(designWidth, designHeight));
    } else {
        printf("Read design size error!\n");
        fflush(stdout);
        helper->setDesignSize(CCDirector::sharedDirector()->getWinSize());
    }

    JsonDictionaryPtr tree(json->getSubDictionary(&document, "widgetTree"));
    m_cutAtDepth = false;
    UIWidget* root = createWidget(tree.get());
    bool told = !valid || !document.isObject();
    if (!told && !root) {
        reportUnusableFile(fullPath,
                           tree && tree->isObject()
                               ? "its \"widgetTree\" names no widget class the reader knows"
                               : "it has no \"widgetTree\" object");
    } else if (!told && m_cutAtDepth) {
        reportUnusableFile(fullPath, "its widgets nest deeper than " +
                                         std::to_string(kMaxWidgetDepth) +
                                         " levels; the deeper ones are left out");
    }
    if (root && root->getSize().equals(CCSize(0, 0))) {
        // Only a panel can take a size it does not draw from content. The design values
        // are held to the sizes the reader accepts anywhere (never negative nor immense).
        if (Layout* panel = dynamic_cast<Layout*>(root)) {
            auto held = [](float v) {
                return std::min(std::max(v, 0.0f), ReaderOptions::kMaxSize);
            };
            panel->setSize(CCSize(held(designWidth), held(designHeight)));
        }
    }

    JsonDictionaryPtr animation(json->getSubDictionary(&document, "animation"));
    ActionManager::instance()->loadActions(fileName, animation.get(), root);
    return root;
}

UIWidget* CCSGUIReader::createWidget(JsonDictionary* node) { return createWidgetAt(node, 0); }

UIWidget* CCSGUIReader::createWidgetAt(JsonDictionary* node, int depth) {
    if (!node) return nullptr;
    if (depth >= kMaxWidgetDepth) {
        m_cutAtDepth = true;
        return nullptr;
    }
    JsonHelper* json = JsonHelper::instance();
    const WidgetClass* type = findWidgetClass(json->getString(node, "classname"));
    // An unknown or missing class yields no widget, and its subtree goes with it.
    if (!type || !type->create) return nullptr;
    UIWidget* widget = type->create();
    if (!widget) return nullptr;

    JsonDictionaryPtr options(json->getSubDictionary(node, "options"));
    for (OptionApplier apply : type->appliers) {
        if (apply) (this->*apply)(widget, options.get());
    }

    int count = json->getArrayCount(node, "children");
    for (int i = 0; i < count; ++i) {
        JsonDictionaryPtr childNode(json->getArrayDictionary(node, "children", i));
        if (UIWidget* child = createWidgetAt(childNode.get(), depth + 1)) widget->addChild(child);
    }
    return widget;
}

}  // namespace pagly::gui
