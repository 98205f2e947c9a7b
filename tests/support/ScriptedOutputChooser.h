#pragma once

#include "report/OutputChooser.h"

#include <QList>

namespace quillio::report::test {

// Answers the output question from a script, in order (cancel once the script is used up), and
// records every request. Installed while it lives.
class ScriptedOutputChooser : public OutputChooser
{
public:
    ScriptedOutputChooser() { OutputChooser::install(this); }
    ~ScriptedOutputChooser() override { OutputChooser::install(nullptr); }

    std::optional<OutputOptions> choose(const OutputRequest& request, QWidget*) override
    {
        requests.append(request);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }

    static OutputOptions to(Destination destination)
    {
        OutputOptions options;
        options.destination = destination;
        return options;
    }

    QList<std::optional<OutputOptions>> answers;
    QList<OutputRequest> requests;
};

} // namespace quillio::report::test
