#pragma once

#include "Transcript.h"
#include "platform/Messages.h"

#include <QQueue>
#include <functional>

namespace quillio::test {

// Records every message and question; questions take their answers from a script (Yes when the
// script is empty). A hook lets a test act while a box "is open", as a person could.
class RecordingMessages : public Messages
{
public:
    explicit RecordingMessages(Transcript& transcript) : m_transcript(transcript) {}

    void message(const QString& text) override;
    bool confirm(const QString& text, Default defaultButton) override;

    void answerNext(bool yes) { m_answers.enqueue(yes); }
    Default lastDefault() const { return m_lastDefault; }
    // Runs while a message or question is shown (for example to look at the window behind it).
    std::function<void(const QString&)> whileShown;

private:
    Transcript& m_transcript;
    QQueue<bool> m_answers;
    Default m_lastDefault = Default::Yes;
};

} // namespace quillio::test
