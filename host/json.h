// JSON read from outside the program (the settings store, the gallery's
// replies), through picojson.
#pragma once

#include <picojson.h>

#include <cmath>
#include <string>

namespace host {

namespace detail {

// picojson's own context, mended for text from outside: picojson throws
// (std::overflow_error) on a number beyond the range of double ("1e999"),
// and it bounds the nesting of arrays but not of objects, so that
// {"a":{"a":... a million deep overflows the stack.  Here the nesting of
// both is bounded, and such a number is noted in *beyondDouble (picojson
// ignores a context's refusal of a number).
class BoundedParseContext : public picojson::default_parse_context {
  public:
    BoundedParseContext(picojson::value* out, size_t depths, bool* beyondDouble)
        : default_parse_context(out, depths), m_beyondDouble(beyondDouble) {}
    bool set_number(double f) {
        if (!std::isfinite(f)) *m_beyondDouble = true;
        return !*m_beyondDouble && default_parse_context::set_number(f);
    }
    bool parse_object_start() {
        if (depths_ == 0) return false;
        --depths_;
        *out_ = picojson::value(picojson::object_type, false);
        return true;
    }
    template <typename Iter>
    bool parse_array_item(picojson::input<Iter>& in, size_t) {
        picojson::array& a = out_->get<picojson::array>();
        a.push_back(picojson::value());
        BoundedParseContext item(&a.back(), depths_, m_beyondDouble);
        return !*m_beyondDouble && picojson::_parse(item, in);
    }
    template <typename Iter>
    bool parse_object_item(picojson::input<Iter>& in, const std::string& key) {
        picojson::value& member = out_->get<picojson::object>()[key];
        BoundedParseContext item(&member, depths_, m_beyondDouble);
        return !*m_beyondDouble && picojson::_parse(item, in);
    }

  private:
    bool* m_beyondDouble;
};

}  // namespace detail

// picojson::parse for bytes from outside: never throws, nests at most
// picojson::DEFAULT_MAX_DEPTHS arrays and objects deep, and refuses a
// number beyond the range of double like any other text that is not JSON.
// On an error `out` may hold part of the value and *error says what went
// wrong.  Returns where the parse stopped.
template <typename Iterator>
Iterator ParseJson(picojson::value& out, Iterator first, Iterator last, std::string* error) {
    bool beyondDouble = false;
    detail::BoundedParseContext context(&out, picojson::DEFAULT_MAX_DEPTHS, &beyondDouble);
    const Iterator end = picojson::_parse(context, first, last, error);
    if (beyondDouble) *error = "a number beyond the range of double";
    return end;
}

}  // namespace host
