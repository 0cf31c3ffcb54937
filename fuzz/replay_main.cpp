// Runs a fuzz target over its stored corpus, so the ordinary test run replays every
// input the fuzzer ever kept. Arguments: files or folders.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int replayed = 0;
    auto replay = [&replayed](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    };
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        if (fs::is_directory(path)) {
            for (const auto& entry : fs::recursive_directory_iterator(path)) {
                if (entry.is_regular_file())
                    replay(entry.path());
            }
        } else if (fs::is_regular_file(path)) {
            replay(path);
        } else {
            std::fprintf(stderr, "replay: no such corpus: %s\n", argv[i]);
            return 1;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "replay: the corpus is empty\n");
        return 1;
    }
    std::printf("replayed %d inputs\n", replayed);
    return 0;
}
