// The gallery client, its downloader and `vexclk gallery` against servers on
// 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>

#include "host/network.h"
#include "tests/loopback.h"
#include "tests/test_support.h"
#include "thumbs/gallery_client.h"

namespace fs = std::filesystem;
using Event = CGalleryClient::Event;

namespace {

// A pipeline that hangs fails its test instead of hanging the suite.
constexpr int kPumpLimitMs = 20000;

// A reply: `head` (the members before item_list), then `count` items
// numbered from `first`, whose thumbnails lie at THUMBS/N.png.
std::string Reply(const std::string& head, int count, int first = 0) {
    std::string items;
    for (int i = first; i < first + count; ++i) {
        items += (i > first ? ",{" : "{") + std::string("\"title\":\"item ") + std::to_string(i) +
                 "\",\"image\":{\"small\":{\"url\":\"THUMBS/" + std::to_string(i) + ".png\"}}}";
    }
    return "{" + head + (head.empty() ? "" : ",") + "\"item_list\":[" + items + "]}";
}

// `reply` with THUMBS made the /t folder of the server that `request` came to.
std::string WithThumbs(std::string reply, const httplib::Request& request) {
    for (size_t at; (at = reply.find("THUMBS")) != std::string::npos;) {
        reply.replace(at, 6, "http://" + request.get_header_value("Host") + "/t");
    }
    return reply;
}

// Serves /search?o=KEY&offset=N from `reply(key, offset)` and /t/N.png as
// "PNG N", after `gate(N)`.
void GalleryRoutes(httplib::Server& s, std::function<std::string(std::string, int)> reply,
                   std::function<void(int)> gate = {}) {
    s.Get("/search", [reply](const httplib::Request& q, httplib::Response& r) {
        const int offset = std::stoi(q.get_param_value("offset"));
        r.set_content(WithThumbs(reply(q.get_param_value("o"), offset), q), "application/json");
    });
    s.Get(R"(/t/(\d+)\.png)", [gate](const httplib::Request& q, httplib::Response& r) {
        if (gate) gate(std::stoi(q.matches[1]));
        r.set_content("PNG " + std::string(q.matches[1]), "image/png");
    });
}

// One client with its window's message queue.
struct Gallery {
    CMessageQueue queue;
    CGalleryClient client{queue};
    Event Fetch(const std::string& base, const std::string& key = "M31", int offset = 0,
                const std::function<void(Event)>& onEvent = {}) {
        client.SetBaseUrl(CString::FromUtf8(base));
        client.SetSearchKey(CString::FromUtf8(key));
        client.SetOffset(offset);
        EXPECT_TRUE(client.RequestPage(offset == 0));
        return PumpGalleryMessages(queue, client, kPumpLimitMs, onEvent);
    }
};

// Holds a server's handler back until released, and tells when one waits.
struct Gate {
    std::once_flag once;
    std::promise<void> reached, released;
    std::shared_future<void> release = released.get_future().share();
    void Wait() {
        std::call_once(once, [this] { reached.set_value(); });
        release.wait_for(std::chrono::seconds(30));
    }
};

}  // namespace

TEST(Gallery, TheReplyDecidesLimitTotalAndItems) {
    const struct {
        std::string key, reply;
        int limit, total, items, pages;  // after the pipeline; limit 0: it failed
    } rows[] = {
        {"number0", Reply(R"("status":0,"limit":"20","total":"45")", 20), 20, 45, 20, 3},
        {"string0", Reply(R"("status":"0","limit":"20","total":"40")", 20), 20, 40, 20, 2},
        {"absent", Reply(R"("limit":"20","total":"0")", 0), 20, 0, 0, 0},
        {"otherKind", Reply(R"("status":true,"limit":"5","total":"3")", 3), 5, 3, 3, 1},
        {"number1", Reply(R"("status":1,"limit":"20","total":"45")", 20), 0, 0, 0, 0},
        {"string1", Reply(R"("status":"1","limit":"20","total":"45")", 20), 0, 0, 0, 0},
        {"numbers", Reply(R"("limit":20,"total":45)", 20), 0, 0, 0, 0},
        {"notDecimal", Reply(R"("limit":"20 ","total":"45")", 20), 0, 0, 0, 0},
        {"limit0", Reply(R"("limit":"0","total":"45")", 0), 0, 0, 0, 0},
        {"negative", Reply(R"("limit":"20","total":"-1")", 0), 0, 0, 0, 0},
        {"hugeTotal", Reply(R"("limit":"20","total":"100001")", 20), 0, 0, 0, 0},
        {"tooMany", Reply(R"("limit":"1000","total":"2000")", 1001), 0, 0, 0, 0},
        {"noList", R"({"status":0,"limit":"20","total":"45"})", 0, 0, 0, 0},
        {"listObject", R"({"limit":"20","total":"45","item_list":{}})", 0, 0, 0, 0},
        {"array", R"([{"limit":"20"}])", 0, 0, 0, 0},
        {"notJson", R"({"limit":"20","total":"45","item_list":[)", 0, 0, 0, 0},
    };
    std::map<std::string, std::string> replies;
    for (const auto& row : rows) replies[row.key] = row.reply;
    LoopbackServer server([&](httplib::Server& s) {
        GalleryRoutes(s, [replies](std::string key, int) { return replies.at(key); });
    });
    for (const auto& row : rows) {
        Gallery g;
        const Event end = g.Fetch(server.Url("/search"), row.key);
        EXPECT_EQ(end, row.limit ? Event::FirstPageComplete : Event::Failed) << row.key;
        EXPECT_EQ(g.client.GetFailure().empty(), row.limit != 0) << row.key;
        EXPECT_EQ(g.client.GetLimit(), row.limit) << row.key;
        EXPECT_EQ(g.client.GetTotal(), row.total) << row.key;
        EXPECT_EQ(g.client.Items().GetSize(), row.items) << row.key;
        EXPECT_EQ(g.client.Pages().GetSize(), row.pages) << row.key;
        if (row.items) {
            const int last = row.items - 1;
            EXPECT_EQ(Slurp(U8(g.client.Items()[last].thumbPath)), "PNG " + std::to_string(last));
        }
    }
}

TEST(Gallery, FailedRequestsEndThePipelineWithTheReason) {
    // `bytes` blanks in a reply that announces `announced` (chunked when 0);
    // the connection ends after them.
    auto blanks = [](size_t announced, size_t bytes) {
        return [=](const httplib::Request&, httplib::Response& r) {
            auto write = [bytes](size_t at, httplib::DataSink& sink) {
                const std::string block(std::min<size_t>(1 << 20, bytes - std::min(at, bytes)),
                                        ' ');
                return at < bytes && sink.write(block.data(), block.size());
            };
            if (!announced) return r.set_chunked_content_provider("text/plain", write);
            r.set_content_provider(
                announced, "text/plain",
                [write](size_t at, size_t, httplib::DataSink& s) { return write(at, s); });
        };
    };
    const size_t tooLong = CGalleryClient::kMaxReplyBytes + 1;
    LoopbackServer server([&](httplib::Server& s) {
        s.Get(R"(/(\d+))", [](const httplib::Request& q, httplib::Response& r) {
            r.status = std::stoi(q.matches[1]);
            r.set_content(Reply("", 1), "application/json");
        });
        s.Get("/cut", blanks(100, 9));
        s.Get("/cutChunked", blanks(0, 9));
        s.Get("/huge", blanks(tooLong, tooLong));
        s.Get("/hugeChunked", blanks(0, tooLong));
    });
    const std::string refused = [] { return SilentListener().Url("/search"); }();  // closed now
    const struct {
        std::string base, reason;
    } rows[] = {
        {server.Url("/404"), "the server answered status 404"},
        {server.Url("/500"), "the server answered status 500"},
        {server.Url("/cut"), "the reply was cut short"},
        {server.Url("/cutChunked"), "the reply was cut short"},
        {server.Url("/huge"), "the reply is longer than 16777216 bytes"},
        {server.Url("/hugeChunked"), "the reply is longer than 16777216 bytes"},
        {refused, "cannot reach the server"},
        {"ftp://127.0.0.1/search", "only http:// and https:// addresses are served"},
        {"", "no gallery address is configured"},
    };
    for (const auto& row : rows) {
        Gallery g;
        EXPECT_EQ(g.Fetch(row.base), Event::Failed) << row.base;
        EXPECT_EQ(g.client.GetFailure().rfind(row.reason, 0), 0u) << g.client.GetFailure();
        EXPECT_TRUE(g.client.Items().IsEmpty());
    }
}

TEST(Gallery, EachTimeOutEndsTheRequestInItsPhase) {
    // The send time-out cannot be provoked here: the kernel takes a whole
    // request (libcurl sends at most 1 MB) into a loopback socket's buffer.
    SilentListener unanswered, full(true);
    for (const bool connecting : {true, false}) {
        Gallery g;
        g.client.SetTimeouts(connecting ? host::HttpTimeouts{300, 5000, 5000}
                                        : host::HttpTimeouts{5000, 5000, 300});
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(g.Fetch((connecting ? full : unanswered).Url("/search")), Event::Failed);
        // Not at once: libcurl's clock may round a millisecond or two down.
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
        EXPECT_EQ(g.client.GetFailure(), connecting
                                             ? "no connection within the connect time-out (300 ms)"
                                             : "no reply within the receive time-out (300 ms)");
    }
}

TEST(Gallery, ASecondPageLandsAtItsOffset) {
    LoopbackServer server([](httplib::Server& s) {
        GalleryRoutes(s, [](std::string, int offset) {
            return Reply(R"("limit":"20","total":"45")", std::min(20, 45 - offset), offset);
        });
    });
    Gallery g;
    ASSERT_EQ(g.Fetch(server.Url("/search")), Event::FirstPageComplete);
    ASSERT_EQ(g.Fetch(server.Url("/search"), "M31", 20), Event::PageComplete);
    ASSERT_EQ(g.client.Items().GetSize(), 40);
    for (int i : {0, 19, 20, 39}) {
        EXPECT_EQ(U8(g.client.Items()[i].title), "item " + std::to_string(i));
        EXPECT_EQ(Slurp(U8(g.client.Items()[i].thumbPath)), "PNG " + std::to_string(i));
    }
    EXPECT_EQ(std::vector<int>(g.client.Pages().begin(), g.client.Pages().end()),
              (std::vector<int>{1, 1, 0}));
}

TEST(Gallery, CancelAndDestructionStopTheDownloads) {
    Gate gate;  // holds thumbnail 1 back
    LoopbackServer server([&](httplib::Server& s) {
        GalleryRoutes(
            s, [](std::string, int) { return Reply(R"("limit":"20","total":"5")", 5); },
            [&gate](int n) { n == 1 ? gate.Wait() : void(); });
    });
    const int threads = ThreadCount();
    Gallery g;
    int repaints = 0;
    const Event end = g.Fetch(server.Url("/search"), "M31", 0, [&](Event e) {
        if (e == Event::Repaint && ++repaints == 1) {
            gate.reached.get_future().wait();  // thumbnail 1 is on its way
            g.client.Cancel();
        }
    });
    EXPECT_EQ(end, Event::Cancelled);
    EXPECT_EQ(repaints, 2);  // thumbnail 0, and 1 stopped on its way: 2 to 4 never asked for
    // Nothing else in the folder: no partial file either.
    EXPECT_EQ(Names(g.client.GetThumbFolder()), std::set<std::string>{"0.png"});

    std::string folder;
    {
        Gallery destroyed;
        destroyed.client.SetTimeouts({60000, 60000, 60000});
        destroyed.client.SetBaseUrl(CString::FromUtf8(server.Url("/search")));
        ASSERT_TRUE(destroyed.client.RequestPage(1));
        tagMSG msg;  // thumbnail 0 comes, 1 is held back
        while (destroyed.queue.GetMessage(msg, kPumpLimitMs) &&
               destroyed.client.OnMessage(msg.message) != Event::Repaint) {
        }
        folder = destroyed.client.GetThumbFolder();
        ASSERT_TRUE(fs::exists(folder));
    }
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_FALSE(fs::exists(folder));

    gate.released.set_value();
    EXPECT_EQ(g.Fetch(server.Url("/search")), Event::FirstPageComplete);  // the flag is spent
}

TEST(Gallery, ThumbnailNamesStayInTheFolderAndApart) {
    std::string items;
    for (const std::string name :
         {"../../etc/passwd", "..", ".hidden", "a%2F..%2Fb.png", "x.png?f=/../../y", "", "a.png",
          "a.png", "a-2.png", "..\\..\\w.png", "名前.png"}) {
        items += (items.empty() ? "" : ",") + std::string(R"({"image":{"small":{"url":)") +
                 picojson::value("THUMBS/" + name).serialize() + "}}}";
    }
    const std::string reply = R"({"limit":"20","total":"11","item_list":[)" + items + "]}";
    LoopbackServer server([&](httplib::Server& s) {
        GalleryRoutes(s, [reply](std::string, int) { return reply; });
        s.Get(".*", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("X", "image/png");
        });
    });
    Gallery g;
    ASSERT_EQ(g.Fetch(server.Url("/search")), Event::FirstPageComplete);
    std::set<std::string> seen;
    for (const CImageItem& item : g.client.Items()) {
        const fs::path path(U8(item.thumbPath));
        const std::string file = path.filename();
        EXPECT_EQ(path.parent_path(), g.client.GetThumbFolder());
        EXPECT_TRUE(file.find("..") == std::string::npos && file[0] != '.') << file;
        EXPECT_TRUE(seen.insert(file).second) << file;
        EXPECT_EQ(Slurp(path), "X") << file;
    }
    EXPECT_EQ(Names(g.client.GetThumbFolder()), seen);
}

TEST(Gallery, TheProxyOfTheEnvironmentCarriesTheRequests) {
    LoopbackServer proxy([](httplib::Server& s) {
        s.Get(R"(http://gallery\.invalid/(.*))", [](const httplib::Request& q,
                                                    httplib::Response& r) {
            std::string reply = Reply(R"("limit":"20","total":"1")", 1);
            reply.replace(reply.find("THUMBS"), 6, "http://gallery.invalid/t");
            r.set_content(q.matches[1] == "search" ? reply : "via proxy: " + q.path, "text/plain");
        });
    });
    ScopedEnv env("http_proxy", proxy.Url(""));
    Gallery g;
    ASSERT_EQ(g.Fetch("http://gallery.invalid/search"), Event::FirstPageComplete)
        << g.client.GetFailure();
    EXPECT_EQ(Slurp(U8(g.client.Items()[0].thumbPath)),
              "via proxy: http://gallery.invalid/t/0.png");
}

TEST(Gallery, CliPrintsThePageOrOneLineWithStatusTwo) {
    LoopbackServer server([](httplib::Server& s) {
        GalleryRoutes(s, [](std::string key, int offset) {
            // The key arrives whole: its blank and "&" do not split the query.
            return key == "M 31&x"
                       ? Reply(R"("limit":"2","total":"3")", std::min(2, 3 - offset), offset)
                       : "{}";
        });
    });
    TempDir dir;
    const std::string base = server.Url("/search");
    auto r = RunVexclk({"gallery", "--base", base, "--offset", "2", "--timeouts", "1000,1000,1000",
                        "--dir", dir.path(), "M 31&x"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "total\t3\nlimit\t2\n2\titem 2\t\t\t" + dir.path() + "/2.png\nfolder\t" +
                         dir.path() + "\n");
    ScopedEnv address(CCommonNetwork::kGalleryEnv, base);
    r = RunVexclk({"gallery", "M 31&x"});  // into a folder of its own, kept
    const std::string folder =
        r.out.substr(r.out.rfind('\t') + 1, r.out.size() - r.out.rfind('\t') - 2);
    EXPECT_EQ(Names(folder), (std::set<std::string>{"0.png", "1.png"}));
    fs::remove_all(folder);

    const struct {
        std::vector<std::string> args;
        std::string message;
    } bad[] = {
        {{"gallery"}, "give one KEY"},
        {{"gallery", "--base", server.Url("/none"), "K"}, "the server answered status 404"},
        {{"gallery", "--base", base, "K"}, "the reply has no item_list array"},
        {{"gallery", "--timeouts", "1,2", "K"},
         "--timeouts wants CONNECT,SEND,RECEIVE in milliseconds (each at least 1), got '1,2'"},
        {{"gallery", "--offset", "-1", "K"},
         "--offset wants an item number within 0..100000, got '-1'"},
        {{"gallery", "--dir", "/nonexistent", "K"}, "--dir '/nonexistent' is not a folder"},
        {{"gallery", "--colour", "K"}, "unknown option '--colour'"},
    };
    for (const auto& row : bad) {
        r = RunVexclk(row.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "vexclk gallery: " + row.message + "\n");
    }
}
