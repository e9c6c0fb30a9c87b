// A text engine answered by the replay engine, for the tests of the text
// builders.  Every display setting starts off but those named, so a test
// sees only the lines it switches on.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"

using Replies = std::initializer_list<std::pair<const char16_t*, const char16_t*>>;

struct TextFixture {
    CReplayEngine engine;
    CCdStatus status;
    CLumClickData data;

    explicit TextFixture(std::initializer_list<int CCdStatus::*> on = {});
    // The reply to a whole command.
    void Reply(const std::u16string& command, const std::u16string& reply);
    // The replies to "? " + object + suffix, for each (suffix, reply).
    void Object(const char16_t* object, Replies replies);
    // The engine's local clock on the hour ("? LST(Time.*)") and its zone.
    void SetClock(int year, int month, int day, int hour, const std::u16string& zone);
    // The text of `object`, built afresh: the cache would keep an earlier one
    // when a test changes a reply between two calls.
    std::string Text(const char16_t* object, int title = 0);
    // Whether any command sent holds `part`.
    bool Asked(const CString& part) const;
};
