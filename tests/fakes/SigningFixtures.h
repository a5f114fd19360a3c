#pragma once
// The certificates and signed images that tests/signing/make-fixtures.sh makes
// with openssl and osslsigncode before the tests whose suites start with
// "Signed" (the CTest fixture SigningFixtures).
#include <string>

#include "fakes/FirmwareBytes.h"

namespace orvanta {

// The bytes of a file the fixture made; fails the test (throws) when it is missing.
ByteVector SigningFixture(const std::string& name);

// The fixture's text file without its last line end.
std::string SigningFixtureText(const std::string& name);

} // namespace orvanta
