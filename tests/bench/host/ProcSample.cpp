// Samples a Wine process from the Linux side: every few milliseconds one line
// "<CLOCK_REALTIME ns> <utime+stime ticks> <VmHWM kB> <wineserver ticks>".
// Under Wine every Windows process is a Linux process whose first command-line
// word is its Windows path, so the process is found by the file name of that
// word and by the WINEPREFIX in its environment (other Wine prefixes may be in
// use on the same machine). The prefix's wineserver is sampled beside it,
// since window-message traffic is served there and not in the process.
//   procsample <exe name> <wine prefix> <output file> [interval ms] [wait s]
#include <dirent.h>
#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

// The whole file, or what could be read of it: a process that ends while its
// /proc files are read makes the read fail, which simply ends the text.
std::string readWhole(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    std::fclose(file);
    return text;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool inPrefix(int pid, const std::string& prefix) {
    const std::string environment = readWhole("/proc/" + std::to_string(pid) + "/environ");
    const std::string wanted = "WINEPREFIX=" + prefix;
    for (size_t at = 0; at < environment.size();) {
        const size_t end = environment.find('\0', at);
        const std::string entry = environment.substr(at, end == std::string::npos ? end : end - at);
        if (entry == wanted) return true;
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return false;
}

// The file name of the first command-line word, lower case.
std::string programName(int pid) {
    const std::string commandLine = readWhole("/proc/" + std::to_string(pid) + "/cmdline");
    const std::string first = commandLine.substr(0, commandLine.find('\0'));
    const size_t slash = first.find_last_of("\\/");
    return lower(slash == std::string::npos ? first : first.substr(slash + 1));
}

int findProcess(const std::string& name, const std::string& prefix, bool server) {
    DIR* proc = opendir("/proc");
    int found = 0;
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        const int pid = std::atoi(entry->d_name);
        if (pid <= 0) continue;
        const std::string program = programName(pid);
        const bool match = server ? program.rfind("wineserver", 0) == 0 : program == name;
        if (match && inPrefix(pid, prefix)) {
            found = pid;
            break;
        }
    }
    if (proc) closedir(proc);
    return found;
}

// utime + stime in clock ticks, or -1 when the process is gone.
long long cpuTicks(int pid) {
    const std::string stat = readWhole("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    // Fields after the name start with the state (field 3); utime is field 14.
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) utime = std::atoll(field.c_str());
        if (number == 15) stime = std::atoll(field.c_str());
    }
    return utime + stime;
}

long long peakResidentKb(int pid) {
    std::istringstream status(readWhole("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6);
    }
    return -1;
}

long long realtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void pause(long milliseconds) {
    timespec delay{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&delay, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: procsample <exe name> <wine prefix> <output> [interval ms] [wait s]\n");
        return 2;
    }
    const std::string name = lower(argv[1]);
    const std::string prefix = argv[2];
    const long interval = argc > 4 ? std::atol(argv[4]) : 10;
    const long long waitNs = (argc > 5 ? std::atoll(argv[5]) : 120) * 1000000000LL;
    std::FILE* out = std::fopen(argv[3], "w");
    if (!out) return 2;
    int pid = 0;
    for (const long long giveUp = realtimeNs() + waitNs; !pid && realtimeNs() < giveUp; pause(2)) {
        pid = findProcess(name, prefix, false);
    }
    if (!pid) {
        std::fprintf(stderr, "procsample: %s did not start\n", argv[1]);
        return 1;
    }
    const int server = findProcess("", prefix, true);
    for (;;) {
        const long long now = realtimeNs();
        const long long ticks = cpuTicks(pid);
        const long long peak = peakResidentKb(pid);
        if (ticks < 0 || peak < 0) break;
        std::fprintf(out, "%lld %lld %lld %lld\n", now, ticks, peak, server ? cpuTicks(server) : -1);
        std::fflush(out);
        pause(interval);
    }
    std::fclose(out);
    return 0;
}
