// The observer's place of the chart: kept in the settings store under
// "Location", with a few Japanese cities to choose from.
#pragma once

#include <vector>

#include "host/cstring.h"

namespace gui {

struct ObserverPlace {
    CString name = u"東京";
    double latitude_deg = 35.6895;    // geodetic, north positive
    double longitude_deg = 139.6917;  // east positive
    double height_m = 40.0;           // above sea level
    double timezone_h = 9.0;          // hours east of UT
};

// Latitude within [-90, 90], longitude within [-180, 360] (as the sky engine
// takes them), height within [-12000, 100000] m, zone within [-14, 14] h,
// every value finite.
bool IsValidPlace(const ObserverPlace& place);

// 東京, 大阪, 名古屋, 札幌, 仙台, 福岡, 那覇 (city halls, JST).
const std::vector<ObserverPlace>& JapaneseCities();

// The stored place; Tokyo when none is stored or the stored one is not
// valid (a hand-edited store never moves the observer off the Earth).
ObserverPlace ReadStoredPlace();
// Stores a valid place in one write; 0 when it is not valid or the store
// cannot be written (it is then unchanged).
int WriteStoredPlace(const ObserverPlace& place);

}  // namespace gui
