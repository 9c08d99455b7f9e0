#include "platform/message_loop.h"

#include <algorithm>

namespace {

template <class T>
BOOL AddOnce(std::vector<T*>& list, T* item) {
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) {
        return FALSE;
    }
    list.push_back(item);
    return TRUE;
}

template <class T>
BOOL RemoveFrom(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) {
        return FALSE;
    }
    list.erase(it);
    return TRUE;
}

}  // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
    return AddOnce(m_filters, filter);
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    return RemoveFrom(m_filters, filter);
}

BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
    return AddOnce(m_idleHandlers, handler);
}

BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
    return RemoveFrom(m_idleHandlers, handler);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* msg) {
    // By index: a filter may remove itself (or others) while it runs.
    for (std::size_t i = m_filters.size(); i-- > 0;) {
        if (i < m_filters.size() && m_filters[i]->PreTranslateMessage(msg)) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int) {
    for (std::size_t i = 0; i < m_idleHandlers.size(); ++i) {
        m_idleHandlers[i]->OnIdle();
    }
    return FALSE;
}
