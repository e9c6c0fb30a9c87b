#include "sky/tle.h"

#include <erfa.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace tle {

namespace {

constexpr size_t kMaxFileBytes = 64u << 20;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Columns first..last (1-based, inclusive) of a line.
std::string_view Columns(std::string_view line, size_t first, size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, std::min(last, line.size()) - first + 1);
}

// A decimal number in a field; blanks around it and a leading '+' allowed.
bool Number(std::string_view field, double* out) {
    field = Trim(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    // from_chars reads no ".5"; give it the leading zero.
    std::string text(field);
    if (text.front() == '.') text.insert(0, "0");
    if (text.size() > 1 && text[0] == '-' && text[1] == '.') text.insert(1, "0");
    const auto r = std::from_chars(text.data(), text.data() + text.size(), *out);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(*out);
}

// A field with an implied leading decimal point and a power of ten:
// " 28098-4" is 0.28098e-4, "-13525-3" is -0.13525e-3.
bool Exponential(std::string_view field, double* out) {
    if (field.size() < 3) return false;
    const std::string_view mantissa = Trim(field.substr(0, field.size() - 2));
    const std::string_view power = field.substr(field.size() - 2);
    std::string text;
    size_t digits = 0;
    for (char c : mantissa) {
        if (c == '-' && text.empty()) {
            text = "-";
        } else if (c == '+' && text.empty()) {
            text = "+";
        } else if (c >= '0' && c <= '9') {
            ++digits;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    double m = 0.0, e = 0.0;
    const std::string_view unsignedDigits = Trim(mantissa.substr(text.size()));
    if (!Number("." + std::string(unsignedDigits), &m)) return false;
    if (!Number(power, &e)) return false;
    *out = (text == "-" ? -m : m) * std::pow(10.0, e);
    return true;
}

// The catalogue number: five digits, or a letter and four digits (Alpha-5:
// A = 10 ... Z = 33, I and O left out).
bool CatalogueNumber(std::string_view field, int* out) {
    field = Trim(field);
    if (field.empty() || field.size() > 5) return false;
    int value = 0;
    size_t k = 0;
    const char first = field[0];
    if (first >= 'A' && first <= 'Z' && first != 'I' && first != 'O') {
        value = first - 'A' + 10 - (first > 'I' ? 1 : 0) - (first > 'O' ? 1 : 0);
        k = 1;
    }
    for (; k < field.size(); ++k) {
        if (field[k] < '0' || field[k] > '9') return false;
        value = value * 10 + (field[k] - '0');
    }
    *out = value;
    return true;
}

// The Julian Day (UTC) of a two-digit year and a day of the year with its
// fraction (1.0 is January 1, 0h).
double EpochJd(int yy, double day) {
    const int year = yy < 57 ? 2000 + yy : 1900 + yy;
    double djm0 = 0.0, djm = 0.0;
    eraCal2jd(year, 1, 1, &djm0, &djm);
    return djm0 + djm + (day - 1.0);
}

bool Fail(std::string* error, const char* what) {
    if (error) *error = what;
    return false;
}

}  // namespace

bool ChecksumOk(std::string_view line) {
    if (line.size() < 69) return false;
    int sum = 0;
    for (size_t k = 0; k < 68; ++k) {
        if (line[k] >= '0' && line[k] <= '9') sum += line[k] - '0';
        if (line[k] == '-') sum += 1;
    }
    return line[68] == '0' + sum % 10;
}

bool Parse(std::string_view line1, std::string_view line2, ElementSet* out, std::string* error) {
    line1 = Trim(line1);
    line2 = Trim(line2);
    if (line1.size() < 64 || line1.substr(0, 2) != "1 ")
        return Fail(error, "line 1 is not a TLE line");
    if (line2.size() < 63 || line2.substr(0, 2) != "2 ")
        return Fail(error, "line 2 is not a TLE line");
    ElementSet set;
    int number2 = 0;
    if (!CatalogueNumber(Columns(line1, 3, 7), &set.number) ||
        !CatalogueNumber(Columns(line2, 3, 7), &number2) || set.number != number2) {
        return Fail(error, "the catalogue numbers are missing or differ");
    }
    double yy = 0.0, day = 0.0, bstar = 0.0;
    if (!Number(Columns(line1, 19, 20), &yy) || yy < 0.0 || yy > 99.0 || yy != std::floor(yy) ||
        !Number(Columns(line1, 21, 32), &day) || day < 1.0 || day >= 367.0) {
        return Fail(error, "bad epoch");
    }
    if (!Exponential(Columns(line1, 54, 61), &bstar)) return Fail(error, "bad drag term");
    sgp4::MeanElements& e = set.elements;
    e.epoch_jd_utc = EpochJd(static_cast<int>(yy), day);
    e.bstar = bstar;
    double ecc = 0.0;
    if (!Number(Columns(line2, 9, 16), &e.inclination_deg) ||
        !Number(Columns(line2, 18, 25), &e.raan_deg) ||
        !Number("." + std::string(Trim(Columns(line2, 27, 33))), &ecc) ||
        !Number(Columns(line2, 35, 42), &e.arg_perigee_deg) ||
        !Number(Columns(line2, 44, 51), &e.mean_anomaly_deg) ||
        !Number(Columns(line2, 53, 63), &e.mean_motion_rev_day)) {
        return Fail(error, "bad element on line 2");
    }
    e.eccentricity = ecc;
    if (e.inclination_deg < 0.0 || e.inclination_deg > 180.0 || e.mean_motion_rev_day <= 0.0) {
        return Fail(error, "element out of range on line 2");
    }
    set.line1 = std::string(line1.substr(0, std::min<size_t>(line1.size(), 69)));
    set.line2 = std::string(line2.substr(0, std::min<size_t>(line2.size(), 69)));
    *out = std::move(set);
    return true;
}

std::vector<ElementSet> ParseText(std::string_view text, int* skipped) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(Trim(text.substr(0, end)));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    std::vector<ElementSet> out;
    std::map<int, size_t> byNumber;
    int bad = 0;
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
        if (!lines[k].starts_with("1 ")) continue;
        if (!lines[k + 1].starts_with("2 ")) {
            ++bad;
            continue;
        }
        ElementSet set;
        if (!ChecksumOk(lines[k]) || !ChecksumOk(lines[k + 1]) ||
            !Parse(lines[k], lines[k + 1], &set, nullptr)) {
            ++bad;
            ++k;
            continue;
        }
        if (k > 0 && !lines[k - 1].starts_with("2 ") && !lines[k - 1].starts_with("1 ")) {
            std::string_view name = lines[k - 1];
            if (name.starts_with("0 ")) name.remove_prefix(2);
            set.name = std::string(Trim(name));
        }
        const auto known = byNumber.find(set.number);
        if (known != byNumber.end()) {
            out[known->second] = std::move(set);
        } else {
            byNumber[set.number] = out.size();
            out.push_back(std::move(set));
        }
        ++k;
    }
    if (skipped) *skipped = bad;
    return out;
}

bool LoadFile(const std::string& path, std::vector<ElementSet>* out, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = path + ": cannot be read";
        return false;
    }
    std::string text;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(file.gcount()));
        if (text.size() > kMaxFileBytes) {
            *error = path + ": larger than 64 MiB";
            return false;
        }
    }
    if (file.bad()) {
        *error = path + ": cannot be read";
        return false;
    }
    std::vector<ElementSet> sets = ParseText(text);
    if (sets.empty()) {
        *error = path + ": holds no valid two-line element set";
        return false;
    }
    *out = std::move(sets);
    return true;
}

}  // namespace tle
