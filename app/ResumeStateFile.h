#pragma once

#include <string>

#include "app/ResumeState.h"

// The state file on disk, without logging: the writer thread uses these (the log belongs to
// the engine thread), and ResumeState.h's functions wrap them with a log line.
namespace pagly {

// Reads the file into `state`. Returns "" or why it was ignored (`state` is then empty);
// `notAFile` says that something other than a regular file stands at the path (never opened).
// A missing file is the empty state, without a reason.
std::string readStateFile(const std::string& path, ResumeState& state, bool& notAFile);
// Writes `state` whole under the file's lock; "" or what went wrong.
std::string writeStateFile(const std::string& path, const ResumeState& state);
// Reads the file, applies `change` and writes it back, holding the file's lock throughout, so
// that another reader's write in between is never lost. False with `problem` set when nothing
// was written.
bool mergeStateFile(const std::string& path, const ResumeChange& change, std::string& problem);

}  // namespace pagly
