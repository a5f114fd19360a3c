#pragma once
// The version of the running Windows, as the system reports it to this program.
#include <cstdint>

namespace orvanta {

class VersionQuery {
public:
    virtual ~VersionQuery() = default;
    // The major version the system reports; 0 when the query fails.
    virtual std::uint32_t majorVersion() = 0;
};

} // namespace orvanta
