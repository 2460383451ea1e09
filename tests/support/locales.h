#pragma once

namespace testing_support {

/// Sets `category` of the process to the locale `name` ("de_DE.UTF-8"): one the system has,
/// else one the build made for the tests (zh_CN.UTF-8, zh_TW.UTF-8 and de_DE.UTF-8, in the
/// build tree). False when neither has it; the category is then left as it was.
bool setLocale(int category, const char* name);

/// A run started in a locale that the system lacks (the learners' zh_CN.UTF-8 on a machine
/// that has only C) takes it from the locales the build made, for itself and the programs it
/// starts, so the tests meet that locale for real instead of falling back to C.
void takeMissingLocaleFromBuild();

}  // namespace testing_support
