#pragma once

#include "Transcript.h"
#include "platform/ErrorDisplay.h"

namespace quillio::test {

class RecordingErrors : public ErrorDisplay
{
public:
    explicit RecordingErrors(Transcript& transcript) : m_transcript(transcript) {}
    void showError(const QString& text) override { m_transcript.add(Transcript::Kind::Error, text); }

private:
    Transcript& m_transcript;
};

} // namespace quillio::test
