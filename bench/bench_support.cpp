#include "bench/bench_support.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace bench {

ShippedCopy::ShippedCopy() {
    const std::filesystem::path shipped = std::filesystem::path(QM_BUILD_DIR) / "shipped";
    for (const char* name : {"qmlexi.dic", "fallible.dic", "falliblebak.dic"}) {
        std::filesystem::copy_file(shipped / name, folder() / name);
    }
}

}  // namespace bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
