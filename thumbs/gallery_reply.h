// The gallery's search reply: a JSON object
//   {"status": 0, "limit": "20", "total": "45",
//    "item_list": [{"url": ..., "title": ..., "date": ..., "author": ...,
//                   "location": ..., "focal_length": ..., "exposure": ...,
//                   "comment": ..., "telescope": {"maker": ..., "name": ...},
//                   "image": {"large": {"url": ...}, "medium": {...},
//                             "small": {"url": ...}}}, ...]}
#pragma once

#include <picojson.h>

#include <string>
#include <vector>

#include "thumbs/image_item.h"

// The most items one page may hold, and the most posts the client pages
// through: the page table and the item array are sized from the reply, so
// a reply beyond these is refused rather than trusted.
inline constexpr int kMaxPageItems = 1000;
inline constexpr int kMaxTotal = 100000;

struct CGalleryPage {
    int limit = 0;  // page size
    int total = 0;  // posts about the object
    std::vector<CImageItem> items;
};

// Reads one reply into `page`, whose limit and total are those known before
// (a reply that gives neither as a decimal string keeps them).
// - Not an object, a "status" number other than 0 or string other than "0",
//   or no "item_list" array: the reply fails.
// - "limit" and "total" count only as strings holding a decimal integer.
// - A missing or non-string field of an item leaves that field empty; texts
//   of any length come through whole.
// - The reply fails when the page size ends up outside 1..kMaxPageItems, the
//   total outside 0..kMaxTotal, or the page holds more than kMaxPageItems.
// Returns an empty string on success, else why the reply failed (then
// `page` is unchanged).
std::string ConvertGalleryReply(const picojson::value& reply, CGalleryPage& page);
