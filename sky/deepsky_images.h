// Deep-sky images laid on the sky chart: image files in a folder, each
// placed by a sidecar file of its own, "<image file>.place" (data/README.md,
// "Deep-sky images"):
//   # comment
//   ra = 5.5881       centre, ICRS (J2000) right ascension, hours (or h:m:s)
//   dec = -5.391      centre, declination, degrees (or d:m:s)
//   width = 1.2       angle of view across the image, degrees (0, 180]
//   height = 0.8      angle of view along it, degrees (0, 180]
//   roll = 12.5       position angle of the image's top, degrees from north
//                     through east (optional, 0)
// The engine serves them as DeepSkyImage.<n>, numbered from 1 in the order
// of the folders and, within one, of the file names.
#pragma once

#include <string>
#include <vector>

#include "host/cstring.h"

namespace sky {

struct DeepSkyImage {
    CString file;             // the image's file name, without its folder
    std::string path;         // the image's full path
    double ra_deg = 0.0;      // centre, ICRS right ascension [0, 360)
    double dec_deg = 0.0;     // centre, ICRS declination
    double width_deg = 0.0;   // angle of view across
    double height_deg = 0.0;  // angle of view along
    double roll_deg = 0.0;    // position angle of the top, from north through east
};

constexpr size_t kMaxPlacementBytes = 4096;

// Reads one sidecar; false with a one-line reason ("PATH:LINE: ...").
bool ReadImagePlacement(const std::string& sidecarPath, DeepSkyImage* out, std::string* error);

class DeepSkyImages {
  public:
    static constexpr size_t kMaxImages = 1000;
    // Adds the images of `dir` that have a valid sidecar and exist; returns
    // the reasons of those refused.
    std::vector<std::string> LoadFolder(const std::string& dir);
    const DeepSkyImage* At(int n) const;  // 1-based
    size_t Count() const { return m_images.size(); }

  private:
    std::vector<DeepSkyImage> m_images;
};

}  // namespace sky
