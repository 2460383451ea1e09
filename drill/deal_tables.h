#pragma once

#include <QColor>

#include <cstddef>
#include <optional>

// The fixed tables of a question's looks and of the draws, each value once.
namespace drill {

struct Rgb {
    int r, g, b;
    QColor colour() const { return QColor(r, g, b); }
};

// Colours of the study window.
inline constexpr Rgb kBoxBack{0, 192, 192};             // text boxes, frame, rows, counters
inline constexpr Rgb kQuestionText{128, 255, 255};      // the headword before its colour scale
inline constexpr Rgb kRowText{192, 255, 255};           // answer rows, normal
inline constexpr Rgb kRowHoverBack{51, 192, 192};       // answer row under the pointer
inline constexpr Rgb kRightAnswerText{44, 44, 238};     // the right row after a right answer
inline constexpr Rgb kVerdictText{255, 255, 0};         // the verdict line
inline constexpr Rgb kCalligraphyDark{193, 96, 49};     // picture buttons, normal look
inline constexpr Rgb kCalligraphyLight{234, 192, 172};  // picture buttons, hover look

/// One step of a font-size table: a measure above `above` takes `pointSize`.
struct SizeStep {
    int above;
    double pointSize;
};

/// Headword in `Text1`, by its length in characters.
inline constexpr SizeStep kHeadwordSizes[] = {{42, 19}, {34, 23}};
inline constexpr double kHeadwordSize = 26;
/// The right gloss on its row, by its byte length (two bytes per character).
inline constexpr SizeStep kRightGlossSizes[] = {{160, 10}, {130, 12}};
inline constexpr double kRightGlossSize = 14;
/// A distractor on its row (the driver and the re-deal), by its byte length.
inline constexpr SizeStep kDistractorSizes[] = {{160, 12}, {130, 13}};
inline constexpr double kDistractorSize = 14;

template <std::size_t N>
constexpr double sizeFor(const SizeStep (&steps)[N], double otherwise, int measure) {
    for (const SizeStep& step : steps) {
        if (measure > step.above) {
            return step.pointSize;
        }
    }
    return otherwise;
}

double headwordFontSize(int characters);
double rightGlossFontSize(int bytes);
double distractorFontSize(int bytes);

/// Text colour of the headword by the word's qmdelete: 10 to 20 exactly, then above 20.
struct DeletionStep {
    int qmdelete;
    Rgb colour;
};
inline constexpr DeletionStep kDeletionColourScale[] = {
    {10, {0, 110, 255}}, {11, {0, 100, 245}}, {12, {0, 90, 235}}, {13, {0, 80, 225}},
    {14, {0, 70, 215}},  {15, {0, 60, 205}},  {16, {0, 50, 195}}, {17, {0, 40, 185}},
    {18, {0, 30, 175}},  {19, {0, 20, 165}},  {20, {0, 10, 155}},
};
inline constexpr Rgb kDeletionAbove20{0, 0, 145};

/// The headword colour for a qmdelete value; nothing leaves the colour unchanged.
std::optional<QColor> deletionColour(double qmdelete);

/// A distractor whose row has a lower qmuse is drawn again by the driver.
inline constexpr int kDistractorMinUse = 22;

/// Random draws of a word or distractor that fail their filter are repeated at most this often;
/// then the candidates are scanned in order, so that a list without a qualifying row cannot
/// hang the window.
inline constexpr int kMaxDraws = 1000;

}  // namespace drill
