// Placeholder: filled by the evaluation part of the study window.
#include "drill/study_window.h"

void Form3::evaluateSeries() {}
