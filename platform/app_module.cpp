#include "platform/app_module.h"

HRESULT CAppModule::Init(void*, HINSTANCE instance) {
    m_instance = instance;
    return S_OK;
}

void CAppModule::Term() {
    const std::lock_guard<std::mutex> guard(m_lock);
    m_loops.clear();
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
    const std::lock_guard<std::mutex> guard(m_lock);
    if (loop == nullptr) {
        return FALSE;
    }
    return m_loops.emplace(std::this_thread::get_id(), loop).second ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop() {
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_loops.erase(std::this_thread::get_id()) > 0 ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop() const {
    const std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_loops.find(std::this_thread::get_id());
    return it != m_loops.end() ? it->second : nullptr;
}
