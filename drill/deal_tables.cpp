#include "drill/deal_tables.h"

namespace drill {

double headwordFontSize(int characters) {
    return sizeFor(kHeadwordSizes, kHeadwordSize, characters);
}

double rightGlossFontSize(int bytes) {
    return sizeFor(kRightGlossSizes, kRightGlossSize, bytes);
}

double distractorFontSize(int bytes) {
    return sizeFor(kDistractorSizes, kDistractorSize, bytes);
}

std::optional<QColor> deletionColour(double qmdelete) {
    for (const DeletionStep& step : kDeletionColourScale) {
        if (qmdelete == step.qmdelete) {
            return step.colour.colour();
        }
    }
    if (qmdelete > 20) {
        return kDeletionAbove20.colour();
    }
    return std::nullopt;
}

}  // namespace drill
