// Writes the sample invoice with a layout into a PDF file and prints the time it took in
// milliseconds: report_sample_pdf LAYOUT PDF.
#include "InvoiceSample.h"
#include "platform/QuillioError.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: report_sample_pdf LAYOUT PDF\n");
        return 2;
    }
    try {
        QElapsedTimer timer;
        timer.start();
        quillio::report::test::InvoiceSample::writePdf(QString::fromLocal8Bit(argv[1]),
                                                       QString::fromLocal8Bit(argv[2]));
        std::printf("%.1f\n", timer.nsecsElapsed() / 1e6);
    } catch (const quillio::QuillioError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
