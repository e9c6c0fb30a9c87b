// Numbers in the module's texts and in engine replies always use the C
// conventions (a decimal point, no grouping), whatever locale the host
// process runs in.  A windowing toolkit sets the process locale from the
// environment, which under a decimal-comma locale would turn "1.5" into
// "1,5" in printf and stop strtod at the ".".
#pragma once

#include <locale.h>

#include <clocale>

namespace host {

// Switches the calling thread to the C locale for the object's lifetime.
class ScopedCLocale {
  public:
    ScopedCLocale() : m_previous(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(m_previous); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

  private:
    static locale_t CLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    locale_t m_previous;
};

}  // namespace host
