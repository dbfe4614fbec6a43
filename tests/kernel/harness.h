// Results of the checks run inside the VM: one line per failed check, the
// tables of agreements, and the closing count.
#ifndef TESTS_KERNEL_HARNESS_H
#define TESTS_KERNEL_HARNESS_H

#include <string>

namespace harness {

// Counts one check; prints it when it fails.
bool expect(bool ok, const std::string &name, const std::string &detail = {});

// One case of a table row: sent, and whether the other side agreed.
void roundTrip(const std::string &row, bool agreed);
void kernelDecoded(const std::string &row, bool agreed);
void oursDecoded(const std::string &row, bool agreed);

// Prints the tables and the closing "N passed, N failed" line; the exit
// code.
int finish();

} // namespace harness

#endif // TESTS_KERNEL_HARNESS_H
