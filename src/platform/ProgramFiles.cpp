#include "platform/ProgramFiles.h"

#include "platform/Platform.h"

#include <QFileInfo>

namespace quillio {

QString ProgramFiles::firstExisting(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

QStringList ProgramFiles::guideCandidates()
{
    const QString index = QStringLiteral("guida/index.html");
    const Paths& paths = Platform::paths();
    return {paths.programDir() + index, paths.installedDocDir() + index};
}

QString ProgramFiles::guideIndex()
{
    return firstExisting(guideCandidates());
}

} // namespace quillio
