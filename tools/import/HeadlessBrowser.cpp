// The headless browser on a DevTools pipe (see HeadlessBrowser.h).
#include "tools/import/HeadlessBrowser.h"

#include "tools/import/BookHref.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "format/JsonText.h"
#include "tools/import/FileTree.h"

extern char** environ;

namespace pagly::import {

namespace {

// A pipe end moved to a descriptor above 4, so that placing the child's ends on 3 and 4 can
// never meet one of them already sitting there (dup2 onto itself would keep close-on-exec).
int highDescriptor(int fd) {
    int high = fcntl(fd, F_DUPFD_CLOEXEC, 5);
    close(fd);
    return high;
}

std::string compact(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

// Waits for the process to end for up to `seconds`; true when it has been reaped.
bool reapWithin(pid_t pid, double seconds) {
    double deadline = monotonicSeconds() + seconds;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) return true;
        if (monotonicSeconds() >= deadline) return false;
        usleep(20000);
    }
}

}  // namespace

HeadlessBrowser::~HeadlessBrowser() { stop(); }

bool HeadlessBrowser::alive() const {
    if (m_pid <= 0) return false;
    siginfo_t info{};
    // WNOWAIT leaves an ended process for stop() to reap.
    if (waitid(P_PID, (id_t)m_pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
    return info.si_pid == 0;  // nothing to report: still running
}

std::string HeadlessBrowser::program() {
    const char* chosen = std::getenv("PAGLY_CHROMIUM");
    return chosen && *chosen ? chosen : "/usr/bin/chromium";
}

bool HeadlessBrowser::available() { return access(program().c_str(), X_OK) == 0; }

bool HeadlessBrowser::start(std::string& why) {
    stop();
    if (!available()) return why = "there is no browser at " + program(), false;
    m_timedOut = false;
    if (!m_profile.makeTemporary("pagly-browser-") || !makeFolder(m_profile.path() + "/tmp"))
        return why = "cannot make a folder for the browser's profile", false;
    const std::string profile = m_profile.path();

    int commands[2], replies[2];
    if (pipe2(commands, O_CLOEXEC) != 0) return why = "cannot make a pipe to the browser", false;
    if (pipe2(replies, O_CLOEXEC) != 0) {
        close(commands[0]);
        close(commands[1]);
        return why = "cannot make a pipe from the browser", false;
    }
    int childIn = highDescriptor(commands[0]), childOut = highDescriptor(replies[1]);
    m_toBrowser = highDescriptor(commands[1]);
    m_fromBrowser = highDescriptor(replies[0]);
    // A browser that dies while we write must not kill the converter with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);

    std::string log = profile + "/browser.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_adddup2(&actions, childIn, 3);
    posix_spawn_file_actions_adddup2(&actions, childOut, 4);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group: stopping it reaches every helper process it started.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<std::string> args = {
        program(), "--headless=new", "--remote-debugging-pipe", "--user-data-dir=" + profile,
        "--no-first-run", "--no-default-browser-check", "--disable-gpu", "--disable-extensions",
        // Sealed from the network before any page loads: no name is ever looked up (every host,
        // IP literals and the proxy's own included, resolves to nothing), every connection
        // would go through a proxy that cannot be reached, and none of the browser's own
        // services (updates, sync, accounts, reports) starts. A book's preconnect, prefetch,
        // frame or refresh cannot tell anyone it is being opened.
        "--host-resolver-rules=MAP * ~NOTFOUND", "--proxy-server=socks5://127.0.0.1:9",
        "--proxy-bypass-list=<-loopback>", "--dns-prefetch-disable", "--no-pings",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--disable-default-apps", "--disable-domain-reliability",
        "--disable-client-side-phishing-detection",
        // Nothing of it outside its temporary profile.
        "--disable-breakpad", "--disk-cache-dir=" + profile + "/cache", "--disable-crash-reporter",
        "--disable-dev-shm-usage", "--hide-scrollbars", "--mute-audio",
        "--font-render-hinting=none"};
    args.insert(args.end(), extraArguments.begin(), extraArguments.end());
    // Chromium refuses to run its sandbox as root (containers, CI).
    if (geteuid() == 0) args.push_back("--no-sandbox");
    args.push_back("about:blank");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Its configuration (crash reports among it) and its temporary folders
    // (org.chromium.Chromium.*) go into the temporary profile too, not into the user's folders:
    // removing the profile removes them, even after a kill.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0 &&
            std::strncmp(*e, "XDG_CACHE_HOME=", 15) != 0 && std::strncmp(*e, "TMPDIR=", 7) != 0)
            env.push_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + profile);
    env.push_back("XDG_CACHE_HOME=" + profile + "/cache");
    env.push_back("TMPDIR=" + profile + "/tmp");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(childIn);
    close(childOut);
    if (failed) {
        stop();
        return why = std::string("cannot start the browser: ") + std::strerror(failed), false;
    }
    m_pid = pid;
    // Should this conversion be killed outright, the next one ends the browser by this.
    writeFile(profile + "/" + kWorkProcessGroup, std::to_string(pid) + "\n");
    holdAt("browser");

    Json::Value result;
    Json::Value target;
    target["url"] = "about:blank";
    if (!call("Target.createTarget", target, result, why, true)) {
        // What the browser said last is often the reason (a missing library, a sandbox).
        std::string said = lastLogLine();
        if (!said.empty()) why += " (it said: " + said + ")";
        return stop(), false;
    }
    Json::Value attach;
    attach["targetId"] = result["targetId"];
    attach["flatten"] = true;
    if (!call("Target.attachToTarget", attach, result, why, true)) return stop(), false;
    m_session = result["sessionId"].asString();
    Json::Value none(Json::objectValue);
    if (!call("Page.enable", none, result, why)) return stop(), false;
    // A book is drawn from its own files: nothing from the network, none of its scripts.
    if (!call("Network.enable", none, result, why)) return stop(), false;
    Json::Value blocked;
    for (const char* scheme : {"http://*", "https://*", "ws://*", "wss://*", "ftp://*"})
        blocked["urls"].append(scheme);
    if (!call("Network.setBlockedURLs", blocked, result, why)) return stop(), false;
    // Every request waits for answerRequest, which lets through the book's own files only.
    Json::Value fetch;
    Json::Value everything;
    everything["urlPattern"] = "*";
    fetch["patterns"].append(everything);
    if (!call("Fetch.enable", fetch, result, why)) return stop(), false;
    Json::Value noScripts;
    noScripts["value"] = true;
    if (!call("Emulation.setScriptExecutionDisabled", noScripts, result, why)) return stop(), false;
    return true;
}

std::string HeadlessBrowser::lastLogLine() const {
    std::string log, line;
    if (m_profile.empty() || !readFile(m_profile.path() + "/browser.log", log, 1u << 20)) return "";
    size_t end = log.find_last_not_of("\r\n");
    if (end == std::string::npos) return "";
    size_t start = log.rfind('\n', end);
    line = log.substr(start == std::string::npos ? 0 : start + 1,
                      end + 1 - (start == std::string::npos ? 0 : start + 1));
    return line.size() > 200 ? line.substr(0, 200) : line;
}

void HeadlessBrowser::stop() {
    if (m_pid > 0) {
        if (m_toBrowser >= 0) {
            Json::Value close;
            close["id"] = m_nextId++;
            close["method"] = "Browser.close";
            std::string ignored;
            send(close, ignored);
        }
        if (!reapWithin(m_pid, 3.0)) {
            kill(-m_pid, SIGKILL);
            reapWithin(m_pid, 3.0);
        }
        // Helpers that outlived the browser's main process belong to its group.
        kill(-m_pid, SIGKILL);
        m_pid = -1;
    }
    if (m_toBrowser >= 0) close(m_toBrowser);
    if (m_fromBrowser >= 0) close(m_fromBrowser);
    m_toBrowser = m_fromBrowser = -1;
    m_profile.remove();
    m_buffer.clear();
    m_session.clear();
    m_events.clear();
}

bool HeadlessBrowser::send(const Json::Value& message, std::string& why) {
    std::string bytes = compact(message);
    bytes.push_back('\0');
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(m_toBrowser, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return why = "the browser stopped listening", false;
        done += (size_t)n;
    }
    return true;
}

bool HeadlessBrowser::receive(Json::Value& message, double deadline, std::string& why) {
    for (;;) {
        size_t end = m_buffer.find('\0');
        if (end != std::string::npos) {
            // The browser's answers carry whole page pictures: no bound on size, only on depth.
            format::JsonLimits limits;
            limits.largest = end;
            bool ok = format::parseJson(m_buffer.data(), end, message, nullptr, limits);
            m_buffer.erase(0, end + 1);
            if (!ok) return why = "the browser sent a message that is not JSON", false;
            if (message["method"].asString() == "Fetch.requestPaused") {
                answerRequest(message);
                continue;
            }
            return true;
        }
        if (cancelRequested()) return why = "the conversion was cancelled", false;
        double left = deadline - monotonicSeconds();
        if (left <= 0) {
            m_timedOut = true;
            return why = "the browser did not answer in time", false;
        }
        pollfd p{m_fromBrowser, POLLIN, 0};
        // Short waits, so that a cancel request is seen soon.
        int ready = poll(&p, 1, (int)std::min(left * 1000.0, 200.0) + 1);
        if (ready < 0 && errno != EINTR) return why = "cannot read from the browser", false;
        if (ready <= 0) continue;
        char chunk[65536];
        ssize_t n = read(m_fromBrowser, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return why = "the browser ended unexpectedly", false;
        m_buffer.append(chunk, (size_t)n);
    }
}

bool HeadlessBrowser::call(const std::string& method, const Json::Value& params,
                           Json::Value& result, std::string& why, bool toBrowser) {
    if (m_pid <= 0) return why = "the browser is not running", false;
    m_timedOut = false;
    int id = m_nextId++;
    Json::Value message;
    message["id"] = id;
    message["method"] = method;
    message["params"] = params.isNull() ? Json::Value(Json::objectValue) : params;
    if (!toBrowser && !m_session.empty()) message["sessionId"] = m_session;
    if (!send(message, why)) return false;
    double deadline = monotonicSeconds() + timeoutSeconds;
    for (;;) {
        Json::Value reply;
        if (!receive(reply, deadline, why)) return false;
        if (reply.isMember("id") && reply["id"].isInt() && reply["id"].asInt() == id) {
            if (reply.isMember("error")) {
                why = method + " failed: " + reply["error"]["message"].asString();
                return false;
            }
            result = reply["result"];
            return true;
        }
        // Events that arrive meanwhile are kept for waitForEvent (a few suffice).
        if (reply.isMember("method")) {
            m_events.push_back(reply);
            if (m_events.size() > 64) m_events.pop_front();
        }
    }
}

void HeadlessBrowser::confineFilesTo(const std::string& folder) {
    char* real = folder.empty() ? nullptr : realpath(folder.c_str(), nullptr);
    m_fileRoot = real ? real : folder;
    free(real);
}

bool HeadlessBrowser::allowsUrl(const std::string& url) const {
    if (url.rfind("data:", 0) == 0 || url.rfind("blob:", 0) == 0 || url == "about:blank")
        return true;
    if (url.rfind("file://", 0) != 0) return false;
    if (m_fileRoot.empty()) return true;
    // The path as the file system sees it: no query or fragment, escapes decoded, links
    // followed.
    std::string path = percentDecoded(url.substr(7, url.find_first_of("?#", 7) - 7));
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return false;  // nothing there to load anyway
    std::string resolved = real;
    free(real);
    return resolved == m_fileRoot || resolved.rfind(m_fileRoot + "/", 0) == 0;
}

void HeadlessBrowser::answerRequest(const Json::Value& paused) {
    const Json::Value& params = paused["params"];
    Json::Value answer;
    answer["id"] = m_nextId++;
    answer["params"]["requestId"] = params["requestId"];
    if (allowsUrl(params["request"]["url"].asString())) {
        answer["method"] = "Fetch.continueRequest";
    } else {
        answer["method"] = "Fetch.failRequest";
        answer["params"]["errorReason"] = "BlockedByClient";
    }
    if (paused.isMember("sessionId")) answer["sessionId"] = paused["sessionId"];
    std::string ignored;  // a browser that stopped listening shows at the next call
    send(answer, ignored);
}

bool HeadlessBrowser::waitForEvent(const std::string& method, double deadline, std::string& why) {
    for (auto it = m_events.begin(); it != m_events.end(); ++it) {
        if ((*it)["method"].asString() == method) {
            m_events.erase(m_events.begin(), it + 1);
            return true;
        }
    }
    m_events.clear();
    for (;;) {
        Json::Value message;
        if (!receive(message, deadline, why)) return false;
        if (message["method"].asString() == method) return true;
    }
}

bool HeadlessBrowser::navigate(const std::string& url, std::string& why) {
    m_events.clear();
    Json::Value params, result;
    params["url"] = url;
    if (!call("Page.navigate", params, result, why)) return false;
    if (result.isMember("errorText") && !result["errorText"].asString().empty())
        return why = "cannot load " + url + ": " + result["errorText"].asString(), false;
    return waitForEvent("Page.loadEventFired", monotonicSeconds() + timeoutSeconds, why);
}

bool HeadlessBrowser::evaluate(const std::string& expression, Json::Value& value,
                               std::string& why) {
    Json::Value params, result;
    params["expression"] = expression;
    params["returnByValue"] = true;
    params["awaitPromise"] = true;
    if (!call("Runtime.evaluate", params, result, why)) return false;
    if (result.isMember("exceptionDetails")) {
        const Json::Value& details = result["exceptionDetails"];
        std::string text = details["exception"]["description"].asString();
        why = "the page's script failed: " + (text.empty() ? details["text"].asString() : text);
        return false;
    }
    value = result["result"]["value"];
    return true;
}

}  // namespace pagly::import
