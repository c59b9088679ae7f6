// tgd-bench-gen: writes the benchmark's data and operation streams into a
// directory, for running a case by hand with tgd-bench-host.
#include <cstdio>
#include <exception>
#include <string>

#include "common.h"
#include "workloads.h"

int main(int argc, char** argv) {
    tgdbench::Sizes sizes = tgdbench::Sizes::full();
    std::string dir, prolog = TGD_BENCH_PROLOG;
    bool bad = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--tiny")
            sizes = tgdbench::Sizes::tiny();
        else if (a == "--prolog" && i + 1 < argc)
            prolog = argv[++i];
        else if (dir.empty() && a[0] != '-')
            dir = a;
        else
            bad = true;
    }
    if (dir.empty() || bad) {
        std::fprintf(stderr, "usage: tgd-bench-gen [--tiny] [--prolog FILE] DIR\n");
        return 2;
    }
    try {
        tgdbench::generate({dir}, sizes, tgdbench::read_lines(prolog));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tgd-bench-gen: %s\n", e.what());
        return 1;
    }
    return 0;
}
