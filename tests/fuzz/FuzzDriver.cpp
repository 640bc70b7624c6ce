// Stand-alone driver for the fuzz targets when libFuzzer is not at hand:
// replays every seed of the corpus folder, then feeds mutated seeds (byte
// flips, insertions, deletions, splices, repeated runs) for the given number
// of seconds. The random sequence is fixed, so a failure repeats.
//   <target> <corpus folder> [seconds]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::string> ReadCorpus(const std::filesystem::path& folder)
{
    std::vector<std::string> seeds;
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

void Run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string Mutate(std::string input, const std::vector<std::string>& seeds, std::mt19937& random)
{
    static const char kInteresting[] = "\0\n\r\t \"'\\{}[]<>,;=#%$*?/.:-0123456789";
    std::uniform_int_distribution<int> operations(0, 6);
    const int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
        const std::size_t size = input.size();
        const std::size_t at = size ? random() % size : 0;
        switch (operations(random)) {
        case 0:
            if (size) input[at] = static_cast<char>(input[at] ^ (1u << (random() % 8)));
            break;
        case 1:
            input.insert(at, 1, kInteresting[random() % (sizeof kInteresting - 1)]);
            break;
        case 2:
            if (size) input.erase(at, 1 + random() % std::min<std::size_t>(size - at, 16));
            break;
        case 3:
            if (!seeds.empty()) {
                const std::string& other = seeds[random() % seeds.size()];
                if (!other.empty()) {
                    const std::size_t from = random() % other.size();
                    input.insert(at, other, from, 1 + random() % (other.size() - from));
                }
            }
            break;
        case 4:
            if (size) input.insert(at, std::string(1 + random() % 64, input[at]));
            break;
        case 5:
            if (size) input.resize(at);
            break;
        default:
            if (size > 1) std::swap(input[at], input[random() % size]);
            break;
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder> [seconds]\n", argv[0]);
        return 2;
    }
    const std::vector<std::string> seeds = ReadCorpus(argv[1]);
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;
    for (const std::string& seed : seeds) Run(seed);
    Run(std::string());

    std::mt19937 random(20081984);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::size_t runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        const std::string base = seeds.empty() ? std::string() : seeds[random() % seeds.size()];
        Run(Mutate(base, seeds, random));
        ++runs;
    }
    std::printf("%zu seeds replayed, %zu mutated inputs run\n", seeds.size(), runs);
    return 0;
}
