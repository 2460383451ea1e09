// The least Qt Widgets program: an empty 800 x 600 window shown. With "--quit-when-painted
// FILE" it ends after the window's first paint and writes its memory figures to FILE (the
// memory baseline); without, it runs until it is ended (the start-up baseline is taken when
// its window appears).
#include "bench/memory_report.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstring>

namespace {

class Window final : public QWidget {
  public:
    bool quitWhenPainted = false;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (quitWhenPainted) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window w;
    w.quitWhenPainted = argc > 2 && std::strcmp(argv[1], "--quit-when-painted") == 0;
    w.setFixedSize(800, 600);
    w.show();
    const int status = app.exec();
    if (w.quitWhenPainted) {
        bench::writeMemoryReport(argv[2]);
    }
    return status;
}
