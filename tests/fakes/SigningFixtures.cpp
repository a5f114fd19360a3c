#include "fakes/SigningFixtures.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orvanta {

ByteVector SigningFixture(const std::string& name) {
    const std::string path = std::string(ORVANTA_SIGNING_FIXTURES) + "/" + name;
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error(path + " is missing: ctest makes it (test SigningFixtures) before the Signed* tests");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string SigningFixtureText(const std::string& name) {
    const ByteVector bytes = SigningFixture(name);
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

} // namespace orvanta
