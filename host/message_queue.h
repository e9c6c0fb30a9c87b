// Private window messages between worker threads and a window's thread.
//
// A worker hands its result over by posting a message number (and one
// argument) to the window that owns the work; the window's thread takes the
// messages in posting order and handles them.  CMessageSink is all that a
// worker sees: the palette's window implements it over its toolkit's event
// loop, and CMessageQueue is the plain queue that the command line and the
// tests pump themselves.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

struct tagMSG {
    unsigned message = 0;
    std::intptr_t wParam = 0;
};

class CMessageSink {
  public:
    virtual ~CMessageSink() = default;
    // Queues a message for the owner's thread and returns at once, from any
    // thread.  Returns non-zero when the message was queued.
    virtual int PostMessage(unsigned message, std::intptr_t wParam = 0) = 0;
};

class CMessageQueue : public CMessageSink {
  public:
    int PostMessage(unsigned message, std::intptr_t wParam = 0) override;
    // Takes the oldest message into `msg`, waiting at most `timeoutMs`
    // milliseconds for one.  Returns 0 when none came in that time.
    int GetMessage(tagMSG& msg, int timeoutMs);

  private:
    std::mutex m_lock;
    std::condition_variable m_posted;
    std::deque<tagMSG> m_messages;
};
