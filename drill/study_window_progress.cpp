// Placeholder: filled by the progress part of the study window.
#include "drill/study_window.h"

void Form3::ShowProgress() {}
