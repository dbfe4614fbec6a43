// Replays fuzz inputs without libFuzzer: every file named on the command
// line, or every file in a directory named there, goes once through the
// target's entry function. A finding aborts, as it does under the fuzzer.
#include "fuzztarget.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

void replay(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes(
        (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char **argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto &entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    replay(entry.path());
                    ++files;
                }
            }
        } else {
            replay(path);
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    // A corpus that is missing or empty replays nothing and proves nothing.
    return files > 0 ? 0 : 1;
}
