#include "host/printable.h"

#include <cstdio>

#include "host/cstring.h"

namespace host {
namespace {

// Characters that break or hide the line a message is printed on.
bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

void AppendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
    }
}

}  // namespace

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

std::string Printable(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8SequenceLength(static_cast<unsigned char>(bytes[i]));
        bool valid = false;
        const std::string_view sequence = bytes.substr(i, n == 0 ? 1 : n);
        const CString character = CString::FromUtf8(sequence, &valid);
        if (n == 0 || sequence.size() != n || !valid || IsControl(character[0])) {
            AppendEscaped(out, static_cast<unsigned char>(bytes[i]));
            ++i;
            continue;
        }
        out += sequence;
        i += n;
    }
    return out;
}

std::string Quoted(std::string_view bytes) {
    return "'" + Printable(bytes) + "'";
}

}  // namespace host
