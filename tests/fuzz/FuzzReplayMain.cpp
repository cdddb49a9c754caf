// The main of a fuzz target outside a libFuzzer build: runs every input
// named on the command line (files, or folders whose files are taken in name
// order) through LLVMFuzzerTestOneInput once. The corpus is committed and
// each input is small, so a replay is bounded; a failing input crashes the
// run under the sanitizers like it would under the fuzzer.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// Inputs larger than this are not taken: the fuzzer never makes them (its
// default -max_len is far below), so one would be a stray file.
constexpr std::uintmax_t kMaxInput = 16u << 20;

bool ReadFile(const std::filesystem::path& p, std::vector<uint8_t>& out)
{
    std::ifstream f(p, std::ios::binary);
    if (!f) return false;
    out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

}   // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        fs::path p(argv[i]);
        std::error_code ec;
        if (fs::is_directory(p, ec)) {
            std::vector<fs::path> files;
            for (const auto& e : fs::directory_iterator(p, ec))
                if (e.is_regular_file()) files.push_back(e.path());
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (fs::is_regular_file(p, ec)) {
            inputs.push_back(p);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> data;
    for (const fs::path& p : inputs) {
        std::error_code ec;
        if (fs::file_size(p, ec) > kMaxInput || ec || !ReadFile(p, data)) {
            std::fprintf(stderr, "cannot read input: %s\n", p.c_str());
            return 2;
        }
        // A heap copy of exactly the input's size (never a null pointer, as
        // the fuzzer hands it), so reading one byte past it is a sanitizer
        // report as under the fuzzer.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[data.size()]);
        std::copy(data.begin(), data.end(), exact.get());
        LLVMFuzzerTestOneInput(exact.get(), data.size());
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("replayed %zu inputs in %.2f s\n", inputs.size(), secs);
    return 0;
}
