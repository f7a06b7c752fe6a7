#pragma once

#include "ProgramInvocation.h"

#include <QString>

#include <functional>

class QObject;

// Starts a previewer or viewer that lives on its own: nothing waits for it, and
// it outlives the editor. A viewer that ends with a non-zero status within its
// first seconds (xdg-open finding no application, no display to show on) did
// not show anything, and that is handed to the report.
class DetachedViewer
{
public:
    // How long a viewer is watched after its start.
    static constexpr int WatchSeconds = 3;
    // The program's file name and its status (a crash counts as a failure).
    using FailureReport = std::function<void(const QString &program, int exitCode, bool crashed)>;

    // The watch belongs to the context: it ends, without touching the viewer,
    // when the context goes.
    static void start(const ProgramInvocation &invocation, const QString &directory, QObject *context,
                      FailureReport report);
};
