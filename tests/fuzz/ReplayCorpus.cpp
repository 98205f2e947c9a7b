// Runs a fuzz target over every file of its corpus directories, in name order, the way libFuzzer
// would run each of them once. Fails when a directory holds no input, so a lost corpus is noticed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& directory)
{
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<uint8_t> bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::filesystem::path> inputs = inputsOf(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "%s holds no input\n", argv[i]);
            return 1;
        }
        for (const auto& input : inputs) {
            const std::vector<uint8_t> bytes = bytesOf(input);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
        std::printf("%s: %zu inputs replayed\n", argv[i], inputs.size());
    }
    return 0;
}
