#pragma once

#include <sys/types.h>

#include <atomic>
#include <string>
#include <vector>

namespace pagly {

// A book from elsewhere (a Bloom book, an EPUB) is opened by converting it once, with the
// importer command, into an ordinary book folder in the learner's cache; later opens find the
// folder there. The reader itself never reads the foreign formats.

// What a path given on the command line is.
enum class BookKind {
    Folder,   // a book folder the reader reads as it is
    Foreign,  // a .bloompub, an .epub, or an unpacked folder of either
    NotABook,
};
BookKind bookKind(const std::string& path);

// Where converted books are kept: $XDG_CACHE_HOME/pagly/books, else ~/.cache/pagly/books.
std::string importCacheFolder();

// A digest of the book's bytes (a file's content; a folder's file names and contents, each
// after its length, in name order), so an edited book converts afresh and the same book in two
// places converts once. Empty, with `problem` set, when the book cannot be read or `stop` is
// raised while it is read.
std::string bookDigest(const std::string& path, std::string* problem = nullptr,
                       const std::atomic<bool>* stop = nullptr);

// The converted folder remembered for `path` as it is now (its stamp: a file's size and time,
// a folder's files' names, sizes and times), without reading the book; "" when none is.
std::string rememberedFolderFor(const std::string& path);

// The converted folder of `path` in the cache (it may not exist yet), or "" with `problem`.
// It reads the whole book unless the folder is remembered: not for the main thread.
std::string convertedFolderFor(const std::string& path, std::string* problem = nullptr,
                               const std::atomic<bool>* stop = nullptr);

// The importer command: $PAGLY_IMPORT, else "pagly-import" beside the reader, else in the
// build tree's tools folder, else on the PATH.
std::string findImporter(const std::string& readerPath);

// One run of the importer on one book, read as it goes without ever blocking the caller.
// It prints "page N of M" on its standard output as it finishes pages, and the things it
// could not use on its standard error; both are passed on to the terminal. Dropping a run
// that has not ended stops the importer and everything it started.
class ImportRun {
  public:
    enum class State { Running, Done, Failed };

    ImportRun() = default;
    ~ImportRun();
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    // Starts `importer SOURCE TARGET`; false (with failure() set) when it cannot be started.
    bool start(const std::string& importer, const std::string& source, const std::string& target);
    // Reads what the importer said since the last call and whether it has ended.
    State poll();

    State state() const { return m_state; }
    int pagesDone() const { return m_pagesDone; }
    int pageCount() const { return m_pageCount; }
    // The importer's last line on its standard error: the reason when it refuses a book.
    const std::string& lastProblem() const { return m_lastProblem; }
    int problemCount() const { return m_problemCount; }
    // The things it could not use, as "<file>: <reason>", the first kMostProblemsKept of them.
    const std::vector<std::string>& problems() const { return m_problems; }
    static const size_t kMostProblemsKept = 300;
    // Why the run failed: the importer's reason (its "cannot convert <book>: " taken off), or
    // why the importer did not run or did not finish.
    const std::string& failure() const { return m_failure; }
    // The importer could not be started or ended without saying why (not the book's fault).
    bool importerFailed() const { return m_importerFailed; }

    // Reads one line of the importer's progress: "page N of M".
    static bool parseProgress(const std::string& line, int* done, int* count);

  private:
    void drain(int& fd, std::string& pending, bool errors);
    void takeLine(const std::string& line, bool errors);
    void finish(int status);
    void stop();

    pid_t m_pid = -1;
    int m_out = -1, m_err = -1;
    std::string m_outPending, m_errPending;
    State m_state = State::Failed;
    int m_pagesDone = 0, m_pageCount = 0, m_problemCount = 0;
    std::string m_source, m_lastProblem, m_failure;
    std::vector<std::string> m_problems;
    bool m_importerFailed = false;
};

}  // namespace pagly
