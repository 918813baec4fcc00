// The yardstick for a click: only writing the same bytes beside the document, fsync and
// rename, with none of the program around it. Prints the median of many runs in
// microseconds.
// Usage: bare-write FILE FOLDER [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bare-write FILE FOLDER [RUNS]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    const std::string folder = argv[2];
    const int runs = argc > 3 ? std::stoi(argv[3]) : 50;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::string temporary = folder + "/.bare-write";
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            fsync(fd) != 0 || close(fd) != 0 ||
            rename(temporary.c_str(), (folder + "/bare.doc").c_str()) != 0) {
            std::perror("bare-write");
            return 1;
        }
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%.0f\n", times[times.size() / 2]);
    return 0;
}
