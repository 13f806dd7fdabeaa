#include "format/JsonText.h"

#include <json/json.h>

#include <exception>
#include <memory>

namespace pagly::format {

namespace {

// jsoncpp writes "* Line 3, Column 7\n  Missing '}' ...\n" per error; the first says where
// the text went wrong.
std::string firstError(const std::string& errors) {
    size_t end = errors.find('\n');
    std::string where = errors.substr(0, end), what;
    if (where.compare(0, 2, "* ") == 0) where.erase(0, 2);
    if (end != std::string::npos) {
        size_t next = errors.find('\n', end + 1);
        what = errors.substr(end + 1, next == std::string::npos ? next : next - end - 1);
        what.erase(0, what.find_first_not_of(' '));
    }
    return "it is not valid JSON (" + where + (what.empty() ? "" : ": " + what) + ")";
}

}  // namespace

bool parseJson(const char* text, std::size_t length, Json::Value& root, std::string* problem,
               const JsonLimits& limits) {
    root = Json::Value();
    if (!text || length == 0) {
        if (problem) *problem = "it is empty";
        return false;
    }
    if (length > limits.largest) {
        if (problem) *problem = "it is larger than " + std::to_string(limits.largest) + " bytes";
        return false;
    }
    std::string errors;
    bool valid = false;
    // jsoncpp reports a nesting past its limit by throwing; like any other syntax error it
    // leaves the value built so far. Nothing it throws (memory included) reaches the caller.
    try {
        Json::CharReaderBuilder builder;
        builder["collectComments"] = false;
        builder["stackLimit"] = limits.deepest;
        std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        valid = reader->parse(text, text + length, &root, &errors);
    } catch (const Json::Exception&) {
        if (problem)
            *problem = "it nests arrays and objects deeper than " + std::to_string(limits.deepest) +
                       " levels";
        return false;
    } catch (const std::exception&) {
        if (problem) *problem = "it is too large to read";
        return false;
    }
    if (!valid && problem) *problem = firstError(errors);
    return valid;
}

}  // namespace pagly::format
