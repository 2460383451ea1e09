#pragma once

#include "settings/store.h"

// Every setting the program reads or writes, each named once.
namespace settings::keys {

inline constexpr Key modeWhichone{"qmword", "Mode", "whichone"};
inline constexpr Key modeLearn{"qmword", "Mode", "learn"};
inline constexpr Key modeTest{"qmword", "Mode", "test"};
inline constexpr Key modeDelete{"qmword", "Mode", "delete"};

inline constexpr Key checkWordNumber{"qmword", "check", "WordNumber"};
inline constexpr Key checkLearnedtime{"qmword", "check", "learnedtime"};
inline constexpr Key checkWordvol{"qmword", "check", "wordvol"};
inline constexpr Key checkTesttime{"qmword", "check", "testtime"};
inline constexpr Key checkFallible{"qmword", "check", "fallible"};
inline constexpr Key checkCombo{"qmword", "check", "combo"};
inline constexpr Key checkWordadded{"qmword", "check", "wordadded"};
inline constexpr Key checkBatprocess{"qmword", "check", "batprocess"};
inline constexpr Key checkQuillmoor{"qmword", "check", "quillmoor"};

inline constexpr Key autoFallible{"qmword", "auto", "fallible"};
inline constexpr Key autoDelete{"qmword", "auto", "delete"};
inline constexpr Key autoIautoflag{"qmword", "auto", "iautoflag"};

/// The speech switch: "true" once the preferred voice was found.
inline constexpr Key voiceSwitch{"qmgm", "voice", "1"};

/// Belongs to the sibling learning program; only read.
inline constexpr Key siblingProgram{"QuillMoor", "FileName", "25"};

}  // namespace settings::keys
