// A scripted study session on the real study window, for its peak memory:
//   bench_study_session PROGRAM_FOLDER SETTINGS_FOLDER ANSWERS REPORT_FILE
// opens the study window of a graded plan shown on the platform's screen, gives ANSWERS
// answers by clicks on the rows (every third one wrong) and writes its memory figures to
// REPORT_FILE. The clock is a fake one, so the pause after a right answer takes no time.
#include "bench/memory_report.h"
#include "drill/answer_row.h"
#include "drill/study_window.h"
#include "settings/keys.h"
#include "tests/support/fakes.h"
#include "ui/picture.h"

#include "core/real_services.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER SETTINGS_FOLDER ANSWERS REPORT_FILE\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    ui::installFontSubstitutions();
    core::Paths paths{argv[1], std::filesystem::path(argv[1]) / "no-maintainer-file"};
    settings::IniStore store(QString::fromLocal8Bit(argv[2]));
    store.write(settings::keys::modeWhichone, QStringLiteral("learn"));
    store.write(settings::keys::modeLearn, QStringLiteral("3000"));
    // The real draws and time of day; fakes for the rest.
    testing_support::WindowFakes fakes;
    const QStringList& failures = fakes.failure.messages;
    core::LocalTimeOfDay timeOfDay;
    core::MixingRandom random;
    const core::WindowServices services = testing_support::replaced(
        fakes.servicesOver(paths, store, random), {.timeOfDay = &timeOfDay});
    Form3 window(services);
    window.show();
    QApplication::processEvents();
    const int answers = std::atoi(argv[3]);
    for (int i = 0; i < answers && failures.isEmpty(); ++i) {
        int row = window.mChoiceSlot[0];
        if (i % 3 == 2) {
            row = row == 0 ? 1 : 0;
        }
        drill::AnswerRow* r = window.Option1[static_cast<size_t>(row)];
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
        QApplication::processEvents();
    }
    if (!failures.isEmpty()) {
        std::fprintf(stderr, "%s\n", failures.first().toLocal8Bit().constData());
        return 1;
    }
    bench::writeMemoryReport(argv[4]);
    return 0;
}
