// The floor under pelorin-decode's CPU time: reads a file in 1 MB blocks and, as it goes, writes
// as many bytes to standard output as the decoder's output holds, doing nothing else.
//   read_write_floor FILE OUTPUT_BYTES
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: read_write_floor FILE OUTPUT_BYTES\n", stderr);
        return 2;
    }
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    const int fd = ::open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_size == 0) {
        std::perror(argv[1]);
        return 1;
    }
    const long long outputBytes = std::atoll(argv[2]);
    std::vector<char> in(kBlock);
    std::vector<char> out(kBlock, 'x');
    long long read = 0;
    long long written = 0;
    for (ssize_t n; (n = ::read(fd, in.data(), in.size())) > 0;) {
        read += n;
        // Output in proportion to the input read, in blocks of up to 1 MB.
        const long long due = outputBytes * read / st.st_size;
        while (written < due) {
            const auto size = static_cast<std::size_t>(std::min<long long>(due - written, kBlock));
            if (::write(STDOUT_FILENO, out.data(), size) != static_cast<ssize_t>(size)) {
                return 1;
            }
            written += static_cast<long long>(size);
        }
    }
    ::close(fd);
    return written == outputBytes ? 0 : 1;
}
