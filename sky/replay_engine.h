// An engine that answers from a transcript instead of computing.
//
// Transcript format (UTF-8 text of at most kMaxTranscriptBytes):
//   - no line holds NUL (texts never do; raw output separates them by it);
//   - lines starting with "#" and empty lines are ignored;
//   - every other line is COMMAND <TAB> REPLY;
//   - in REPLY, \t \n \r \\ stand for tab, line feed, carriage return and
//     backslash; any other backslash sequence is an error;
//   - a CR before the line end is dropped, so files edited on Windows load;
//   - commands match without regard to ASCII case, as the engine's paths do;
//     a later line for the same command replaces the earlier one;
//   - a command not in the transcript gets the empty reply (property absent).
//
// Every command received through Doit is recorded in order.  The getters of
// CCorLum read the same table without being recorded.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/corlum.h"

class CReplayEngine : public CCorLum {
  public:
    // The largest transcript read: a transcript of every property of
    // thousands of objects stays far below; a bigger or endless file (a
    // device, a pipe) is refused instead of filling the memory.
    static constexpr size_t kMaxTranscriptBytes = size_t{64} << 20;

    // Reads a transcript file; on failure returns false with a one-line
    // reason ("FILE:LINE: ...", "FILE: cannot read the replies file: WHY",
    // "FILE: larger than 64 MiB, not a replies file") in *error and leaves
    // the table unchanged.
    bool LoadFile(const std::string& path, std::string* error);
    bool LoadText(std::string_view utf8, std::string* error, const std::string& origin = "text");

    void SetReply(const CString& command, const CString& reply);
    void RemoveReply(const CString& command);

    const std::vector<CString>& Commands() const { return m_commands; }
    void ClearCommands() { m_commands.clear(); }
    // Long runs (benchmarks) switch the record off.
    void SetRecording(bool on) { m_recording = on; }

    CString Doit(const CString& command) override;
    tagADATE GetDate() override;

  protected:
    CString Ask(const CString& query) override { return Lookup(query); }

  private:
    CString Lookup(const CString& command) const;
    static CString Key(const CString& command);

    std::map<CString, CString> m_replies;
    std::vector<CString> m_commands;
    bool m_recording = true;
};
