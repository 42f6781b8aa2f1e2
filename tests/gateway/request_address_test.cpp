#include "gateway/request_address.h"

#include <gtest/gtest.h>

#include <string>

namespace quorlex {
namespace {

struct AddressCase {
  const char16_t* address;
  bool other;
};

TEST(RequestAddress, OnlyAnotherSchemeThanHttpIsRefused) {
  for (const AddressCase& c : {AddressCase{u"http://gateway/rpc/quorlex/", false},
                               AddressCase{u"HTTPS://gateway:8443/rpc/quorlex/", false},
                               AddressCase{u"/rpc/quorlex/", false},  // an empty stored address
                               AddressCase{u"gateway/rpc/quorlex/", false},
                               AddressCase{u"127.0.0.1:8080/rpc/quorlex/", false},  // no scheme begins with a digit
                               AddressCase{u"", false},
                               AddressCase{u"ftp://gateway/rpc/quorlex/", true},
                               AddressCase{u"file:///C:/windows/win.ini", true},
                               AddressCase{u"httpx://gateway/", true},
                               AddressCase{u"gateway:8080/rpc/quorlex/", true},  // read as the scheme "gateway"
                               AddressCase{u"svn+ssh://gateway/", true}}) {
    EXPECT_EQ(namesOtherScheme(c.address), c.other) << std::string(c.address, c.address + std::char_traits<char16_t>::length(c.address));
  }
}

}  // namespace
}  // namespace quorlex
