// Placeholder: filled by the answer part of the study window.
#include "drill/study_window.h"

void Form3::Option1_MouseUp(int index) {
    (void)index;
}
