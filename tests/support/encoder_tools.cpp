#include "tests/support/encoder_tools.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quarnel::test {

bool run_quietly(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

bool tools_present(const std::string& tools) {
    std::istringstream names(tools);
    std::string name;
    while (names >> name) {
        if (!run_quietly("command -v " + name)) return false;
    }
    return true;
}

std::vector<std::uint8_t> read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> read_to_end(StreamOps& stream) {
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> buffer(65536);
    while (const std::size_t got = stream.read(buffer.data(), buffer.size())) {
        out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return out;
}

}  // namespace quarnel::test
