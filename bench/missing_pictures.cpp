// How long "Create pub" takes to find the pages that name no picture in the
// largest list: 32,767 pages, pictures that exist and pictures that do not,
// mixed, in a folder of its own under the system's temporary folder.
//   bench_missing_pictures [runs]
#include "window/missing_pictures.h"
#include "runtime/system.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const fs::path folder =
        fs::temp_directory_path() / ("lumvrex-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder / "Viaje a Cádiz");

    // Three pages in four name a picture that exists; the rest do not, and
    // every hundredth names the folder.
    std::vector<std::string> entries;
    std::size_t expected = 0;
    for (int i = 0; i < 32767; ++i) {
        const fs::path picture =
            folder / "Viaje a Cádiz" / ("foto de la playa " + std::to_string(i) + ".jpg");
        if (i % 100 == 0) {
            entries.push_back(lumvrex::utf8FromPath(folder / "Viaje a Cádiz"));
            ++expected;
            continue;
        }
        if (i % 4 != 3)
            std::ofstream(picture).put('x');
        else
            ++expected;
        entries.push_back(lumvrex::utf8FromPath(picture));
    }

    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<lumvrex::MissingPicture> missing = lumvrex::missingPictures(entries);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (missing.size() != expected) {
            std::fprintf(stderr, "found %zu pages without a picture, not %zu\n", missing.size(), expected);
            return 1;
        }
    }
    fs::remove_all(folder);
    std::sort(times.begin(), times.end());
    std::printf(
        "check of 32767 pages (%zu name no picture): median %.1f ms, best %.1f ms, worst %.1f ms (%d runs; "
        "goal: well under a second)\n",
        expected, times[times.size() / 2], times.front(), times.back(), runs);
    return 0;
}
