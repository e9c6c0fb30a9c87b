#include "host/message_queue.h"

#include <chrono>

int CMessageQueue::PostMessage(unsigned message, std::intptr_t wParam) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_messages.push_back({message, wParam});
    }
    m_posted.notify_one();
    return 1;
}

int CMessageQueue::GetMessage(tagMSG& msg, int timeoutMs) {
    std::unique_lock<std::mutex> hold(m_lock);
    if (!m_posted.wait_for(hold, std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0),
                           [this] { return !m_messages.empty(); })) {
        return 0;
    }
    msg = m_messages.front();
    m_messages.pop_front();
    return 1;
}
