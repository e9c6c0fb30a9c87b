#include "sky/adf_systems.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "sky/user_files.h"

namespace sky {

namespace {

std::optional<double> Decimal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// One CSV line into fields; false for an unterminated quote or text after a
// closing quote.
bool SplitCsv(std::string_view line, std::vector<std::string>* fields) {
    fields->clear();
    size_t i = 0;
    for (;;) {
        std::string field;
        while (i < line.size() && line[i] == ' ') ++i;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] != '"') {
                    field += line[i];
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    break;
                }
            }
            ++i;
            while (i < line.size() && (line[i] == ' ' || line[i] == '\r')) ++i;
            if (i < line.size() && line[i] != ',') return false;
        } else {
            const size_t comma = line.find(',', i);
            field =
                std::string(Trimmed(line.substr(i, comma == line.npos ? line.npos : comma - i)));
            i = comma == line.npos ? line.size() : comma;
        }
        fields->push_back(std::move(field));
        if (i >= line.size()) return true;
        ++i;  // the comma
    }
}

bool IsKeyCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c == u'_' || c == u'-' || c == u'+';
}

bool IsKey(const CString& text, bool allowPlus) {
    if (text.IsEmpty() || text.GetLength() > 64) return false;
    for (char16_t c : text.view()) {
        if (!IsKeyCharacter(c) || (!allowPlus && c == u'+')) return false;
    }
    return true;
}

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Stem(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == path.npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == 0 || dot == name.npos ? name : name.substr(0, dot);
}

// A directive "#Name: value" of the file's head.
bool Directive(std::string_view line, std::string_view name, CString* value) {
    line.remove_prefix(1);
    line = Trimmed(line);
    if (line.size() <= name.size() || Lowered(std::string(line.substr(0, name.size()))) != name ||
        line[name.size()] != ':') {
        return false;
    }
    *value = CString::FromUtf8(Trimmed(line.substr(name.size() + 1)));
    return true;
}

struct Columns {
    int label = -1, name = -1, title = -1, ra = -1, dec = -1;
};

bool BindColumns(const std::vector<std::string>& names, Columns* c, std::string* missing) {
    for (size_t k = 0; k < names.size(); ++k) {
        const std::string n = Lowered(names[k]);
        int* slot = n == "label"   ? &c->label
                    : n == "name"  ? &c->name
                    : n == "title" ? &c->title
                    : n == "ra"    ? &c->ra
                    : n == "dec"   ? &c->dec
                                   : nullptr;
        if (slot) *slot = static_cast<int>(k);
    }
    for (const auto& [index, name] :
         {std::pair{c->label, "Label"}, {c->name, "Name"}, {c->ra, "RA"}, {c->dec, "Dec"}}) {
        if (index < 0) {
            *missing = name;
            return false;
        }
    }
    return true;
}

bool ReadRow(const std::vector<std::string>& f, const Columns& c, AdfObject* o,
             std::string* problem) {
    bool valid = true;
    o->label = CString::FromUtf8(f[c.label], &valid);
    if (!valid || !IsKey(o->label, true)) {
        *problem = "the Label must be 1 to 64 letters, digits or _+-";
        return false;
    }
    o->name = CString::FromUtf8(f[c.name], &valid);
    if (valid && c.title >= 0) o->title = CString::FromUtf8(f[c.title], &valid);
    if (!valid) {
        *problem = "not UTF-8";
        return false;
    }
    if (o->name.IsEmpty()) o->name = o->label;
    double ra_h = 0.0, dec = 0.0;
    if (!ParseSexagesimal(f[c.ra], &ra_h) || ra_h < 0.0 || ra_h >= 24.0) {
        *problem = "RA must be hours in [0, 24)";
        return false;
    }
    if (!ParseSexagesimal(f[c.dec], &dec) || std::fabs(dec) > 90.0) {
        *problem = "Dec must be degrees in [-90, 90]";
        return false;
    }
    o->ra_deg = ra_h * 15.0;
    o->dec_deg = dec;
    return true;
}

}  // namespace

bool ParseSexagesimal(const std::string& text, double* value) {
    std::string_view t = Trimmed(text);
    if (t.find(':') == t.npos) {
        if (!t.empty() && t.front() == '+') t.remove_prefix(1);
        const auto v = Decimal(t);
        if (v) *value = *v;
        return v.has_value();
    }
    const bool negative = !t.empty() && t.front() == '-';
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
    double parts[3] = {0.0, 0.0, 0.0};
    int count = 0;
    for (; count < 3; ++count) {
        const size_t colon = t.find(':');
        const auto v = Decimal(t.substr(0, colon));
        if (!v || *v < 0.0) return false;
        parts[count] = *v;
        if (colon == t.npos) break;
        t.remove_prefix(colon + 1);
    }
    if (count == 3 || parts[1] >= 60.0 || parts[2] >= 60.0) return false;  // too many fields
    const double magnitude = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    *value = negative ? -magnitude : magnitude;
    return true;
}

const AdfObject* AdfSystem::Find(const CString& part) const {
    // "No<k>": the k-th object, counted from 1.
    if (part.GetLength() > 2 && part.Left(2).CompareNoCase(u"No") == 0) {
        const std::string digits = part.Mid(2).ToUtf8();
        size_t k = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), k);
        if (ec == std::errc() && end == digits.data() + digits.size()) {
            return k >= 1 && k <= objects.size() ? &objects[k - 1] : nullptr;
        }
    }
    for (const AdfObject& o : objects) {
        if (o.label.CompareNoCase(part) == 0) return &o;
    }
    return nullptr;
}

bool ReadAdfFile(const std::string& path, AdfSystem* out, std::string* error) {
    std::string text;
    if (!ReadUserFile(path, kMaxAdfFileBytes, &text, error)) return false;
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    AdfSystem system;
    system.file = path;
    system.objectName = CString::FromUtf8(Stem(path));
    Columns columns;
    bool header = false;
    std::vector<std::string> fields;
    int line_number = 0;
    auto fail = [&](const std::string& why) {
        *error = path + ":" + std::to_string(line_number) + ": " + why;
        return false;
    };
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = Trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++line_number;
        if (line.empty()) continue;
        if (line.front() == '#') {
            if (!header) {
                Directive(line, "objectname", &system.objectName);
                Directive(line, "title", &system.title);
            }
            continue;
        }
        if (!SplitCsv(line, &fields)) return fail("unbalanced double quotes");
        if (!header) {
            std::string missing;
            if (!BindColumns(fields, &columns, &missing)) return fail("no column " + missing);
            header = true;
            continue;
        }
        const size_t needed = static_cast<size_t>(
            std::max({columns.label, columns.name, columns.title, columns.ra, columns.dec}));
        if (fields.size() <= needed) return fail("too few fields");
        if (system.objects.size() >= kMaxAdfObjects) return fail("more than 100000 objects");
        AdfObject o;
        std::string problem;
        if (!ReadRow(fields, columns, &o, &problem)) return fail(problem);
        system.objects.push_back(std::move(o));
    }
    if (!header) return fail("no column line (Label,Name,RA,Dec)");
    // Adf.<name>.No<k> is cut at its first ".No": a name may not begin so.
    if (!IsKey(system.objectName, false) || system.objectName.Left(2).CompareNoCase(u"No") == 0) {
        return fail(
            "the system's name must be 1 to 64 letters, digits, _ or -, not beginning "
            "with No");
    }
    *out = std::move(system);
    return true;
}

bool AdfSystems::Load(int slot, const std::string& path, bool (*reserved)(const CString&),
                      std::string* error) {
    if (slot < 1 || slot > kSlots) {
        *error = path + ": no ADF slot " + std::to_string(slot);
        return false;
    }
    auto system = std::make_unique<AdfSystem>();
    if (!ReadAdfFile(path, system.get(), error)) return false;
    const AdfSystem* same = ByName(system->objectName);
    if ((same && same != m_slots[slot - 1].get()) || (reserved && reserved(system->objectName))) {
        *error = path + ": the name " + system->objectName.ToUtf8() + " is taken";
        return false;
    }
    m_slots[slot - 1] = std::move(system);
    return true;
}

void AdfSystems::Unload(int slot) {
    if (slot >= 1 && slot <= kSlots) m_slots[slot - 1].reset();
}

std::vector<std::string> AdfSystems::LoadFolder(const std::string& dir,
                                                bool (*reserved)(const CString&)) {
    std::vector<std::string> problems;
    for (const std::string& name : FilesEndingIn(dir, ".csv")) {
        int slot = 1;
        while (slot <= kSlots && m_slots[slot - 1]) ++slot;
        if (slot > kSlots) {
            problems.push_back(dir + ": more than 40 ADF systems");
            break;
        }
        std::string error;
        if (!Load(slot, dir + "/" + name, reserved, &error)) problems.push_back(error);
    }
    return problems;
}

const AdfSystem* AdfSystems::Slot(int n) const {
    return n >= 1 && n <= kSlots ? m_slots[n - 1].get() : nullptr;
}

const AdfSystem* AdfSystems::ByName(const CString& objectName) const {
    for (const auto& s : m_slots) {
        if (s && s->objectName.CompareNoCase(objectName) == 0) return s.get();
    }
    return nullptr;
}

}  // namespace sky
