// The end of a full series: the verdict or the vocabulary estimate, the statistics of the
// vocabulary-size tests, and the resets for the next series.
#include "drill/answer_row.h"
#include "drill/study_window.h"
#include "drill/verdicts.h"
#include "settings/keys.h"

#include <QLabel>
#include <QLineEdit>

namespace keys = settings::keys;

void Form3::evaluateSeries() {
    settings::Store& store = mServices.store;
    Text1->clear();
    for (drill::AnswerRow* row : Option1) {
        row->setText(QString());
    }

    const bool isTest = store.read(keys::modeWhichone) == QLatin1String("test");
    const QString kindOrPlan = store.read(isTest ? keys::modeTest : keys::modeLearn);
    const drill::SeriesOutcome outcome =
        drill::judgeSeries(isTest, kindOrPlan, mFirstTryRight, mWordCount);
    if (outcome.message) {
        Label1->setText(*outcome.message);
    }
    if (outcome.estimate) {
        mVocabEstimate = *outcome.estimate;
        // Both statistics are folded from the values as they stood before this test.
        const drill::Statistics folded =
            drill::foldEstimate(store.read(keys::checkWordvol), store.read(keys::checkTesttime),
                                mVocabEstimate, outcome.weight);
        store.write(keys::checkWordvol, folded.wordvol);
        store.write(keys::checkTesttime, folded.testtime);
    }
    hideAllCells();

    for (drill::AnswerRow* row : Option1) {
        row->setChecked(false);
    }
    for (drill::AnswerRow* row : Option1) {
        row->setEnabled(true);
    }
    // The answer handler counts the last answer after this call: the next series starts at 1.
    mQuestionNo = 0;
    mFirstTryRight = 0;
}
