// Runs the benchmarks, then closes the last measured game before its working folder disappears.
#include "Stage.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    bench::CloseStage();
    benchmark::Shutdown();
    return 0;
}
