// Turns the raw records of a benchmark run into figures.
//   benchcalc cpu <samples> <tool log>
//       processor use of the sampled process between the first tool's start
//       and the last tool's end: prints "cpu_s wall_s tools_s server_cpu_s
//       peak_kb", the processor seconds read by linear interpolation between
//       the samples around both ends of that interval.
//   benchcalc gaps <tool log>
//       the time in ms from the end of each tool to the start of the next.
//   benchcalc stats <number>...
//       "median min max" of the numbers.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    std::string name;
    double startNs;
    double endNs;
};

struct Sample {
    double timeNs;
    double ticks;
    double peakKb;
    double serverTicks;
};

std::vector<ToolRun> readToolLog(const char* path) {
    std::ifstream in(path);
    std::vector<ToolRun> runs;
    ToolRun run;
    while (in >> run.name >> run.startNs >> run.endNs) runs.push_back(run);
    std::sort(runs.begin(), runs.end(),
              [](const ToolRun& a, const ToolRun& b) { return a.startNs < b.startNs; });
    return runs;
}

std::vector<Sample> readSamples(const char* path) {
    std::ifstream in(path);
    std::vector<Sample> samples;
    Sample sample{};
    while (in >> sample.timeNs >> sample.ticks >> sample.peakKb >> sample.serverTicks) {
        samples.push_back(sample);
    }
    return samples;
}

// A sampled counter at a moment, interpolated between the samples around it.
double at(const std::vector<Sample>& samples, double timeNs, double Sample::*counter) {
    if (timeNs <= samples.front().timeNs) return samples.front().*counter;
    for (size_t i = 1; i < samples.size(); ++i) {
        const Sample& before = samples[i - 1];
        const Sample& after = samples[i];
        if (timeNs <= after.timeNs) {
            const double share = (timeNs - before.timeNs) / (after.timeNs - before.timeNs);
            return before.*counter + share * (after.*counter - before.*counter);
        }
    }
    return samples.back().*counter;
}

int cpu(const char* samplePath, const char* logPath) {
    const std::vector<ToolRun> runs = readToolLog(logPath);
    const std::vector<Sample> samples = readSamples(samplePath);
    if (runs.empty() || samples.size() < 2) {
        std::fprintf(stderr, "benchcalc: no tool runs or too few samples\n");
        return 1;
    }
    double first = runs.front().startNs, last = runs.front().endNs, toolsNs = 0;
    for (const ToolRun& run : runs) {
        last = std::max(last, run.endNs);
        toolsNs += run.endNs - run.startNs;
    }
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    const double cpuS = (at(samples, last, &Sample::ticks) - at(samples, first, &Sample::ticks)) / tick;
    const double serverS =
        (at(samples, last, &Sample::serverTicks) - at(samples, first, &Sample::serverTicks)) / tick;
    std::printf("%.4f %.4f %.4f %.4f %.0f\n", cpuS, (last - first) / 1e9, toolsNs / 1e9, serverS,
                samples.back().peakKb);
    return 0;
}

int gaps(const char* logPath) {
    const std::vector<ToolRun> runs = readToolLog(logPath);
    for (size_t i = 1; i < runs.size(); ++i) {
        std::printf("%.3f\n", (runs[i].startNs - runs[i - 1].endNs) / 1e6);
    }
    return runs.size() < 2 ? 1 : 0;
}

int stats(int count, char** numbers) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) values.push_back(std::atof(numbers[i]));
    if (values.empty()) return 1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    const double median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    std::printf("%g %g %g\n", median, values.front(), values.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "cpu" && argc == 4) return cpu(argv[2], argv[3]);
    if (mode == "gaps" && argc == 3) return gaps(argv[2]);
    if (mode == "stats") return stats(argc - 2, argv + 2);
    std::fprintf(stderr, "usage: benchcalc cpu <samples> <tool log> | gaps <tool log> | stats <n>...\n");
    return 2;
}
