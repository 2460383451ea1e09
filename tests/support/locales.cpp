#include "tests/support/locales.h"

#include <QByteArray>
#include <QtGlobal>

#include <clocale>

namespace testing_support {

namespace {

// The folder the build makes the locales in (see this folder's CMakeLists.txt).
constexpr char kBuiltLocales[] = QM_BUILD_DIR "/locale";

// glibc looks only in LOCPATH, and no longer in the system's locale archive, while it is set;
// so it is set just for as long as a look-up there needs it.
class LocalePath {
  public:
    LocalePath() : before_(qgetenv("LOCPATH")), wasSet_(qEnvironmentVariableIsSet("LOCPATH")) {
        qputenv("LOCPATH", kBuiltLocales);
    }
    ~LocalePath() {
        if (!kept_) {
            wasSet_ ? qputenv("LOCPATH", before_) : qunsetenv("LOCPATH");
        }
    }
    LocalePath(const LocalePath&) = delete;
    LocalePath& operator=(const LocalePath&) = delete;

    void keep() { kept_ = true; }

  private:
    QByteArray before_;
    bool wasSet_;
    bool kept_ = false;
};

}  // namespace

bool setLocale(int category, const char* name) {
    if (std::setlocale(category, name) != nullptr) {
        return true;
    }
    LocalePath built;
    return std::setlocale(category, name) != nullptr;
}

void takeMissingLocaleFromBuild() {
    if (std::setlocale(LC_ALL, "") != nullptr || qEnvironmentVariableIsSet("LOCPATH")) {
        return;
    }
    LocalePath built;
    if (std::setlocale(LC_ALL, "") != nullptr) {
        built.keep();
    }
}

}  // namespace testing_support
