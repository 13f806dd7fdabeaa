// A headless Chromium driven over its DevTools protocol on a pipe: started once per book,
// killed on every path when this object goes (its whole process group), its temporary
// profile folder removed. One page (tab) is attached; commands wait for their reply with a
// deadline, so a browser that hangs costs a clear failure, never a hung conversion.
#ifndef PAGLY_TOOLS_IMPORT_HEADLESSBROWSER_H
#define PAGLY_TOOLS_IMPORT_HEADLESSBROWSER_H

#include <json/json.h>
#include <sys/types.h>

#include <deque>
#include <string>
#include <vector>

#include "tools/import/Interruption.h"
#include "tools/import/WorkFolder.h"

namespace pagly::import {

class HeadlessBrowser {
  public:
    HeadlessBrowser() = default;
    ~HeadlessBrowser();
    HeadlessBrowser(const HeadlessBrowser&) = delete;
    HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

    // The browser program: $PAGLY_CHROMIUM when set, else Debian's /usr/bin/chromium.
    static std::string program();
    // Whether a browser program is there to start.
    static bool available();

    // Starts the browser and opens one blank page; false with `why` set when it cannot.
    bool start(std::string& why);
    bool running() const { return m_pid > 0; }
    // Whether the browser's process is still there (it may have died on a hostile page).
    bool alive() const;

    // Sends `method` to the page (or, with `toBrowser`, to the browser itself) and waits for
    // its reply. False with `why` set on an error reply, a dead browser or a timeout.
    bool call(const std::string& method, const Json::Value& params, Json::Value& result,
              std::string& why, bool toBrowser = false);
    // Loads `url` into the page and waits for its load event.
    bool navigate(const std::string& url, std::string& why);
    // Runs `expression` in the page (awaiting a promise it returns) and gives back its value.
    bool evaluate(const std::string& expression, Json::Value& value, std::string& why);

    // Pages may load files from `folder` only (the book being converted): a page that names a
    // file elsewhere on the machine (a picture, a frame, a style sheet) gets nothing. Empty:
    // any local file.
    void confineFilesTo(const std::string& folder);

    // Closes the browser politely, then kills what is left of it. Safe to call twice.
    void stop();

    // Seconds a command may take before the browser counts as hung.
    double timeoutSeconds = 30.0;
    // Whether the last command failed for want of an answer in time: the page may still keep
    // the browser busy, so it is started afresh before the next one.
    bool timedOut() const { return m_timedOut; }
    // More command-line arguments for the browser (tests ask it for its network log).
    std::vector<std::string> extraArguments;

  private:
    bool send(const Json::Value& message, std::string& why);
    // Reads one message, waiting until `deadline` (a monotonic time in seconds).
    bool receive(Json::Value& message, double deadline, std::string& why);
    bool waitForEvent(const std::string& method, double deadline, std::string& why);
    // Answers a request the page makes (the browser holds each one until told).
    void answerRequest(const Json::Value& paused);
    bool allowsUrl(const std::string& url) const;
    // The last line the browser wrote to its log, or "".
    std::string lastLogLine() const;

    pid_t m_pid = -1;
    int m_toBrowser = -1;
    int m_fromBrowser = -1;
    WorkFolder m_profile;   // the temporary --user-data-dir, its temporary files inside
    std::string m_buffer;   // bytes read but not yet split into messages
    std::string m_session;  // the attached page's session
    std::deque<Json::Value> m_events;
    std::string m_fileRoot;  // the real path of the only folder pages may load files from
    int m_nextId = 1;
    bool m_timedOut = false;
};

}  // namespace pagly::import

#endif
