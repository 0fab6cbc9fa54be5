// Replays every stored input of one fuzz target through it: the seed
// corpus and every input that once failed. Any crash or sanitizer report
// fails the test; built with any compiler, so that the plain test run
// repeats what the fuzzers found.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path folder(argv[i]);
        if (!fs::is_directory(folder))
            continue;
        std::vector<fs::path> files;
        for (const auto &entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path &file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            fprintf(stderr, "%s\n", file.c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
            ++count;
        }
    }
    printf("Replayed %d inputs\n", count);
    // An empty corpus means the folders were not found: that is a fault.
    return count > 0 ? 0 : 1;
}
