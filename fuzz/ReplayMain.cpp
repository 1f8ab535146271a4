// Runs the target once on each file of the given corpus folder.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int, char *argv[])
{
    int inputs = 0;
    for (const auto &input : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream file(input.path(), std::ios::binary);
        // An exact copy: AddressSanitizer sees a read past its end.
        const std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(file), {} };
        std::cout << input.path() << std::endl;
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++inputs;
    }
    return inputs == 0; // an empty or mistyped corpus must not pass
}
