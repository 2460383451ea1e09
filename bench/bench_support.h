#pragma once

#include "core/real_services.h"
#include "core/window_services.h"
#include "tests/support/fakes.h"

#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

namespace bench {

/// The number of words of the full shipped vocabulary.
inline constexpr int kFullVocabulary = 15374;

/// Lays the shipped database files into `folder`. While the shipped word database holds fewer
/// words than the full vocabulary, synthetic words (the same mix of parts of speech and verb
/// forms) fill its table up to that size, so that every figure is taken on a table of the
/// real size; a note on stderr says so once.
void layShippedFiles(const std::filesystem::path& folder);

/// The rows of the word table that layShippedFiles lays.
int laidWordCount();

/// A private copy of the shipped word database (and empty lists) in a temporary program
/// folder, so that benchmarks never touch the build's own files.
class ShippedCopy {
  public:
    ShippedCopy();
    std::filesystem::path folder() const { return dir_.path().toStdString(); }
    std::filesystem::path file(const char* name) const { return folder() / name; }

  private:
    QTemporaryDir dir_;
};

/// The services of a window over fakes and a copy of the shipped files, with the program's
/// own random generator so that the draws spread as they do for a learner. Speech is off:
/// the speech switch is never set.
struct Services {
    Services();
    testing_support::FakeServices fake;
    core::MixingRandom random;
    core::WindowServices services();
};

/// Peak resident memory (kB) and wall time (ms) of one child process run to its end.
struct ChildRun {
    long peakKb = 0;
    double ms = 0;
    int status = 0;
};

/// Starts a program with arguments, `env` added to this one's environment, without waiting.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});

/// Runs a program with arguments to its end and measures it.
ChildRun runChild(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});

/// The folder of the benchmark executable (its helper programs lie beside it).
std::filesystem::path benchFolder();

}  // namespace bench
