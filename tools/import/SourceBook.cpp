#include "tools/import/SourceBook.h"

namespace pagly::import {

std::string describe(const ImportProblem& problem) {
    return "cannot use " + problem.file + ": " + problem.reason;
}

}  // namespace pagly::import
