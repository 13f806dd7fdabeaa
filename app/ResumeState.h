#pragma once

#include <string>

namespace pagly {

// Where the learner stopped: the last page opened, the reading mode and the speech speed, kept
// across runs in a small text file in the user's data folder. The file is a header line followed by
// one "name value" line per field; fields this version does not know are skipped, so a later
// version can add some. It is replaced atomically (a temporary file renamed over it), so a
// crash or a full disk leaves the old file or the new one, never a broken one.
struct ResumeState {
    int page = 0;     // 0: no page remembered
    int mode = 0;     // 0: none remembered; else a ReadingMode
    float speed = 0;  // 0: none remembered; else one of the offered speech speeds
};

// The state file's path (in the user's data folder).
std::string resumeStatePath();

// Reads the state file. A missing file gives the empty state silently; a damaged or foreign
// file gives the empty state and a log line.
ResumeState readResumeState(const std::string& path);
// Writes `state` atomically; false (logged) when it could not.
bool writeResumeState(const std::string& path, const ResumeState& state);

// The remembered page of this run: read from the file at start, then every page opened.
int rememberedPage();
// Reads the state file into the reading state at start: the mode becomes the reading mode
// and the page the remembered one.
void restoreResumeState();
// Remembers `page` and the current reading mode, and writes the file when they changed.
void rememberPage(int page);
// Writes the current reading mode (after the settings overlay confirmed one).
void rememberReadingMode();
// The remembered speech speed: 1 (as recorded) when none was remembered.
float rememberedSpeechSpeed();
// Remembers `speed` and writes the file when it changed.
void rememberSpeechSpeed(float speed);
// Forgets what this run remembered (tests; a fresh start).
void forgetResumeState();

}  // namespace pagly
