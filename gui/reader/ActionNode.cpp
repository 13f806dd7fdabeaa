#include "gui/reader/ActionNode.h"

#include <algorithm>
#include <cmath>

#include "engine/actions/CCActionCompound.h"
#include "engine/actions/CCActionInterval.h"
#include "engine/base/CCArray.h"
#include "engine/nodes/CCNode.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "gui/reader/ReaderValues.h"
#include "gui/reader/WidgetAccess.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {

// Longest a timeline's kind may last, and longest any one pose step. An absurd "unittime"
// or frame number gives spans (or sums of spans) beyond any float: the engine would then
// divide by infinity and multiply that 0 by infinity, posing the widget at NaN.
constexpr double kMaxTimelineSeconds = 1e30;

// Seconds between two frames, worked out in double so that no product overflows; unsorted
// frames would give a negative span, which no engine action can play, so it counts as none.
double spanBetween(int fromIndex, int toIndex, float unitTime) {
    double span = ((double)toIndex - (double)fromIndex) * (double)unitTime;
    if (!(span > 0) || !std::isfinite(span)) return 0.0;
    return span;
}

ActionFrame* frameAt(CCArray* list, unsigned int i) {
    return static_cast<ActionFrame*>(list->objectAtIndex(i));
}

}  // namespace

ActionNode::ActionNode() {
    m_frameLists = CCArray::createWithCapacity(FrameTypeCount);
    for (int i = 0; i < FrameTypeCount; ++i) m_frameLists->addObject(CCArray::create());
}

ActionNode::~ActionNode() = default;

CCArray* ActionNode::getFrameList(int kind) const {
    if (kind < 0 || kind >= FrameTypeCount) return nullptr;
    return static_cast<CCArray*>(m_frameLists->objectAtIndex((unsigned int)kind));
}

void ActionNode::addFrame(ActionFrame* frame) {
    if (!frame) return;
    if (CCArray* list = getFrameList(frame->getFrameType())) list->addObject(frame);
}

void ActionNode::loadFromDictionary(JsonDictionary* node, CCObject* root) {
    JsonHelper* json = JsonHelper::instance();
    m_actionTag = json->getInt(node, "ActionTag");
    int count = json->getArrayCount(node, "actionframelist");
    for (int i = 0; i < count; ++i) {
        JsonDictionaryPtr data(json->getArrayDictionary(node, "actionframelist", i));
        if (!data) continue;
        int frameIndex = json->getInt(data.get(), "frameid");
        // One frame object may define several kinds; each present kind yields a frame.
        // Each new frame's creator reference is dropped once its list holds it.
        if (json->hasKey(data.get(), "positionx")) {
            ActionMoveFrame* frame = new ActionMoveFrame();
            frame->setFrameIndex(frameIndex);
            frame->setPosition(CCPoint(finiteFloat(json->getFloat(data.get(), "positionx"), 0),
                                       finiteFloat(json->getFloat(data.get(), "positiony"), 0)));
            addFrame(frame);
            frame->release();
        }
        if (json->hasKey(data.get(), "scalex")) {
            ActionScaleFrame* frame = new ActionScaleFrame();
            frame->setFrameIndex(frameIndex);
            frame->setScaleX(finiteFloat(json->getFloat(data.get(), "scalex"), 0));
            frame->setScaleY(finiteFloat(json->getFloat(data.get(), "scaley"), 0));
            addFrame(frame);
            frame->release();
        }
        if (json->hasKey(data.get(), "rotation")) {
            ActionRotationFrame* frame = new ActionRotationFrame();
            frame->setFrameIndex(frameIndex);
            frame->setRotation(finiteFloat(json->getFloat(data.get(), "rotation"), 0));
            addFrame(frame);
            frame->release();
        }
        if (json->hasKey(data.get(), "opacity")) {
            ActionFadeFrame* frame = new ActionFadeFrame();
            frame->setFrameIndex(frameIndex);
            frame->setOpacity((float)json->getInt(data.get(), "opacity"));
            addFrame(frame);
            frame->release();
        }
        if (json->hasKey(data.get(), "colorr")) {
            ActionTintFrame* frame = new ActionTintFrame();
            frame->setFrameIndex(frameIndex);
            frame->setColor(ccColor3B(lowByte(json->getInt(data.get(), "colorr")),
                                      lowByte(json->getInt(data.get(), "colorg")),
                                      lowByte(json->getInt(data.get(), "colorb"))));
            addFrame(frame);
            frame->release();
        }
    }
    initActionNodeFromRoot(root);
}

void ActionNode::initActionNodeFromRoot(CCObject* root) {
    if (dynamic_cast<CCNode*>(root)) {
        CCLog("Need a definition of <initActionNodeFromRoot> for gameObject");
        return;
    }
    if (UIWidget* widget = dynamic_cast<UIWidget*>(root)) {
        if (UIWidget* found = widgetWithActionTag(widget, m_actionTag)) m_target = found;
    }
}

CCNode* ActionNode::getTargetNode() {
    if (CCNode* node = dynamic_cast<CCNode*>(m_target)) return node;
    if (UIWidget* widget = dynamic_cast<UIWidget*>(m_target)) return wholeRenderNode(widget);
    return nullptr;
}

CCAction* ActionNode::rebuildAction() {
    if (!m_target) return nullptr;
    CCArray* kinds = CCArray::create();
    for (int kind = 0; kind < FrameTypeCount; ++kind) {
        CCArray* list = getFrameList(kind);
        // The first frame only marks where the kind starts: one frame animates nothing.
        if (list->count() < 2) continue;
        CCArray* steps = CCArray::createWithCapacity(list->count() - 1);
        double total = 0;
        for (unsigned int j = 1; j < list->count(); ++j) {
            ActionFrame* previous = frameAt(list, j - 1);
            ActionFrame* frame = frameAt(list, j);
            double span =
                spanBetween(previous->getFrameIndex(), frame->getFrameIndex(), m_unitTime);
            // The kind's whole sequence must stay a finite number of seconds.
            float duration = (float)std::min(span, std::max(kMaxTimelineSeconds - total, 0.0));
            total += duration;
            if (CCAction* action = frame->getAction(duration)) steps->addObject(action);
        }
        if (steps->count() == 0) continue;
        if (CCAction* sequence = CCSequence::create(steps)) kinds->addObject(sequence);
    }
    m_spawn = kinds->count() > 0 ? CCSpawn::create(kinds) : nullptr;
    return m_spawn.get();
}

void ActionNode::play(bool loop) {
    if (!m_target || !m_spawn) return;
    // A new play restarts the timeline: the previous run stops, and each run gets its own
    // copy of the prepared action, so two runs never share one action's state.
    stop();
    CCActionInterval* body = dynamic_cast<CCActionInterval*>(m_spawn->copy());
    if (!body) return;
    if (loop) {
        m_runningAction = CCRepeatForever::create(body);
    } else {
        m_runningAction = CCSequence::create(body, nullptr);
    }
    runOnTarget();
}

void ActionNode::runOnTarget() {
    CCNode* node = getTargetNode();
    if (node && m_runningAction) node->runAction(m_runningAction.get());
}

void ActionNode::stop() {
    CCNode* node = getTargetNode();
    if (node && m_runningAction) node->stopAction(m_runningAction.get());
}

bool ActionNode::updateToTime(float time) {
    bool result = false;
    for (int kind = 0; kind < FrameTypeCount; ++kind) {
        CCArray* list = getFrameList(kind);
        for (unsigned int j = 0; j < list->count(); ++j) {
            ActionFrame* frame = frameAt(list, j);
            float t = (float)frame->getFrameIndex() * m_unitTime;
            if (t == time) {
                applyFrameAt(1.0f, 1.0f, frame);
                result = true;
                break;
            }
            if (t > time) {
                if (j == 0) {
                    applyFrameAt(1.0f, 1.0f, frame);
                    result = false;
                } else {
                    ActionFrame* previous = frameAt(list, j - 1);
                    // In double: frame times beyond any float still interpolate.
                    double start = (double)previous->getFrameIndex() * (double)m_unitTime;
                    double span =
                        spanBetween(previous->getFrameIndex(), frame->getFrameIndex(), m_unitTime);
                    double progress = span > 0 ? ((double)time - start) / span : 1.0;
                    progress = std::min(std::max(progress, 0.0), 1.0);
                    float duration = (float)std::min(span, kMaxTimelineSeconds);
                    applyFrameAt(duration, 1.0f, previous);
                    applyFrameAt(duration, (float)progress, frame);
                    result = true;
                }
                break;
            }
        }
    }
    return result;
}

void ActionNode::applyFrameAt(float duration, float progress, ActionFrame* frame) {
    CCAction* action = frame ? frame->getAction(duration) : nullptr;
    CCNode* node = getTargetNode();
    if (!action || !node) return;
    // Start and advance the action by hand: the node takes the pose without the action
    // being run by the action manager.
    action->startWithTarget(node);
    action->update(progress);
}

}  // namespace pagly::gui
