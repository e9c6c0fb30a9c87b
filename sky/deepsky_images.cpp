#include "sky/deepsky_images.h"

#include <sys/stat.h>

#include <cmath>
#include <optional>
#include <string_view>

#include "sky/adf_systems.h"
#include "sky/user_files.h"

namespace sky {

namespace {

constexpr std::string_view kSidecar = ".place";

std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == text.npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

bool ReadImagePlacement(const std::string& sidecarPath, DeepSkyImage* out, std::string* error) {
    std::string text;
    if (!ReadUserFile(sidecarPath, kMaxPlacementBytes, &text, error)) return false;
    std::optional<double> ra_h, dec, width, height, roll;
    int line_number = 0;
    auto fail = [&](const std::string& why) {
        *error = sidecarPath + ":" + std::to_string(line_number) + ": " + why;
        return false;
    };
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = Trim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++line_number;
        if (line.empty() || line[0] == '#') continue;
        const size_t equals = line.find('=');
        if (equals == line.npos) return fail("expected NAME = VALUE");
        const std::string name = Trim(std::string_view(line).substr(0, equals));
        double value = 0.0;
        if (!ParseSexagesimal(line.substr(equals + 1), &value)) return fail("not a number");
        std::optional<double>* slot = name == "ra"       ? &ra_h
                                      : name == "dec"    ? &dec
                                      : name == "width"  ? &width
                                      : name == "height" ? &height
                                      : name == "roll"   ? &roll
                                                         : nullptr;
        if (!slot) return fail("unknown name " + name);
        if (*slot) return fail(name + " given twice");
        *slot = value;
    }
    if (!ra_h || !dec || !width || !height) return fail("ra, dec, width and height are needed");
    if (*ra_h < 0.0 || *ra_h >= 24.0 || std::fabs(*dec) > 90.0) return fail("centre out of range");
    if (!(*width > 0.0 && *width <= 180.0 && *height > 0.0 && *height <= 180.0)) {
        return fail("width and height must lie in (0, 180] degrees");
    }
    out->ra_deg = *ra_h * 15.0;
    out->dec_deg = *dec;
    out->width_deg = *width;
    out->height_deg = *height;
    out->roll_deg = roll.value_or(0.0);
    return true;
}

std::vector<std::string> DeepSkyImages::LoadFolder(const std::string& dir) {
    std::vector<std::string> problems;
    for (const std::string& sidecar : FilesEndingIn(dir, std::string(kSidecar))) {
        if (m_images.size() >= kMaxImages) {
            problems.push_back(dir + ": more than 1000 images");
            break;
        }
        DeepSkyImage image;
        const std::string image_name = sidecar.substr(0, sidecar.size() - kSidecar.size());
        image.path = dir + "/" + image_name;
        image.file = CString::FromUtf8(image_name);
        std::string error;
        if (!IsRegularFile(image.path)) {
            problems.push_back(image.path + ": no such image beside its placement");
        } else if (!ReadImagePlacement(dir + "/" + sidecar, &image, &error)) {
            problems.push_back(error);
        } else {
            m_images.push_back(std::move(image));
        }
    }
    return problems;
}

const DeepSkyImage* DeepSkyImages::At(int n) const {
    return n >= 1 && static_cast<size_t>(n) <= m_images.size() ? &m_images[n - 1] : nullptr;
}

}  // namespace sky
