// Identifiers of the module's resources.
//
// The string table holds entries 21233 to 21318; each window, dialog and
// text builder names the entries it uses here, so that one id never serves
// two texts.
#pragma once

// ---- String table ------------------------------------------------------

// Camera-frame lines of the information text.
constexpr int IDS_CAMERA_IMAGING_AREA = 21255;  // focal length, imaging-sensor size
constexpr int IDS_CAMERA_GUIDER_AREA = 21256;   // guide-sensor size, gap between chips
