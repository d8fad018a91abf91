// corvane_bench's start: each benchmark starts from the same state whatever
// ran before it, in a process of its own (RunEachAlone), with its own window,
// the pictures' cache set for it, Qt's pixmap cache emptied, and the heap's
// thresholds fixed at start-up as the program fixes them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/HeapSettings.h"

namespace {

// Whatever one benchmark leaves in the process (the allocator's thresholds
// and free lists after a window with a long undo history was destroyed, Qt's
// caches, the module's statics) must not change the next one's figure: each
// benchmark runs in a process of its own, started afresh from this one.
// --in_one_process runs them all here, one after the other, as before.
std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs this program again with `arguments` and the given standard error;
// returns its exit status and leaves its standard output in `output`.
int RunAgain(const std::vector<std::string>& arguments, const char* standardError,
             std::string& output) {
    // This program's own file: in the shell, /proc/self/exe would be the shell.
    static const std::string self = [] {
        char path[4096];
        const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
        return std::string(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    }();
    std::string command = Quoted(self);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    command += std::string(" 2>") + standardError;
    std::FILE* child = ::popen(command.c_str(), "r");
    if (!child) return -1;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, child)) > 0) output.append(buffer, read);
    return ::pclose(child);
}

std::string RegexQuoted(const std::string& name) {
    std::string quoted = "^";
    for (const char c : name) {
        if (std::strchr(".^$|()[]{}*+?\\", c)) quoted += '\\';
        quoted += c;
    }
    return quoted + "$";
}

int RunEachAlone(const std::vector<std::string>& arguments) {
    std::string listing;
    std::vector<std::string> listArguments = arguments;
    listArguments.push_back("--benchmark_list_tests=true");
    if (RunAgain(listArguments, "&2", listing) != 0) return 1;
    std::vector<std::string> rest;
    for (const std::string& argument : arguments) {
        if (argument.rfind("--benchmark_filter", 0) != 0) rest.push_back(argument);
    }
    int status = 0;
    bool first = true;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string::npos) end = listing.size();
        const std::string name = listing.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        std::vector<std::string> one = rest;
        one.push_back("--benchmark_filter=" + RegexQuoted(name));
        std::string output;
        // The machine's description once, on the first benchmark's error output.
        if (RunAgain(one, first ? "&2" : "/dev/null", output) != 0) status = 1;
        // The table's heading once too.
        std::size_t line = 0;
        while (line < output.size()) {
            std::size_t lineEnd = output.find('\n', line);
            if (lineEnd == std::string::npos) lineEnd = output.size() - 1;
            const std::string text = output.substr(line, lineEnd - line + 1);
            line = lineEnd + 1;
            if (!first && (text.rfind("---", 0) == 0 || text.rfind("Benchmark ", 0) == 0)) continue;
            std::fputs(text.c_str(), stdout);
        }
        std::fflush(stdout);
        first = false;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    KeepHeapThresholdsSteady();  // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<std::string> arguments;
    bool inOneProcess = qEnvironmentVariableIsSet("CORVANE_BENCH_ONE_PROCESS");
    bool listOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--in_one_process") {
            inOneProcess = true;
            continue;
        }
        if (argument.rfind("--benchmark_list_tests", 0) == 0) listOnly = true;
        arguments.push_back(argument);
    }
    if (!inOneProcess && !listOnly) {
        // The processes started from here run their benchmark in themselves.
        qputenv("CORVANE_BENCH_ONE_PROCESS", "1");
        return RunEachAlone(arguments);
    }
    std::vector<char*> remaining{argv[0]};
    for (std::string& argument : arguments) remaining.push_back(argument.data());
    int remainingCount = static_cast<int>(remaining.size());
    QApplication application(remainingCount, remaining.data());
    benchmark::Initialize(&remainingCount, remaining.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
