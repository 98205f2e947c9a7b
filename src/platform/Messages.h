#pragma once

#include <QString>

namespace quillio {

// Talks to the person: modal message boxes captioned with the application title, and the
// confirmation boxes titled "Confirm". Tests replace it with a recording double.
class Messages
{
public:
    enum class Default { Yes, No };

    virtual ~Messages() = default;
    // A message with one OK button; returns when the person closes it.
    virtual void message(const QString& text) = 0;
    // A question with Yes and No; Escape answers No. Returns true for Yes.
    virtual bool confirm(const QString& text, Default defaultButton = Default::Yes) = 0;
};

} // namespace quillio
