#pragma once

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

// Byte-exact captures of the commands' output (tests/fixtures).
inline std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ZSR_FIXTURE_DIR) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + name);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A capture cut into its CR LF records, each one a chunk as the pump may deliver it.
inline std::vector<std::string> FixtureLines(const std::string& name)
{
    const std::string all = Fixture(name);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find("\r\n", start);
        end = end == std::string::npos ? all.size() : end + 2;
        lines.push_back(all.substr(start, end - start));
        start = end;
    }
    return lines;
}
