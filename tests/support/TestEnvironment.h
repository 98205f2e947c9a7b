#pragma once

#include "FixedClock.h"
#include "ImmediateModal.h"
#include "RecordingErrors.h"
#include "RecordingMessages.h"
#include "RecordingShell.h"
#include "ScriptedFiles.h"
#include "TemporaryPaths.h"
#include "Transcript.h"

namespace quillio::test {

// One test's world: every seam replaced by a recording double, a temporary program directory and
// settings root, and the Italian locale. Installed on construction, removed on destruction.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    Transcript transcript;
    RecordingMessages messages{transcript};
    RecordingErrors errors{transcript};
    RecordingShell shell;
    FixedClock clock;
    ImmediateModal modal;
    ScriptedFiles files;
    TemporaryPaths paths;
};

} // namespace quillio::test
