// An engine wrapper that reports every command and its reply as it passes.
#pragma once

#include <functional>

#include "engine/corlum.h"

class CTraceCorLum : public CCorLum {
  public:
    using Sink = std::function<void(const CString& command, const CString& reply)>;

    CTraceCorLum(CCorLum& inner, Sink sink) : m_inner(inner), m_sink(std::move(sink)) {}

    CString Doit(const CString& command) override {
        CString reply = m_inner.Doit(command);
        if (m_sink) m_sink(command, reply);
        return reply;
    }
    void UpdateDate(tagADATE* date) override { m_inner.UpdateDate(date); }
    double GetJd() override { return m_inner.GetJd(); }
    double GetTz() override { return m_inner.GetTz(); }
    double GetLatitude() override { return m_inner.GetLatitude(); }
    double GetLongitude() override { return m_inner.GetLongitude(); }
    double GetHeight() override { return m_inner.GetHeight(); }
    tagADATE GetDate() override { return m_inner.GetDate(); }
    int GetLocationObject() override { return m_inner.GetLocationObject(); }
    double GetMoonAge() override { return m_inner.GetMoonAge(); }

  private:
    CCorLum& m_inner;
    Sink m_sink;
};
