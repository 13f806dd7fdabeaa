// Stopping a conversion: the flag every long loop of the importer asks (set on SIGINT and
// SIGTERM), and the named stages a test may hold the importer at to stop it there.
#ifndef PAGLY_TOOLS_IMPORT_INTERRUPTION_H
#define PAGLY_TOOLS_IMPORT_INTERRUPTION_H

namespace pagly::import {

// A conversion asks this between steps and inside every loop that may run long, and gives up
// when it is set.
bool cancelRequested();
void requestCancel(bool cancel = true);

// When $PAGLY_IMPORT_HOLD_AT names `stage` ("unzip", "clips", "browser"), says
// "pagly-import: holding at <stage>" on standard error once and waits there until the
// conversion is cancelled; otherwise returns at once. Lets a test stop the importer at a
// point it has certainly reached.
void holdAt(const char* stage);

// Seconds on the system's monotonic clock: what deadlines and budgets count in.
double monotonicSeconds();

}  // namespace pagly::import

#endif
