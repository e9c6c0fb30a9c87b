// The gallery's search reply: any bytes the service might send, parsed as
// JSON and read into a page.  A reply either fails and leaves the page as
// it was, or gives a page within the bounds the strip sizes its tables by.
#include <picojson.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/json.h"
#include "thumbs/gallery_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    picojson::value reply;
    std::string error;
    host::ParseJson(reply, bytes.begin(), bytes.end(), &error);
    CGalleryPage page;
    page.limit = 20;  // as known from an earlier page
    page.total = 45;
    if (!ConvertGalleryReply(reply, page).empty()) {
        if (page.limit != 20 || page.total != 45 || !page.items.empty()) std::abort();
        return 0;
    }
    if (page.limit < 1 || page.limit > kMaxPageItems || page.total < 0 || page.total > kMaxTotal ||
        page.items.size() > static_cast<size_t>(kMaxPageItems)) {
        std::abort();
    }
    return 0;
}
