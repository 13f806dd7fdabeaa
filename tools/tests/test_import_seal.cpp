// What a book's page may make the browser do beyond drawing it: reach the network (a listener
// on this machine and the browser's own network log see nothing, however the page asks), or
// break the importer's measuring with its own names (<input name=parentElement>).
#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <json/json.h>

#include <fstream>
#include <map>
#include <set>

#include "tools/import/PageLayout.h"
#include "tools/tests/ConversionFixture.h"

namespace pt = pagly::testing;
using namespace pagly::import;

namespace {

// A TCP listener on 127.0.0.1 that only counts who knocked.
class Listener {
  public:
    Listener() {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_fd < 0 || bind(m_fd, (sockaddr*)&address, size) != 0 || listen(m_fd, 64) != 0 ||
            getsockname(m_fd, (sockaddr*)&address, &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~Listener() {
        if (m_fd >= 0) close(m_fd);
    }
    int port() const { return m_port; }
    // The connections made so far (each is accepted and closed).
    int knocks() {
        int count = 0;
        for (int fd; (fd = accept(m_fd, nullptr, nullptr)) >= 0; ++count) close(fd);
        return count;
    }

  private:
    int m_fd = -1;
    int m_port = 0;
};

// Every way a page may name something on the network, at the listener and at names only a
// DNS query would show.
std::string pageReachingOut(int port) {
    std::string here = "http://127.0.0.1:" + std::to_string(port);
    auto host = [](const char* what) {
        return std::string("http://") + what + ".pagly-probe.test";
    };
    return "<!DOCTYPE html><html><head>"
           "<link rel=\"preconnect\" href=\"" +
           here +
           "/\">"
           "<link rel=\"preconnect\" href=\"" +
           host("preconnect") +
           "/\">"
           "<link rel=\"dns-prefetch\" href=\"" +
           host("dnsprefetch") +
           "/\">"
           "<link rel=\"prefetch\" href=\"" +
           here +
           "/prefetch\">"
           "<link rel=\"preload\" as=\"image\" href=\"" +
           host("preload") +
           "/p.png\">"
           "<link rel=\"stylesheet\" href=\"" +
           here +
           "/style.css\">"
           "<link rel=\"icon\" href=\"" +
           host("icon") +
           "/i.ico\">"
           "<meta http-equiv=\"refresh\" content=\"0; url=" +
           here +
           "/refresh\">"
           "<style>body{margin:0;width:400px;height:600px}</style></head><body>"
           "<p id=\"s1\">Who is reading me?</p>"
           "<iframe src=\"" +
           here +
           "/frame\"></iframe>"
           "<iframe src=\"" +
           host("iframe") +
           "/\"></iframe>"
           "<object data=\"" +
           here +
           "/object\"></object>"
           "<embed src=\"" +
           host("embed") +
           "/e\">"
           "<img src=\"" +
           host("img") +
           "/x.png\">"
           "<video poster=\"" +
           here + "/poster.png\" src=\"" + host("video") +
           "/v.mp4\"></video>"
           "</body></html>";
}

// The events of a network log whose kind is one of `kinds`, as "KIND host-or-address".
std::vector<std::string> eventsOf(const Json::Value& log, const std::set<std::string>& kinds) {
    std::map<int, std::string> names;
    for (const std::string& name : log["constants"]["logEventTypes"].getMemberNames())
        names[log["constants"]["logEventTypes"][name].asInt()] = name;
    std::vector<std::string> out;
    for (const Json::Value& event : log["events"]) {
        std::string kind = names[event["type"].asInt()];
        const Json::Value& params = event["params"];
        std::string where = params["host"].asString() + params["address"].asString();
        // Connecting a UDP socket sends nothing; only one to a name server asks a question.
        bool nameServer = where.size() > 3 && where.compare(where.size() - 3, 3, ":53") == 0;
        if (kind == "UDP_CONNECT" && !nameServer) continue;
        if (kinds.count(kind)) out.push_back(kind + " " + where);
    }
    return out;
}

class ImportSeal : public pt::ConversionTest {};

TEST_F(ImportSeal, ABookThatAsksForTheNetworkReachesNothing) {
    Listener listener;
    ASSERT_GT(listener.port(), 0);
    std::string netLog = m_dir + "/net-log.json";
    HeadlessBrowser browser;
    browser.extraArguments = {"--log-net-log=" + netLog};
    m_options.browser = &browser;
    SourceDocument d = document("out.html", pageReachingOut(listener.port()), {"s1"});
    SourceDocument flowing =
        document("flow.html", pageReachingOut(listener.port()), {"s1"}, SourceLayout::Reflow);
    std::string why;
    writeBook(book({d, flowing}), m_dir + "/book", m_options, why);
    // Closed, the browser has made every connection it was going to, and its log is whole.
    browser.stop();

    EXPECT_EQ(0, listener.knocks()) << "the page reached a listener on this machine";
    std::ifstream in(netLog);
    Json::Value log;
    Json::CharReaderBuilder builder;
    std::string errors;
    ASSERT_TRUE(Json::parseFromStream(builder, in, &log, &errors)) << errors;
    ASSERT_GT(log["events"].size(), 0u);
    std::vector<std::string> reached = eventsOf(
        log, {"HOST_RESOLVER_MANAGER_JOB", "HOST_RESOLVER_DNS_TASK", "HOST_RESOLVER_SYSTEM_TASK",
              "DNS_TRANSACTION", "TCP_CONNECT", "TCP_CONNECT_ATTEMPT", "UDP_CONNECT"});
    std::string listed;
    for (const std::string& r : reached) listed += r + "\n";
    EXPECT_TRUE(reached.empty()) << "names looked up or connections made:\n" << listed;
}

TEST_F(ImportSeal, APageWhoseFormShadowsTheDomsNamesIsMeasuredAsAnyOther) {
    // A form's controls become the form's properties, named images the document's: a walk up
    // through form.parentElement meets the input, whose parent is the form again.
    const std::string html =
        "<!DOCTYPE html><html><head><style>body{margin:0}</style></head><body>"
        "<form name=\"querySelectorAll\"><input name=\"parentElement\"><input name=\"children\">"
        "<input name=\"tagName\"><input name=\"setAttribute\">"
        "<input name=\"getBoundingClientRect\">"
        "<div id=\"p1\" style=\"position:absolute;left:0;top:0;width:400px;height:600px;"
        "background:#fafaf0\"><p id=\"s1\" style=\"position:absolute;margin:0;left:40px;"
        "top:50px;width:200px;height:40px\">Hello</p></div></form>"
        "<img name=\"body\"><img name=\"querySelector\"><img name=\"fonts\"></body></html>";
    SourceDocument d = document("form.html", html, {"s1"});
    d.pageSelector = "#p1";
    PageLayout layout(*s_browser);
    double patience = s_browser->timeoutSeconds;
    s_browser->timeoutSeconds = 10;
    std::vector<DrawnPage> pages;
    std::vector<ImportProblem> problems;
    std::string why;
    bool drawn = layout.draw(
        d, m_source, [&](DrawnPage& page, int) { return pages.push_back(page), true; }, problems,
        why);
    s_browser->timeoutSeconds = patience;
    if (s_browser->timedOut()) s_browser->start(why);  // the next test needs a free browser
    ASSERT_TRUE(drawn) << why;
    ASSERT_EQ(1u, pages.size());
    EXPECT_EQ("#fafaf0", pages[0].background);
    ASSERT_EQ(1u, pages[0].boxes.size());
    const SentenceBox& box = pages[0].boxes[0];
    // 400 x 600 CSS pixels drawn at 640 x 960: 1.6 a pixel.
    EXPECT_NEAR(64, box.x, 0.5);
    EXPECT_NEAR(80, box.y, 0.5);
    EXPECT_NEAR(320, box.width, 0.5);
    EXPECT_NEAR(64, box.height, 0.5);
}

}  // namespace
