#include "engine/actions/CCActionManager.h"

#include <algorithm>

#include "engine/actions/CCAction.h"
#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {

CCActionManager::~CCActionManager() { removeAllActions(); }

CCActionManager::Entry* CCActionManager::findEntry(CCObject* target) {
    for (Entry* e : m_entries)
        if (e->target == target) return e;
    return nullptr;
}

void CCActionManager::addAction(CCAction* action, CCNode* target, bool paused) {
    if (!action || !target) return;
    Entry* entry = findEntry(target);
    if (!entry) {
        entry = new Entry{target, {}, paused};
        m_entries.push_back(entry);
    }
    if (std::find(entry->actions.begin(), entry->actions.end(), action) != entry->actions.end())
        return;  // already running on this target
    action->retain();
    entry->actions.push_back(action);
    action->startWithTarget(target);
    ccRequestRedraw();
}

void CCActionManager::removeActionAt(Entry* entry, size_t index) {
    CCAction* action = entry->actions[index];
    entry->actions.erase(entry->actions.begin() + index);
    action->release();
}

void CCActionManager::removeAllActions() {
    std::vector<Entry*> entries;
    entries.swap(m_entries);
    for (Entry* e : entries) {
        for (CCAction* a : e->actions) a->release();
        delete e;
    }
}

void CCActionManager::removeAllActionsFromTarget(CCObject* target) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [target](Entry* e) { return e->target == target; });
    if (it == m_entries.end()) return;
    Entry* entry = *it;
    m_entries.erase(it);
    for (CCAction* a : entry->actions) {
        a->stop();
        a->release();
    }
    delete entry;
}

void CCActionManager::removeAction(CCAction* action) {
    if (!action) return;
    for (Entry* e : m_entries) {
        auto it = std::find(e->actions.begin(), e->actions.end(), action);
        if (it != e->actions.end()) {
            removeActionAt(e, (size_t)(it - e->actions.begin()));
            return;
        }
    }
}

void CCActionManager::removeActionByTag(int tag, CCObject* target) {
    Entry* e = findEntry(target);
    if (!e) return;
    for (size_t i = 0; i < e->actions.size(); ++i) {
        if (e->actions[i]->getTag() == tag) {
            removeActionAt(e, i);
            return;
        }
    }
}

CCAction* CCActionManager::getActionByTag(int tag, CCObject* target) {
    Entry* e = findEntry(target);
    if (!e) return nullptr;
    for (CCAction* a : e->actions)
        if (a->getTag() == tag) return a;
    return nullptr;
}

unsigned int CCActionManager::numberOfRunningActionsInTarget(CCObject* target) {
    Entry* e = findEntry(target);
    return e ? (unsigned int)e->actions.size() : 0;
}

void CCActionManager::pauseTarget(CCObject* target) {
    if (Entry* e = findEntry(target)) e->paused = true;
}

void CCActionManager::resumeTarget(CCObject* target) {
    if (Entry* e = findEntry(target)) e->paused = false;
}

bool CCActionManager::isTargetPaused(CCObject* target) {
    Entry* e = findEntry(target);
    return e && e->paused;
}

unsigned int CCActionManager::totalActionCount() const {
    unsigned int n = 0;
    for (Entry* e : m_entries) n += (unsigned int)e->actions.size();
    return n;
}

unsigned int CCActionManager::runningActionCount() const {
    unsigned int n = 0;
    for (Entry* e : m_entries)
        if (!e->paused) n += (unsigned int)e->actions.size();
    return n;
}

void CCActionManager::update(float dt) {
    // Actions may add or remove actions, or destroy targets, while they step: work on a
    // snapshot of targets and actions and look each one up again before stepping it.
    std::vector<CCNode*> targets;
    for (Entry* e : m_entries)
        if (!e->paused && !e->actions.empty()) targets.push_back(e->target);
    for (CCNode* target : targets) {
        Entry* entry = findEntry(target);
        if (!entry || entry->paused) continue;
        target->retain();
        std::vector<CCAction*> actions = entry->actions;
        for (CCAction* a : actions) a->retain();
        for (CCAction* action : actions) {
            entry = findEntry(target);
            if (!entry || entry->paused) break;
            if (std::find(entry->actions.begin(), entry->actions.end(), action) ==
                entry->actions.end())
                continue;
            action->step(dt);
            ccRequestRedraw();
            if (action->isDone()) {
                action->stop();
                removeAction(action);
            }
        }
        for (CCAction* a : actions) a->release();
        entry = findEntry(target);
        if (entry && entry->actions.empty()) {
            m_entries.erase(std::find(m_entries.begin(), m_entries.end(), entry));
            delete entry;
        }
        target->release();
    }
}

}  // namespace pagly::engine
