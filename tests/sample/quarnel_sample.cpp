// quarnel-sample FILE: writes the built-in sample program stream to FILE.

#include <cstdio>
#include <fstream>

#include "support/sample_stream.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: quarnel-sample FILE.mpg\n", stderr);
        return 2;
    }
    const auto bytes = quarnel::test::sample_program_stream();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "quarnel-sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
