// Draws an SVG picture at a size into the form that renderSvg takes from the program's
// resources, with the same drawing routine and fonts as the program:
//   qm_draw_svg SVG_FILE WIDTH HEIGHT OUT_FILE
// The build runs it on the platform without a display.
#include "ui/picture.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SVG_FILE WIDTH HEIGHT OUT_FILE\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    ui::installFontSubstitutions();
    const QString source = QString::fromLocal8Bit(argv[1]);
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    if (!QFile::exists(source) || width <= 0 || height <= 0) {
        std::fprintf(stderr, "%s: no picture %s at %s x %s\n", argv[0], argv[1], argv[2], argv[3]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[4]));
    const QByteArray bytes = ui::drawingBytes(ui::drawSvg(source, width, height));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "%s: %s could not be written\n", argv[0], argv[4]);
        return 1;
    }
    return 0;
}
