// Feeds every file named on the command line, and every file in a directory named there, to the
// fuzz target once, so that a corpus replays as a test in builds without libFuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path &path)
{
    if (!std::filesystem::is_directory(path))
        return { path };
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::ranges::sort(files);
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto &file : inputsIn(argv[i])) {
            std::ifstream stream(file, std::ios::binary);
            if (!stream) {
                std::fprintf(stderr, "Cannot read %s\n", file.c_str());
                return 1;
            }
            const std::vector<char> bytes { std::istreambuf_iterator<char>(stream), {} };
            // Named first, so that the input behind an abort is the last one in the log.
            std::printf("%s\n", file.c_str());
            std::fflush(stdout);
            // An exactly sized copy, as libFuzzer makes, so that AddressSanitizer sees a read past
            // the end of the input.
            const auto input = std::make_unique<std::uint8_t[]>(bytes.size());
            std::copy(bytes.begin(), bytes.end(), input.get());
            LLVMFuzzerTestOneInput(input.get(), bytes.size());
            ++replayed;
        }
    }
    std::printf("Replayed %zu inputs\n", replayed);
    // A mistyped or empty corpus must not pass for a clean one.
    return replayed > 0 ? 0 : 1;
}
