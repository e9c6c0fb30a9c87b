// Framing aids the user lays on the sky chart: field-of-view circles, the
// rectangular field of a camera behind a lens or telescope, and one mosaic
// of such fields.  The engine serves them as FieldOfViewCircle.<n>,
// AngleOfView.<n>, MosaicOfField (the mosaic) and MosaicOfField.<k> (its
// k-th frame), and the host sets their values by assignments such as
// "AngleOfView.1.FocalLength = 200".
//
// Units: lengths in millimetres, angles in degrees, centres as ICRS (J2000)
// right ascension and declination in degrees.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "host/cstring.h"

namespace sky {

// A camera whose sensor size the user can pick by name.
struct CameraModel {
    const char16_t* name;
    double width_mm;
    double height_mm;
};
// The cameras known by name (data/README.md gives their sources).
const std::vector<CameraModel>& CameraModels();

struct CameraFrame {
    CString name;
    CString camera = u"None";         // a CameraModels() name, or "None": sizes typed in
    double angle_deg = 0.0;           // full angle of a field-of-view circle
    double focal_mm = 0.0;            // focal length
    double width_mm = 0.0;            // imaging-sensor width
    double height_mm = 0.0;           // imaging-sensor height
    double guider_width_mm = 0.0;     // guide-sensor width, 0 = no guide sensor
    double guider_height_mm = 0.0;    // guide-sensor height
    double guider_distance_mm = 0.0;  // gap between the imaging and the guide sensor
    double roll_deg = 0.0;            // position angle of the frame's top, from north through east
    int rows = 1;                     // mosaic rows (north to south at roll 0)
    int columns = 1;                  // mosaic columns (east to west at roll 0)
    CString coordinate = u"Equatorial";  // what the mosaic grid is aligned to
    double overlap = 0.0;                // overlap of neighbouring mosaic frames, fraction [0, 1)
    double ra_deg = 0.0;                 // centre, ICRS right ascension [0, 360)
    double dec_deg = 0.0;                // centre, ICRS declination
};

class CameraFrames {
  public:
    enum class Family { Circle, Field, Mosaic };
    static constexpr int kMaxNumber = 32;      // circles and fields are numbered 1..32
    static constexpr int kMaxMosaicSide = 20;  // rows and columns of the mosaic

    // Starts with the default set (README.md, "Camera frames").
    CameraFrames();

    // A circle or field by number, or the mosaic (number ignored).
    const CameraFrame* Find(Family family, int number) const;

    // Sets one value of a frame: `lowerSuffix` as the engine's paths name it
    // (".focallength", ".camera", ".guider.distance", ".center.ra", ...).  A
    // circle or field that does not exist yet is made, named after its
    // identifier.  False, changing nothing, for a suffix that the family
    // does not have or a value out of range (see the .cpp).
    bool Set(Family family, int number, const CString& lowerSuffix, const CString& value);

  private:
    std::map<int, CameraFrame> m_circles;
    std::map<int, CameraFrame> m_fields;
    CameraFrame m_mosaic;
};

// The ICRS centre (degrees) of frame `number` (1 .. rows x columns, row by
// row from the top left) of a mosaic, or nothing for a number outside it.
// The frames are laid on the gnomonic plane that touches the sky at the
// mosaic's centre, which is what a camera's sensor sees: neighbouring
// centres lie (1 - overlap) x sensor side / focal length apart on that
// plane, so that without overlap two frames touch.  Column 1 is the
// eastern (left) one and row 1 the northern one at roll 0; the grid turns
// with the roll, measured from the direction `up_pa_deg` (the position
// angle, from north through east, of what the grid calls up: 0 for a grid
// aligned to the equator, the parallactic angle for one aligned to the
// horizon).  A focal length of 0 puts every frame on the centre.
std::optional<std::pair<double, double>> MosaicFrameCentre(const CameraFrame& mosaic, int number,
                                                           double up_pa_deg = 0.0);

// Whether the mosaic's grid follows the horizon (its .Coordinate begins
// with "Horizon", case ignored) rather than the equator.
bool AlignedToHorizon(const CameraFrame& mosaic);

}  // namespace sky
