#include "check.h"

#include <cstdio>

namespace check {

namespace {
bool failed = false;
}

void fail(const char *file, int line, const std::string &what)
{
    failed = true;
    std::printf("  FAIL %s:%d: %s\n", file, line, what.c_str());
}

int runAll(const Test *tests, size_t count, void (*cleanup)())
{
    int passed = 0;
    int failures = 0;
    for (size_t i = 0; i < count; ++i) {
        failed = false;
        tests[i].run();
        if (cleanup)
            cleanup();
        std::printf("%s %s\n", failed ? "FAIL" : "PASS", tests[i].name);
        std::fflush(stdout);
        failed ? ++failures : ++passed;
    }
    std::printf("%d passed, %d failed\n", passed, failures);
    return failures == 0 ? 0 : 1;
}

} // namespace check
