#pragma once

#include <QRegularExpression>
#include <QTest>

namespace quillio::test {

// Makes every Qt warning of the running test function a failure, so a fault that Qt only reports
// (a broken connection, a missing resource, a bad property) cannot pass unseen. Called from each test
// class's init(), since Qt forgets the patterns after every test function. The offscreen platform's
// notice that it cannot honour a window's size hints says nothing about our code.
inline void failOnUnexpectedWarnings()
{
    static const QRegularExpression unexpected(
        QStringLiteral("^(?!This plugin does not support propagateSizeHints\\(\\))"));
    QTest::failOnWarning(unexpected);
}

} // namespace quillio::test
