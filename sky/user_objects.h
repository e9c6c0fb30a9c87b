// What the user lays on the sky besides the catalogues: camera frames (set
// by engine assignments), ADF systems and deep-sky images (read from
// folders).  One per engine.
#pragma once

#include <string>
#include <vector>

#include "sky/adf_systems.h"
#include "sky/camera_frames.h"
#include "sky/deepsky_images.h"

namespace sky {

struct UserObjects {
    CameraFrames frames;
    AdfSystems adf;
    DeepSkyImages images;
    bool filesLoaded = false;
    std::vector<std::string> problems;  // files refused while loading, one line each

    // Loads, once, the ADF systems and images that come with the data
    // (`dataDir`/adf, `dataDir`/images) and then those of the user's
    // folders, the registry values "SkyEngine"/"AdfFolder" and
    // "SkyEngine"/"ImageFolder".  `reserved` tells the class names that an
    // ADF system may not take.
    void LoadFiles(const std::string& dataDir, bool (*reserved)(const CString& name));
};

}  // namespace sky
