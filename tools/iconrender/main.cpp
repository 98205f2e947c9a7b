// Renders an SVG icon to PNG files of the given sizes, laid out as an icon theme expects:
//   quillio-iconrender ICON.svg OUTPUT_DIR SIZE...   writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/ICON.png
// The build makes the application's PNG icons with it, so no rendered picture is kept in the tree.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

bool render(QSvgRenderer& svg, int size, const QString& path)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    return QDir().mkpath(QFileInfo(path).absolutePath()) && image.save(path, "PNG");
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        err << "usage: quillio-iconrender ICON.svg OUTPUT_DIR SIZE...\n";
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        err << "quillio-iconrender: cannot read " << args[1] << '\n';
        return 1;
    }
    const QString name = QFileInfo(args[1]).completeBaseName() + QStringLiteral(".png");
    for (const QString& sizeText : args.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        const QString path = QStringLiteral("%1/%2x%2/apps/%3").arg(args[2]).arg(size).arg(name);
        if (!ok || size <= 0 || !render(svg, size, path)) {
            err << "quillio-iconrender: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
