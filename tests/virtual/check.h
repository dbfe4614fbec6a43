// A small test harness for the threaded adapter tests. They run under
// ThreadSanitizer, where QtTest's own watchdog thread (whose end Qt signals
// through a mutex the sanitizer cannot see) would be reported at exit, so
// these tests do without QtTest.
#ifndef TESTS_VIRTUAL_CHECK_H
#define TESTS_VIRTUAL_CHECK_H

#include <cstddef>
#include <string>

namespace check {

struct Test
{
    const char *name;
    void (*run)();
};

// Records a failed check of the running test.
void fail(const char *file, int line, const std::string &what);

// Runs the tests in order, `cleanup` after each; prints one line per test
// and the closing "N passed, N failed" line. Returns the exit code.
int runAll(const Test *tests, size_t count, void (*cleanup)());

} // namespace check

#define CHECK2(cond, message)                                                                      \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            check::fail(__FILE__, __LINE__, std::string(#cond) + " " + (message));                 \
            return;                                                                                \
        }                                                                                          \
    } while (false)

#define CHECK(cond) CHECK2(cond, "")

#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        if (!((actual) == (expected))) {                                                           \
            check::fail(__FILE__, __LINE__, std::string(#actual) + " != " + #expected);            \
            return;                                                                                \
        }                                                                                          \
    } while (false)

#endif // TESTS_VIRTUAL_CHECK_H
