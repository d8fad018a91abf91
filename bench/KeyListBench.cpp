// The key description parser and the key list reader on long input: both must
// cost the length of what they read, never its square.
#include <benchmark/benchmark.h>

#include <QString>

#include "core/CorvaneError.h"
#include "keys/KeyListFile.h"
#include "keys/mdlKeycodes.h"

namespace {

QString ModifierRun(int modifiers, const char* key) {
    QString description;
    for (int i = 0; i < modifiers; ++i) description += QStringLiteral("Ctrl+");
    return description + QLatin1String(key);
}

// Up to the longest description the parser reads: 51 modifiers and a key.
void ParseModifierRun(benchmark::State& state) {
    const QString description = ModifierRun(static_cast<int>(state.range(0)), "A");
    for (auto _ : state) benchmark::DoNotOptimize(mdlKeycodes::ParseKeyDescription(description));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ParseModifierRun)->DenseRange(3, 51, 8)->Complexity(benchmark::oN);

// A megabyte line of a key list: refused without being read.
void RefuseMegabyteDescription(benchmark::State& state) {
    const QString description = ModifierRun(200000, "A");
    for (auto _ : state) {
        try {
            mdlKeycodes::ParseKeyDescription(description);
        } catch (const CorvaneError& error) {
            benchmark::DoNotOptimize(error.Description());
        }
    }
}
BENCHMARK(RefuseMegabyteDescription);

// Lines ending in a lone CR, as the reader once lost them.
void ReadRecords(benchmark::State& state) {
    QByteArray text;
    for (int i = 0; i < state.range(0); ++i)
        text += QStringLiteral("\t\"CTRL+F%1 key\",\t\"All\",\t\"/data/birds/\"\r")
                    .arg(i % 16 + 1)
                    .toUtf8();
    for (auto _ : state) benchmark::DoNotOptimize(KeyListFile::ReadRecords(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadRecords)->RangeMultiplier(10)->Range(100, 100000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
