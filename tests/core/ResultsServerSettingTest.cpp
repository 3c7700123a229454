// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo.ini: the results server it sets, and the values it refuses.
#include "download/ResultsServerSetting.h"
#include "download/ResultsUpdate.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

// "host:port", or "refused".
std::string Server(std::string_view ini) {
    const ResultsServerSetting s = ParseResultsServerSetting(ini);
    EXPECT_EQ(s.ok, s.error.empty());
    return s.ok ? s.server.host + ":" + std::to_string(s.server.port) : "refused";
}

TEST(ResultsServerSetting, TakesTheLastServerOfItsSection) {
    const std::string builtIn = std::string(ResultsHost()) + ":80";
    const std::pair<std::string, std::string> cases[] = {
        {"", builtIn},
        {"[inne]\nserwer=inny.pl:81\n", builtIn},
        {"[wyniki]\nserwer=wyniki.example.pl", "wyniki.example.pl:80"},
        {"; komentarz\r\n[inne]\r\nserwer=a:1\r\n[ WYNIKI ]\r\n Serwer = 192.168.1.5:8080 \r\n", "192.168.1.5:8080"},
        {"\xEF\xBB\xBF[wyniki]\rserwer=[::1]:65535", "[::1]:65535"},
        {"[wyniki]\nserwer=a.pl:1\nserwer=b_c.pl\n", "b_c.pl:80"},
        {"[wyniki]\nserwer=\n", "refused"},
        {"[wyniki]\nserwer=http://wyniki.pl/\n", "refused"},
        {"[wyniki]\nserwer=wyniki.pl:\n", "refused"},
        {"[wyniki]\nserwer=wyniki.pl:0\n", "refused"},
        {"[wyniki]\nserwer=wyniki.pl:65536\n", "refused"},
        {"[wyniki]\nserwer=wyniki pl\n", "refused"},
        {"[wyniki]\nserwer=[::1\n", "refused"},
        {"[wyniki]\nserwer=::1\n", "refused"},
    };
    for (const auto& [ini, expected] : cases)
        EXPECT_EQ(Server(ini), expected) << ini;
}

} // namespace
} // namespace zg
