// One image that a user posted to the gallery, as its search reply gives it.
#pragma once

#include "host/cstring.h"
#include "host/rect.h"

class CImageItem {
  public:
    CString url;  // the post's page
    CString title;
    CString date;
    CString author;
    CString location;  // where it was taken
    CString telescopeMaker;
    CString telescopeName;
    CString focalLength;
    CString exposure;
    CString comment;
    CString largeUrl;   // the full image
    CString smallUrl;   // the thumbnail
    CString thumbPath;  // local file of the downloaded thumbnail
    CRect rect;         // where the strip shows it; empty when not shown
};
