#include "tools/import/SmilClock.h"

#include <cctype>
#include <vector>

namespace pagly::import {

namespace {

std::string trimmed(const std::string& text) {
    std::size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    std::size_t e = text.find_last_not_of(" \t\r\n");
    return text.substr(b, e - b + 1);
}

}  // namespace

bool parseUnsignedDecimal(const std::string& text, double& value, bool fractionAllowed) {
    if (text.empty() || text.size() > 30) return false;
    value = 0.0;
    double scale = 0.0;
    bool digits = false;
    for (char c : text) {
        if (c == '.') {
            if (!fractionAllowed || scale != 0.0) return false;
            scale = 1.0;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            if (scale == 0.0) {
                value = value * 10.0 + (c - '0');
            } else {
                scale /= 10.0;
                value += (c - '0') * scale;
            }
        } else {
            return false;
        }
    }
    return digits;
}

bool parseSmilClock(const std::string& input, double& seconds) {
    std::string text = trimmed(input);
    if (text.compare(0, 4, "npt=") == 0) text = trimmed(text.substr(4));
    if (text.find(':') != std::string::npos) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (;;) {
            std::size_t colon = text.find(':', start);
            parts.push_back(text.substr(start, colon - start));
            if (colon == std::string::npos) break;
            start = colon + 1;
        }
        if (parts.size() > 3) return false;
        double value = 0.0;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            bool last = i + 1 == parts.size();
            double part = 0.0;
            if (!parseUnsignedDecimal(parts[i], part, last)) return false;
            if (i > 0 && part >= 60.0) return false;  // minutes and seconds stay under 60
            value = value * 60.0 + part;
        }
        seconds = value;
        return true;
    }
    // A timecount: a number and an optional metric, seconds by default.
    static const struct {
        const char* suffix;
        double scale;
    } kMetrics[] = {{"ms", 0.001}, {"min", 60.0}, {"h", 3600.0}, {"s", 1.0}};
    double scale = 1.0;
    for (const auto& metric : kMetrics) {
        std::string suffix = metric.suffix;
        if (text.size() > suffix.size() &&
            text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0) {
            text = text.substr(0, text.size() - suffix.size());
            scale = metric.scale;
            break;
        }
    }
    double value = 0.0;
    if (!parseUnsignedDecimal(text, value)) return false;
    seconds = value * scale;
    return true;
}

}  // namespace pagly::import
