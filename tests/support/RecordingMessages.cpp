#include "RecordingMessages.h"

namespace quillio::test {

void RecordingMessages::message(const QString& text)
{
    m_transcript.add(Transcript::Kind::Message, text);
    if (whileShown)
        whileShown(text);
}

bool RecordingMessages::confirm(const QString& text, Default defaultButton)
{
    m_transcript.add(Transcript::Kind::Confirm, text);
    m_lastDefault = defaultButton;
    if (whileShown)
        whileShown(text);
    return m_answers.isEmpty() ? true : m_answers.dequeue();
}

} // namespace quillio::test
