#pragma once

#include "core/services.h"

namespace app {

/// Starts a batch file with the shell, its output thrown away, without waiting for it. The
/// shell is started without copying the program first (the program does not wait for a copy
/// of itself to be made and replaced), in a session of its own; its end is collected in the
/// background.
class SpawnLauncher final : public core::Launcher {
  public:
    bool startHidden(const QString& file) override;
};

}  // namespace app
